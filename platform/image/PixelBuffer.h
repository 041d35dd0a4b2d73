// The memory of a decoded image's pixels. Large buffers come straight from
// mmap with transparent huge pages requested: a strip of 100 MB would
// otherwise take tens of thousands of page faults while the decoder fills it.
// The bytes are not initialised; the decoder writes every one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv::image {

class PixelBuffer {
public:
    PixelBuffer() = default;
    ~PixelBuffer() { Reset(); }
    PixelBuffer(PixelBuffer&& other) noexcept : m_data(other.m_data), m_size(other.m_size), m_mapped(other.m_mapped) {
        other.m_data = nullptr;
        other.m_size = 0;
    }
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    // False when the memory cannot be had.
    bool Allocate(size_t size);
    void Reset();

    uint8_t* get() const { return m_data; }
    explicit operator bool() const { return m_data != nullptr; }

private:
    uint8_t* m_data = nullptr;
    size_t m_size = 0;
    bool m_mapped = false;
};

}  // namespace orv::image
