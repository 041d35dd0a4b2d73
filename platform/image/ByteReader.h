// Bounds-checked reading of a byte range: every read says whether the bytes
// were there, and nothing is ever read past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orv::image {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size, bool bigEndian = false)
        : m_data(data), m_size(size), m_bigEndian(bigEndian) {}

    size_t Size() const { return m_size; }
    const uint8_t* Data() const { return m_data; }
    void SetBigEndian(bool big) { m_bigEndian = big; }
    bool BigEndian() const { return m_bigEndian; }

    // True when count bytes start at offset inside the range (no overflow).
    bool Has(size_t offset, size_t count) const { return offset <= m_size && count <= m_size - offset; }

    bool U8(size_t offset, uint8_t* v) const {
        if (!Has(offset, 1)) return false;
        *v = m_data[offset];
        return true;
    }
    bool U16(size_t offset, uint16_t* v) const {
        if (!Has(offset, 2)) return false;
        const uint8_t* p = m_data + offset;
        *v = m_bigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
        return true;
    }
    bool U32(size_t offset, uint32_t* v) const {
        if (!Has(offset, 4)) return false;
        const uint8_t* p = m_data + offset;
        *v = m_bigEndian ? (uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3])
                         : (uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
        return true;
    }
    // Big-endian regardless of the reader's order (PNG's numbers).
    bool U32BE(size_t offset, uint32_t* v) const {
        if (!Has(offset, 4)) return false;
        const uint8_t* p = m_data + offset;
        *v = uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    bool m_bigEndian;
};

}  // namespace orv::image
