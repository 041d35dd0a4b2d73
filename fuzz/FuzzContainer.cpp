// The container's four record readers over any bytes.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "document/ContainerFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryByteSource source(data, size);
    auto header = std::make_unique<ContainerHeader>();
    DataBlock leading;
    OverlayRecord overlay;
    PanoramaRecord panorama;
    ReadContainerHeader(source, *header);
    ReadDataBlock(source, leading);
    ReadOverlayRecord(source, overlay);
    ReadPanoramaRecord(source, panorama);
    // A payload never holds more than the file had.
    if (panorama.ImageBlock.Payload.size() > size || overlay.Image.Payload.size() > size) __builtin_trap();
    return 0;
}
