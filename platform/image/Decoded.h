// What a decoder hands to the Image it makes, and the helpers every decoder
// shares: the pixel budget check and the uninitialised pixel allocation.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Image.h"
#include "PixelBuffer.h"

namespace orv::image {

struct Image::Decoded {
    uint32_t width = 0;
    uint32_t height = 0;
    PixelBuffer pixels;  // width * height BGRA pixels, rows packed
    std::vector<PropertyItem> properties;
    Status status = Status::Ok;
    std::string message;
    size_t encodedSize = 0;  // the size of the file being decoded
    DecodeOptions options;

    bool Fail(Status s, std::string why) {
        status = s;
        message = std::move(why);
        pixels.Reset();
        return false;
    }

    // Checks a size against the budget; false, with the status set, when it
    // is zero or too large.
    bool CheckSize(uint64_t w, uint64_t h);
    // Checks the size and allocates the pixels without touching them (the
    // decoder writes every byte). False, with the status set, when the size
    // is zero, too large or cannot be had.
    bool AllocatePixels(uint64_t w, uint64_t h);

    // Adds an item unless one with that id is there already.
    void AddProperty(uint32_t id, uint16_t type, std::vector<uint8_t> value);
};

using Decoded = Image::Decoded;

struct ByteSpan {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// One decoder per format; each fills *out, status included.
void DecodePng(ByteSpan bytes, Decoded* out);
void DecodeJpeg(ByteSpan bytes, Decoded* out);
void DecodeTiff(ByteSpan bytes, Decoded* out);
void DecodeGif(ByteSpan bytes, Decoded* out);
void DecodeBmp(ByteSpan bytes, Decoded* out);
void DecodeWebp(ByteSpan bytes, Decoded* out);

}  // namespace orv::image
