// PNG through libpng, rows decoded straight into the BGRA pixels (or, for a
// reduced preview, into one row that is averaged away at once). libpng
// reports errors by longjmp; the jumps stay inside the small functions below
// that call setjmp, and no C++ object with a destructor lives in them.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BoxReducer.h"
#include "Decoded.h"
#include "PngMetadata.h"

namespace orv::image {
namespace {

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
    char error[160];
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > src->size - src->pos) png_error(png, "file ends early");
    std::memcpy(out, src->data + src->pos, count);
    src->pos += count;
}

void OnError(png_structp png, png_const_charp message) {
    auto* src = static_cast<PngSource*>(png_get_error_ptr(png));
    std::snprintf(src->error, sizeof src->error, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Reads the header only, so that the size can be checked against the budget
// before libpng allocates anything that grows with it.
bool ReadHeader(png_structp png, png_infop info, png_uint_32* w, png_uint_32* h) {
    if (setjmp(png_jmpbuf(png))) return false;
    // The metadata items are read from the raw chunks (PngMetadata); libpng
    // need not decompress or check them, and would drop an iCCP chunk whose
    // profile is not ICC.
    static const png_byte kIgnored[] = "iCCP\0tEXt\0zTXt\0iTXt\0eXIf\0";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnored, 5);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    *w = png_get_image_width(png, info);
    *h = png_get_image_height(png, info);
    return true;
}

// Converts every colour type and depth to 8-bit BGRA; checks that a row then
// holds rowBytes. Only from inside a function that has called setjmp.
void ConvertToBgra(png_structp png, png_infop info, size_t rowBytes) {
    const int depth = png_get_bit_depth(png, info);
    const int color = png_get_color_type(png, info);
    png_set_expand(png);  // palette to RGB, low-depth grey to 8 bits, tRNS to alpha
    if (depth == 16) png_set_scale_16(png);
    if (color == PNG_COLOR_TYPE_GRAY || color == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!(color & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != rowBytes) png_error(png, "row size does not match BGRA");
}

// Decodes the rows as BGRA into the given row pointers.
bool ReadRows(png_structp png, png_infop info, png_bytepp rows, size_t rowBytes) {
    if (setjmp(png_jmpbuf(png))) return false;
    ConvertToBgra(png, info, rowBytes);
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

// Decodes a non-interlaced image one row at a time into row and hands each
// to the reducer.
bool ReadRowsReduced(png_structp png, png_infop info, png_bytep row, size_t rowBytes, BoxReducer* reducer) {
    if (setjmp(png_jmpbuf(png))) return false;
    ConvertToBgra(png, info, rowBytes);
    const png_uint_32 h = png_get_image_height(png, info);
    for (png_uint_32 y = 0; y < h; ++y) {
        png_read_row(png, row, nullptr);
        reducer->AddRow(row);
    }
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

void DecodePng(ByteSpan bytes, Decoded* out) {
    PngSource src{bytes.data, bytes.size, 0, ""};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &src, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        out->Fail(Status::OutOfMemory, "libpng could not start");
        return;
    }
    png_set_read_fn(png, &src, ReadFromMemory);

    png_uint_32 w = 0, h = 0;
    std::vector<png_bytep> rows;
    uint32_t factor = 1;
    if (!ReadHeader(png, info, &w, &h)) {
        out->Fail(Status::CorruptData, std::string("PNG header: ") + src.error);
    } else if ((factor = ReductionFactor(h, out->options.minHeight)) > 1 && w >= factor &&
               png_get_interlace_type(png, info) == PNG_INTERLACE_NONE) {
        // A preview of a large image: never more than one of its rows at a
        // time (an interlaced image needs them all, and is reduced after).
        if (out->CheckSize(w, h) && out->AllocatePixels(w / factor, h / factor)) {
            std::vector<uint8_t> row(size_t{w} * 4);
            BoxReducer reducer(w / factor, factor, out->pixels.get());
            if (!ReadRowsReduced(png, info, row.data(), row.size(), &reducer)) {
                out->Fail(Status::CorruptData, std::string("PNG data: ") + src.error);
            }
        }
    } else if (out->AllocatePixels(w, h)) {
        rows.resize(h);
        for (png_uint_32 y = 0; y < h; ++y) rows[y] = out->pixels.get() + size_t{y} * w * 4;
        if (!ReadRows(png, info, rows.data(), size_t{w} * 4)) {
            out->Fail(Status::CorruptData, std::string("PNG data: ") + src.error);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (out->status == Status::Ok) ReadPngMetadata(bytes.data, bytes.size, out);
}

}  // namespace orv::image
