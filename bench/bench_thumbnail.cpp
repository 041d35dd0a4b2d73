// A 256-pixel thumbnail of a 12288 x 2048 JPEG strip (read, decoded at
// reduced scale, uploaded, drawn, read back and written as PNG) against
// decoding that JPEG at full size with libjpeg-turbo into a warm buffer, in
// the same run. The headless context is made once, outside both timings.
#include <GL/gl.h>
#include <cstddef>
#include <cstdio>

#include <algorithm>
#include <fstream>
#include <memory>

#include "BenchSupport.h"
#include "HeadlessBench.h"
#include "TempRegistry.h"
#include "cli/PngWriter.h"
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

}  // namespace

int main() {
    orv::gl::HeadlessContext context;
    if (!orv::bench::CreateBenchContext(context, kThumbW, kThumbH)) return 2;
    TempRegistry registry;
    const auto jpeg = EncodeJpeg(MakeStripPixels(kW, kH), kW, kH, 90);
    const std::string path = registry.Dir() + "/strip.orvp", out = registry.Dir() + "/thumb.png";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()),
                                                static_cast<std::streamsize>(jpeg.size()));
    std::unique_ptr<uint8_t[]> warm(new uint8_t[size_t(kW) * kH * 4]);
    std::fill_n(warm.get(), size_t(kW) * kH * 4, 0);
    const auto [full, thumb] = AlternatingBestMs(
        kRuns, [&] { FloorDecodeJpeg(jpeg.data(), jpeg.size(), warm.get(), size_t(kW) * 4); },
        [&] { Thumbnail(path, out); });
    return Report("256-px thumbnail vs full-size JPEG decode", thumb, full, 0.35) ? 0 : 1;
}
