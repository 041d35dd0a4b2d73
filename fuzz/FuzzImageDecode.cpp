// Decoding any bytes as an image, locking the whole image and reading every
// metadata item: PNG, JPEG (its APP markers), TIFF, GIF, BMP and WebP. Each
// input is decoded twice: at full size and as small as the format allows
// (a preview's path, where a progressive JPEG is read only up to its DC).
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/image/Image.h"

namespace {

void Exercise(orv::image::Image& image) {
    if (image.LastStatus() != orv::image::Status::Ok) return;
    orv::image::LockedBits bits;
    const auto w = static_cast<int32_t>(image.Width()), h = static_cast<int32_t>(image.Height());
    if (image.LockBits({0, 0, w, h}, &bits) == orv::image::Status::Ok) {
        // Touch the first and last pixel: both must lie inside the buffer.
        volatile uint8_t sink = bits.scan0[0];
        sink = bits.scan0[size_t(h - 1) * bits.stride + size_t(w - 1) * 4 + 3];
        (void)sink;
        image.UnlockBits(bits);
    }
    for (uint32_t id : image.PropertyIds()) {
        const orv::image::PropertyItem* item = image.Property(id);
        if (item && !item->value.empty()) {
            volatile uint8_t last = item->value.back();
            (void)last;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Exercise(*orv::image::Image::FromMemory(data, size));
    orv::image::DecodeOptions smallest;
    smallest.minHeight = 1;
    Exercise(*orv::image::Image::FromMemory(data, size, smallest));
    return 0;
}
