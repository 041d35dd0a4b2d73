#include "PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {

// libpng's errors jump back here; nothing with a destructor lives in this
// function's frame between setjmp and the jump.
bool WriteRows(png_structp png, png_infop info, FILE* file, png_bytepp rows, int width, int height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool WriteRgbPng(const std::string& path, const uint8_t* rows, int width, int height, std::string* error) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *error = "cannot create " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_bytep> rowPointers(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rowPointers[size_t(y)] = const_cast<uint8_t*>(rows) + size_t(y) * width * 3;
    const bool ok = info && WriteRows(png, info, file, rowPointers.data(), width, height);
    png_destroy_write_struct(&png, &info);
    const bool closed = std::fclose(file) == 0;
    if (!ok || !closed) {
        *error = "cannot write " + path;
        std::remove(path.c_str());
        return false;
    }
    return true;
}
