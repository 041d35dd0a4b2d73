// Decoding a 12288 x 2048 JPEG and PNG strip into BGRA through our image
// layer, against the libraries' own fastest paths to BGRA in the same run;
// and the peak memory a decode adds, against one copy of the pixels.
#include <cstddef>
#include <cstdio>
#include <png.h>

#include <memory>

#include "BenchSupport.h"
#include "platform/image/Image.h"

using namespace orv::bench;

namespace {

constexpr int kW = 12288, kH = 2048, kRuns = 5;


void FloorJpeg(const std::vector<uint8_t>& bytes, uint8_t* out) {
    FloorDecodeJpeg(bytes.data(), bytes.size(), out, size_t(kW) * 4);
}

void FloorPng(const std::vector<uint8_t>& bytes, uint8_t* out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, bytes.data(), bytes.size());
    image.format = PNG_FORMAT_BGRA;
    png_image_finish_read(&image, nullptr, out, 0, nullptr);
}

bool Compare(const char* format, const std::vector<uint8_t>& bytes,
             void (*floorDecode)(const std::vector<uint8_t>&, uint8_t*)) {
    // The strict floor decodes into a buffer that is already mapped and warm,
    // so it pays for no allocation at all, while ours allocates fresh pixels
    // every time. The second floor allocates its output as a plain program
    // would, with ordinary pages.
    std::unique_ptr<uint8_t[]> warm(new uint8_t[size_t(kW) * kH * 4]);
    const double floor = BestOfMs(kRuns, [&] { floorDecode(bytes, warm.get()); });
    const double plain = BestOfMs(kRuns, [&] {
        std::unique_ptr<uint8_t[]> fresh(new uint8_t[size_t(kW) * kH * 4]);
        floorDecode(bytes, fresh.get());
    });
    const double ours = BestOfMs(kRuns, [&] {
        auto image = orv::image::Image::FromMemory(bytes.data(), bytes.size());
        if (image->LastStatus() != orv::image::Status::Ok) std::abort();
    });
    bool ok = Report(std::string(format) + " decode vs library into warm buffer", ours, floor, 1.10);
    Report(std::string(format) + " decode vs library into fresh buffer", ours, plain, 1.10);

    const double pixelBytes = double(kW) * kH * 4;
    const long long growth = PeakGrowthBytes([&] {
        auto image = orv::image::Image::FromMemory(bytes.data(), bytes.size());
    });
    // The encoded bytes are already resident; the decode may add the pixels
    // and the decoder's small working buffers, no second copy.
    ok &= Report(std::string(format) + " peak memory added by decoding", double(growth) / (1 << 20),
                 pixelBytes / (1 << 20), 1.10, "MiB");
    return ok;
}

}  // namespace

int main() {
    std::printf("encoding the test strips...\n");
    const auto pixels = MakeStripPixels(kW, kH);
    const auto jpeg = EncodeJpeg(pixels, kW, kH, 90);
    const auto png = EncodePng(pixels, kW, kH);
    std::printf("JPEG %.1f MiB, PNG %.1f MiB; best of %d runs\n", jpeg.size() / 1048576.0, png.size() / 1048576.0,
                kRuns);
    bool ok = Compare("JPEG", jpeg, FloorJpeg);
    ok &= Compare("PNG", png, FloorPng);
    return ok ? 0 : 1;
}
