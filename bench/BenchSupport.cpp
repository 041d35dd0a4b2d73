#include "BenchSupport.h"

#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace orv::bench {

std::vector<uint8_t> MakeStripPixels(int w, int h) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    uint32_t state = 12345;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = int(state >> 28) - 8;
            uint8_t* p = px.data() + (size_t(y) * w + x) * 4;
            p[0] = uint8_t(std::clamp((x * 255 / w) + noise, 0, 255));
            p[1] = uint8_t(std::clamp((y * 255 / h) + noise, 0, 255));
            p[2] = uint8_t(std::clamp(((x ^ y) & 255) / 2 + 64 + noise, 0, 255));
            p[3] = 255;
        }
    }
    return px;
}

std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& bgra, int w, int h, int quality, bool progressive) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 4;
    c.in_color_space = JCS_EXT_BGRA;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(bgra.data()) + size_t(c.next_scanline) * w * 4;
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&c);
    free(out);
    return bytes;
}

std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& bgra, int w, int h) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = PNG_FORMAT_BGR;  // no alpha, as a panorama has none
    std::vector<uint8_t> bgr(size_t(w) * h * 3);
    for (size_t i = 0, n = size_t(w) * h; i < n; ++i) std::memcpy(&bgr[i * 3], &bgra[i * 4], 3);
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, bgr.data(), 0, nullptr);
    std::vector<uint8_t> bytes(size);
    png_image_write_to_memory(&image, bytes.data(), &size, 0, bgr.data(), 0, nullptr);
    bytes.resize(size);
    return bytes;
}

void FloorDecodeJpeg(const uint8_t* data, size_t size, uint8_t* out, size_t stride, unsigned scaleDenom) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_EXT_BGRA;
    d.scale_num = 1;
    d.scale_denom = scaleDenom;
    jpeg_start_decompress(&d);
    JSAMPROW rows[16];
    while (d.output_scanline < d.output_height) {
        const JDIMENSION n = std::min<JDIMENSION>(16, d.output_height - d.output_scanline);
        for (JDIMENSION i = 0; i < n; ++i) rows[i] = out + size_t(d.output_scanline + i) * stride;
        jpeg_read_scanlines(&d, rows, n);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
}

void FloorUploadFaces(const uint8_t* strip, int stripWidth, int face, bool mipmaps, unsigned ids[6]) {
    for (int i = 0; i < 6; ++i) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, stripWidth);
        glGenTextures(1, &ids[i]);
        glBindTexture(GL_TEXTURE_2D, ids[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        const uint8_t* pixels = strip + size_t(i) * face * 4;
        if (mipmaps) gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA8, face, face, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels);
        else glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, face, face, 0, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

double BestOfMs(int runs, const std::function<void()>& fn) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fn();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

FloorAndOurs AlternatingBestMs(int rounds, const std::function<void()>& floor, const std::function<void()>& ours) {
    FloorAndOurs best{1e300, 1e300};
    for (int round = 0; round < rounds; ++round) {
        best.floor = std::min(best.floor, BestOfMs(1, floor));
        best.ours = std::min(best.ours, BestOfMs(1, ours));
    }
    return best;
}

namespace {

long long StatusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0) {
            std::istringstream s(line.substr(std::strlen(field)));
            long long kb = -1;
            s >> kb;
            return kb;
        }
    }
    return -1;
}

}  // namespace

long long PeakGrowthBytes(const std::function<void()>& fn) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        // Writing 5 to clear_refs resets the peak to the current size.
        std::ofstream("/proc/self/clear_refs") << "5";
        const long long before = StatusKb("VmRSS:");
        fn();
        const long long peak = StatusKb("VmHWM:");
        const long long growth = (before < 0 || peak < 0) ? -1 : (peak - before) * 1024;
        (void)!write(pipeFds[1], &growth, sizeof growth);
        _exit(0);
    }
    close(pipeFds[1]);
    long long growth = -1;
    if (read(pipeFds[0], &growth, sizeof growth) != sizeof growth) growth = -1;
    close(pipeFds[0]);
    waitpid(pid, nullptr, 0);
    return growth;
}

bool Report(const std::string& name, double figure, double floor, double limit, const char* unit) {
    const double ratio = floor > 0 ? figure / floor : 0;
    const bool ok = ratio <= limit;
    std::printf("%-44s %10.2f %s   floor %10.2f %s   ratio %.3f (limit %.2f) %s\n", name.c_str(), figure, unit,
                floor, unit, ratio, limit, ok ? "ok" : "OVER");
    std::fflush(stdout);
    return ok;
}

}  // namespace orv::bench
