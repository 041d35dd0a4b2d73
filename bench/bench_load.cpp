// Loading a 12288 x 2048 JPEG strip as .orvp and as .orvp2, mipmaps off and
// on, against the floor measured in the same run: reading the same file,
// decoding its bytes straight to BGRA with libjpeg-turbo into a warm buffer,
// and the same GL/GLU uploads made directly. Then the peak memory of a .orvp2
// load against the file's bytes, the pixels and the textures, once each.
#include <GL/gl.h>
#include <cstddef>
#include <cstdio>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>

#include "BenchSupport.h"
#include "HeadlessBench.h"
#include "document/CMOrvalenDoc.h"
#include "platform/gl/HeadlessContext.h"
#include "TempRegistry.h"

using namespace orv::bench;

namespace {

constexpr int kW = 12288, kH = 2048, kRuns = 7;

std::vector<uint8_t> ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// A container around the strip, laid out field by field.
std::vector<uint8_t> Container(const std::vector<uint8_t>& strip) {
    std::vector<uint8_t> c(5234, 0);
    auto block = [&](const std::vector<uint8_t>& payload) {
        c.insert(c.end(), 7, 0);
        const uint32_t n = static_cast<uint32_t>(payload.size());
        for (int i = 0; i < 4; ++i) c.push_back(uint8_t(n >> (8 * i)));
        c.insert(c.end(), payload.begin(), payload.end());
    };
    block({});                                       // leading block
    block({});                                       // no overlay
    c.insert(c.end(), 17, 0);                        // placement
    c.insert(c.end(), 4 + 200 + 4 + 48 + 1 + 1024, 0);
    block({});                                       // extra block
    block(strip);
    return c;
}

void FloorLoad(const std::string& path, size_t offset, uint8_t* warm, bool mipmaps) {
    const auto bytes = ReadWhole(path);
    FloorDecodeJpeg(bytes.data() + offset, bytes.size() - offset, warm, size_t(kW) * 4);
    GLuint ids[6];
    FloorUploadFaces(warm, kW, kH, mipmaps, ids);
    GLuint list = glGenLists(1);  // the cube list, as the loader compiles one
    glNewList(list, GL_COMPILE);
    glEndList();
    glFinish();
    glDeleteLists(list, 1);
    glDeleteTextures(6, ids);
}

}  // namespace

int main() {
    orv::gl::HeadlessContext context;
    if (!CreateBenchContext(context, 64, 64)) return 2;
    TempRegistry registry;
    const std::string& base = registry.Dir();

    const auto jpeg = EncodeJpeg(MakeStripPixels(kW, kH), kW, kH, 90);
    Write(base + "/strip.orvp", jpeg);
    Write(base + "/strip.orvp2", Container(jpeg));
    std::unique_ptr<uint8_t[]> warm(new uint8_t[size_t(kW) * kH * 4]);
    std::memset(warm.get(), 0, size_t(kW) * kH * 4);

    bool ok = true;
    for (const bool mipmaps : {false, true}) {
        registry.SetMipmaps(mipmaps);
        for (const char* name : {"strip.orvp", "strip.orvp2"}) {
            const std::string path = base + "/" + name;
            // With every other length 0, the container's image starts at 6576.
            const size_t offset = std::string(name).ends_with("2") ? 6576 : 0;
            CMOrvalenDoc doc;
            const auto [floor, ours] = AlternatingBestMs(
                kRuns, [&] { FloorLoad(path, offset, warm.get(), mipmaps); },
                [&] {
                    doc.LoadPanorama(path);
                    glFinish();
                    doc.ReleaseScene();
                });
            ok &= Report(std::string("load ") + name + ", mipmaps " + (mipmaps ? "on" : "off"), ours, floor, 1.10);
        }
    }

    // Peak memory of one .orvp2 load in a fresh child, mipmaps on.
    const double fileBytes = double(ReadWhole(base + "/strip.orvp2").size());
    const double pixelBytes = double(kW) * kH * 4;
    const double textureBytes = 6.0 * kH * kH * 4 * 4 / 3;  // the chain adds a third
    const long long growth = PeakGrowthBytes([&] {
        CMOrvalenDoc doc;
        doc.LoadPanorama(base + "/strip.orvp2");
        glFinish();
    });
    ok &= Report("peak memory of a .orvp2 load", double(growth) / (1 << 20),
                 (fileBytes + pixelBytes + textureBytes) / (1 << 20), 1.10, "MiB");
    return ok ? 0 : 1;
}
