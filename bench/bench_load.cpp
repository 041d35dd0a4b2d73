// Loading a 12288 x 2048 JPEG strip as .orvp and as .orvp2, mipmaps off and
// on, against the floor measured in the same run: reading the same file,
// decoding its bytes straight to BGRA with libjpeg-turbo into a warm buffer,
// and the same GL/GLU uploads made directly. Then the peak memory of a .orvp2
// load against the file's bytes, the pixels and the textures, once each.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>

#include "BenchSupport.h"
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
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, bytes.data() + offset, bytes.size() - offset);
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&d);
    JSAMPROW rows[16];
    while (d.output_scanline < d.output_height) {
        const JDIMENSION n = std::min<JDIMENSION>(16, d.output_height - d.output_scanline);
        for (JDIMENSION i = 0; i < n; ++i) rows[i] = warm + size_t(d.output_scanline + i) * kW * 4;
        jpeg_read_scanlines(&d, rows, n);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    GLuint ids[6];
    for (int i = 0; i < 6; ++i) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, kW);
        glGenTextures(1, &ids[i]);
        glBindTexture(GL_TEXTURE_2D, ids[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        const uint8_t* face = warm + size_t(i) * kH * 4;
        if (mipmaps) gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, kH, kH, GL_BGRA_EXT, GL_UNSIGNED_BYTE, face);
        else glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kH, kH, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, face);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
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
    std::string error;
    if (!context.Create(64, 64, &error)) {
        std::fprintf(stderr, "no GL context: %s\n", error.c_str());
        return 2;
    }
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
            // Alternating rounds, as in the upload benchmark.
            double floor = 1e300, ours = 1e300;
            for (int round = 0; round < kRuns; ++round) {
                floor = std::min(floor, BestOfMs(1, [&] { FloorLoad(path, offset, warm.get(), mipmaps); }));
                ours = std::min(ours, BestOfMs(1, [&] {
                    doc.LoadPanorama(path);
                    glFinish();
                    doc.ReleaseScene();
                }));
            }
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
