#include "ExifIfd.h"

#include <algorithm>

#include "ByteReader.h"

namespace orv::image {
namespace {

// Bytes per component of each TIFF field type; 0 for unknown types.
uint32_t TypeSize(uint16_t type) {
    switch (type) {
        case 1: case 2: case 6: case 7: return 1;   // BYTE ASCII SBYTE UNDEFINED
        case 3: case 8: return 2;                    // SHORT SSHORT
        case 4: case 9: case 11: case 13: return 4;  // LONG SLONG FLOAT IFD
        case 5: case 10: case 12: return 8;          // RATIONAL SRATIONAL DOUBLE
        default: return 0;
    }
}

// The size of the numbers a value is made of, for turning byte order.
uint32_t SwapUnit(uint16_t type) {
    switch (type) {
        case 5: case 10: return 4;  // two 32-bit numbers each
        default: return TypeSize(type);
    }
}

constexpr uint16_t kMaxEntries = 4096;

}  // namespace

bool ReadIfd0Items(const uint8_t* block, size_t size, Decoded* out) {
    ByteReader r(block, size);
    uint16_t order = 0, magic = 0;
    if (!r.U16(0, &order)) return false;
    if (order == 0x4D4D) r.SetBigEndian(true);
    else if (order != 0x4949) return false;
    uint32_t ifd = 0;
    uint16_t count = 0;
    if (!r.U16(2, &magic) || magic != 42 || !r.U32(4, &ifd) || !r.U16(ifd, &count)) return false;
    if (count > kMaxEntries) return false;

    for (uint16_t i = 0; i < count; ++i) {
        const size_t entry = size_t{ifd} + 2 + size_t{i} * 12;
        uint16_t tag = 0, type = 0;
        uint32_t components = 0;
        if (!r.U16(entry, &tag) || !r.U16(entry + 2, &type) || !r.U32(entry + 4, &components)) break;
        const uint32_t unit = TypeSize(type);
        if (unit == 0) continue;
        const uint64_t bytes = uint64_t{components} * unit;
        size_t where = entry + 8;
        if (bytes > 4) {
            uint32_t offset = 0;
            if (!r.U32(entry + 8, &offset)) break;
            where = offset;
        }
        if (bytes > size || !r.Has(where, static_cast<size_t>(bytes))) continue;
        std::vector<uint8_t> value(block + where, block + where + bytes);
        const uint32_t swap = SwapUnit(type);
        if (r.BigEndian() && swap > 1) {
            for (size_t k = 0; k + swap <= value.size(); k += swap) {
                std::reverse(value.begin() + static_cast<ptrdiff_t>(k),
                             value.begin() + static_cast<ptrdiff_t>(k + swap));
            }
        }
        out->AddProperty(tag, type, std::move(value));
    }
    return true;
}

}  // namespace orv::image
