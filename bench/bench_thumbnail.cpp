// A 256-pixel thumbnail of a 12288 x 2048 JPEG strip (read, decoded at
// reduced scale, uploaded, drawn, read back and written as PNG) against
// decoding that JPEG at full size with libjpeg-turbo into a warm buffer, in
// the same run; once for a baseline and once for a progressive file of the
// same pixels. The headless context is made once, outside both timings.
#include <GL/gl.h>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "BenchSupport.h"
#include "HeadlessBench.h"
#include "TempRegistry.h"
#include "cli/PngWriter.h"
#include "platform/image/Image.h"
#include "document/CMOrvalenDoc.h"
#include "platform/gl/HeadlessContext.h"
#include "view/FrameDrawing.h"

using namespace orv::bench;

namespace {

constexpr int kW = 12288, kH = 2048, kRuns = 7, kThumbW = 256, kThumbH = 192;


void Thumbnail(const std::string& path, const std::string& out) {
    CMOrvalenDoc doc;
    doc.SetFaceSideLimit(kThumbH);
    doc.LoadPanorama(path);
    glViewport(0, 0, kThumbW, kThumbH);
    DrawFrame(&doc, {0, 0, 30}, kThumbW, kThumbH);
    std::vector<uint8_t> rgb(size_t(kThumbW) * kThumbH * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kThumbW, kThumbH, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::string error;
    WriteRgbPng(out, rgb.data(), kThumbW, kThumbH, &error);
    doc.ReleaseScene();
}

// One row: the thumbnail of a strip encoded as given against decoding that
// same file at full size.
bool CompareWithFullDecode(const char* name, const std::vector<uint8_t>& jpeg, const std::string& dir,
                           uint8_t* warm) {
    const std::string path = dir + "/strip.orvp", out = dir + "/thumb.png";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
    const auto [full, thumb] = AlternatingBestMs(
        kRuns, [&] { FloorDecodeJpeg(jpeg.data(), jpeg.size(), warm, size_t(kW) * 4); },
        [&] { Thumbnail(path, out); });
    return Report(name, thumb, full, 0.35);
}

// The peak memory that decoding a strip for a thumbnail adds, against one
// full-size copy of its pixels. The decode alone: a forked child cannot use
// the GL context, and the faces it uploads are a few hundred kilobytes.
bool ReportThumbnailDecodePeak(const char* name, const std::vector<uint8_t>& bytes, double limit) {
    orv::image::DecodeOptions options;
    options.minHeight = kThumbH;
    const long long growth = PeakGrowthBytes([&] {
        auto image = orv::image::Image::FromMemory(bytes.data(), bytes.size(), options);
        if (image->LastStatus() != orv::image::Status::Ok) std::abort();
    });
    return Report(name, double(growth) / (1 << 20), double(kW) * kH * 4 / (1 << 20), limit, "MiB");
}

}  // namespace

int main(int, char** argv) {
    // Thumbnails run with the allocator settings of the thumbnailer's Exec
    // line (huge pages for large allocations); so does this benchmark, the
    // full decode included.
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (!tunables || !std::strstr(tunables, "glibc.malloc.hugetlb=1")) {
        setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 1);
        execv("/proc/self/exe", argv);
        std::perror("bench_thumbnail: cannot restart itself");
        return 2;
    }
    orv::gl::HeadlessContext context;
    if (!orv::bench::CreateBenchContext(context, kThumbW, kThumbH)) return 2;
    TempRegistry registry;
    const auto pixels = MakeStripPixels(kW, kH);
    std::unique_ptr<uint8_t[]> warm(new uint8_t[size_t(kW) * kH * 4]);
    std::fill_n(warm.get(), size_t(kW) * kH * 4, 0);
    const auto baseline = EncodeJpeg(pixels, kW, kH, 90);
    bool ok = CompareWithFullDecode("256-px thumbnail vs full decode, baseline", baseline, registry.Dir(),
                                    warm.get());
    const auto progressive = EncodeJpeg(pixels, kW, kH, 90, true);
    ok &= CompareWithFullDecode("256-px thumbnail vs full decode, progressive", progressive, registry.Dir(),
                                warm.get());
    // Memory: a baseline JPEG and a PNG strip hold a few rows at a time; a
    // progressive JPEG needs libjpeg's coefficients of the whole image (two
    // bytes for each of 1.5 samples per pixel) before its DC scan is done.
    ok &= ReportThumbnailDecodePeak("thumbnail decode peak memory, baseline", baseline, 0.05);
    ok &= ReportThumbnailDecodePeak("thumbnail decode peak memory, progressive", progressive, 1.0);
    ok &= ReportThumbnailDecodePeak("thumbnail decode peak memory, PNG", EncodePng(pixels, kW, kH), 0.05);
    // What libjpeg-turbo alone needs for the baseline file at 1/8: a baseline
    // file without restart markers must be entropy-decoded whole at any
    // scale, so no thumbnail of it can take less. Information, not a verdict.
    const auto [full, eighth] = AlternatingBestMs(
        kRuns, [&] { FloorDecodeJpeg(baseline.data(), baseline.size(), warm.get(), size_t(kW) * 4); },
        [&] { FloorDecodeJpeg(baseline.data(), baseline.size(), warm.get(), size_t(kW) * 4, 8); });
    Report("libjpeg-turbo alone at 1/8, baseline", eighth, full, 0.35);
    return ok ? 0 : 1;
}
