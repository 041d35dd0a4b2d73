// TIFF through libtiff's RGBA interface, read from memory. libtiff reports
// through handlers passed with the open options, so nothing is printed and no
// global handler is touched.
#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Decoded.h"

namespace orv::image {
namespace {

struct MemoryFile {
    ByteSpan bytes;
    toff_t pos = 0;
    char error[256] = "";
};

tmsize_t Read(thandle_t h, void* buf, tmsize_t n) {
    auto* f = static_cast<MemoryFile*>(h);
    if (n <= 0 || f->pos >= f->bytes.size) return 0;
    const size_t count = std::min<size_t>(static_cast<size_t>(n), f->bytes.size - f->pos);
    std::memcpy(buf, f->bytes.data + f->pos, count);
    f->pos += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t Write(thandle_t, void*, tmsize_t) { return -1; }

toff_t Seek(thandle_t h, toff_t off, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    toff_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? f->pos : f->bytes.size;
    if (off > UINT64_MAX - base) return static_cast<toff_t>(-1);
    f->pos = base + off;
    return f->pos;
}

int Close(thandle_t) { return 0; }
toff_t Size(thandle_t h) { return static_cast<MemoryFile*>(h)->bytes.size; }

int Map(thandle_t h, void** base, toff_t* size) {
    auto* f = static_cast<MemoryFile*>(h);
    *base = const_cast<uint8_t*>(f->bytes.data);
    *size = f->bytes.size;
    return 1;
}

void Unmap(thandle_t, void*, toff_t) {}

int OnError(TIFF*, void* user, const char* module, const char* fmt, va_list ap) {
    auto* f = static_cast<MemoryFile*>(user);
    if (!f->error[0]) {
        const int n = std::snprintf(f->error, sizeof f->error, "%s: ", module ? module : "TIFF");
        if (n > 0 && static_cast<size_t>(n) < sizeof f->error)
            std::vsnprintf(f->error + n, sizeof f->error - static_cast<size_t>(n), fmt, ap);
    }
    return 1;  // handled: libtiff prints nothing
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

bool HasAlpha(TIFF* tif) {
    uint16_t count = 0;
    uint16_t* kinds = nullptr;
    return TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &count, &kinds) && count > 0 && kinds &&
           (kinds[0] == EXTRASAMPLE_ASSOCALPHA || kinds[0] == EXTRASAMPLE_UNASSALPHA);
}

// libtiff's raster is RGBA in memory with alpha premultiplied; ours is BGRA
// with straight alpha.
void RgbaToBgra(uint8_t* p, size_t count, bool unpremultiply) {
    for (size_t i = 0; i < count; ++i, p += 4) {
        std::swap(p[0], p[2]);
        if (unpremultiply && p[3] != 0 && p[3] != 255) {
            const unsigned a = p[3];
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::min(255u, (p[c] * 255u + a / 2) / a));
        }
    }
}

void ReadTags(TIFF* tif, Decoded* out) {
    uint32_t count = 0;
    void* profile = nullptr;
    if (TIFFGetField(tif, TIFFTAG_ICCPROFILE, &count, &profile) && profile) {
        const auto* p = static_cast<const uint8_t*>(profile);
        out->AddProperty(kTagIccProfile, kPropertyUndefined, std::vector<uint8_t>(p, p + count));
    }
    const char* description = nullptr;
    if (TIFFGetField(tif, TIFFTAG_IMAGEDESCRIPTION, &description) && description) {
        const size_t n = std::strlen(description);
        std::vector<uint8_t> text(description, description + n);
        text.push_back(0);
        out->AddProperty(kTagImageDescription, kPropertyAscii, std::move(text));
    }
}

}  // namespace

void DecodeTiff(ByteSpan bytes, Decoded* out) {
    MemoryFile file{bytes};
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) {
        out->Fail(Status::OutOfMemory, "libtiff could not start");
        return;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &file);
    // No single allocation of libtiff's may exceed what our pixels may take.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(kMaxImagePixels * 4));
    TIFF* tif = TIFFClientOpenExt("memory", "rm", &file, Read, Write, Seek, Close, Size, Map, Unmap, options);
    TIFFOpenOptionsFree(options);
    if (!tif) {
        out->Fail(Status::CorruptData, std::string("TIFF header: ") + file.error);
        return;
    }
    uint32_t w = 0, h = 0;
    char why[1024] = "";
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    if (!TIFFRGBAImageOK(tif, why)) {
        out->Fail(Status::CorruptData, std::string("TIFF: ") + why);
    } else if (out->AllocatePixels(w, h)) {
        auto* raster = reinterpret_cast<uint32_t*>(out->pixels.get());
        if (!TIFFReadRGBAImageOriented(tif, w, h, raster, ORIENTATION_TOPLEFT, 1)) {
            out->Fail(Status::CorruptData, std::string("TIFF data: ") + file.error);
        } else {
            RgbaToBgra(out->pixels.get(), size_t{w} * h, HasAlpha(tif));
            ReadTags(tif, out);
        }
    }
    TIFFClose(tif);
}

}  // namespace orv::image
