// The IFD0 reader of TIFF-structured metadata blocks (Exif in JPEG, PNG and
// WebP) over any bytes.
#include <cstddef>
#include <cstdint>

#include "platform/image/Decoded.h"
#include "platform/image/ExifIfd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::image::Decoded out;
    orv::image::ReadIfd0Items(data, size, &out);
    for (const auto& item : out.properties) {
        if (item.value.size() > size) __builtin_trap();  // never more than the block
    }
    return 0;
}
