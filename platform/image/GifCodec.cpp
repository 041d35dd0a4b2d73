// GIF through giflib: the first frame, placed on the logical screen, which is
// transparent wherever the frame does not cover it. Later frames are not read.
#include <gif_lib.h>

#include <cstring>
#include <vector>

#include "Decoded.h"

namespace orv::image {
namespace {

struct GifSource {
    ByteSpan bytes;
    size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buf, int n) {
    auto* src = static_cast<GifSource*>(gif->UserData);
    if (n <= 0) return 0;
    const size_t count = std::min<size_t>(static_cast<size_t>(n), src->bytes.size - src->pos);
    std::memcpy(buf, src->bytes.data + src->pos, count);
    src->pos += count;
    return static_cast<int>(count);
}

// The transparent colour index of the graphic control block, or -1.
int TransparentIndex(const GifByteType* ext, int extCode) {
    if (extCode != GRAPHICS_EXT_FUNC_CODE || !ext || ext[0] < 4) return -1;
    return (ext[1] & 1) ? ext[4] : -1;
}

bool ReadFirstFrame(GifFileType* gif, Decoded* out) {
    int transparent = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) return out->Fail(Status::CorruptData, "GIF record");
        if (type == TERMINATE_RECORD_TYPE) return out->Fail(Status::CorruptData, "GIF without an image");
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) return out->Fail(Status::CorruptData, "GIF extension");
            if (TransparentIndex(ext, code) >= 0) transparent = TransparentIndex(ext, code);
            while (ext) {
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR)
                    return out->Fail(Status::CorruptData, "GIF extension");
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) continue;
        if (DGifGetImageDesc(gif) == GIF_ERROR) return out->Fail(Status::CorruptData, "GIF image descriptor");
        break;
    }
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map) return out->Fail(Status::CorruptData, "GIF without colours");
    if (desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0 ||
        uint64_t(desc.Width) * uint64_t(desc.Height) > kMaxImagePixels)
        return out->Fail(Status::CorruptData, "GIF frame size");
    if (!out->AllocatePixels(static_cast<uint64_t>(gif->SWidth), static_cast<uint64_t>(gif->SHeight))) return false;
    std::memset(out->pixels.get(), 0, size_t{out->width} * out->height * 4);

    std::vector<GifByteType> line(static_cast<size_t>(desc.Width));
    auto putRow = [&](int row) {
        const int y = desc.Top + row;
        if (y >= static_cast<int>(out->height)) return;
        uint8_t* dst = out->pixels.get() + size_t(y) * out->width * 4;
        for (int x = 0; x < desc.Width; ++x) {
            const int sx = desc.Left + x;
            if (sx >= static_cast<int>(out->width)) break;
            const int index = line[size_t(x)];
            if (index == transparent || index >= map->ColorCount) continue;
            const GifColorType& c = map->Colors[index];
            uint8_t* p = dst + size_t(sx) * 4;
            p[0] = c.Blue;
            p[1] = c.Green;
            p[2] = c.Red;
            p[3] = 255;
        }
    };
    // Interlaced frames arrive in four passes of rows.
    static const int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = desc.Interlace ? kStart[pass] : 0, step = desc.Interlace ? kStep[pass] : 1;
        for (int row = start; row < desc.Height; row += step) {
            if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR)
                return out->Fail(Status::CorruptData, "GIF data ends early");
            putRow(row);
        }
    }
    return true;
}

}  // namespace

void DecodeGif(ByteSpan bytes, Decoded* out) {
    GifSource src{bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&src, ReadFromMemory, &error);
    if (!gif) {
        out->Fail(Status::CorruptData, std::string("GIF header: ") + GifErrorString(error));
        return;
    }
    ReadFirstFrame(gif, out);
    DGifCloseFile(gif, &error);
}

}  // namespace orv::image
