// The PNG chunk walk for metadata items over any bytes behind a PNG signature.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/image/Decoded.h"
#include "platform/image/PngMetadata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    bytes.insert(bytes.end(), data, data + size);
    orv::image::Decoded out;
    orv::image::ReadPngMetadata(bytes.data(), bytes.size(), &out);
    return 0;
}
