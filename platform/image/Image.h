// A decoded image: its pixels as 32-bit BGRA (not premultiplied, top row
// first), its metadata items numbered as TIFF/EXIF tags, and the status of the
// last operation that failed. The format is recognised from the content: PNG,
// JPEG, TIFF, GIF, BMP and WebP.
//
// Decoding happens when the image is made; an image whose status is not Ok
// has no pixels. An image never holds more than kMaxImagePixels pixels: a
// larger one fails with TooLarge before its pixels are allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PixelBuffer.h"

namespace orv::image {

enum class Status {
    Ok = 0,
    InvalidParameter,
    OutOfMemory,
    FileNotFound,
    AccessDenied,
    UnknownFormat,     // not an image format we read
    CorruptData,       // our format, but broken or truncated
    TooLarge,          // beyond the pixel budget
    PropertyNotFound,
    NotLocked,
};

const char* StatusName(Status status);

// 2^29 pixels: 2 GiB of BGRA, room for a strip of six 8192 x 8192 faces.
constexpr uint64_t kMaxImagePixels = uint64_t{1} << 29;
// Neither side may exceed 2^24, so that a row's byte count fits an int32.
constexpr uint32_t kMaxImageSide = uint32_t{1} << 24;
// Beyond 64 MiB of pixels, an image may not take more than 1100 bytes of
// pixels per byte of its file: more than any real compression gives (deflate
// stops near 1032:1), so only a hostile file, a few kilobytes claiming
// gigabytes, is refused.
constexpr uint64_t kFreePixelBytes = uint64_t{64} << 20;
constexpr uint64_t kMaxExpansion = 1100;

struct Rect {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

struct LockedBits {
    uint32_t width = 0;
    uint32_t height = 0;
    int32_t stride = 0;              // bytes from one row to the next
    const uint8_t* scan0 = nullptr;  // the top-left pixel of the rectangle
};

// Type numbers as in TIFF.
enum PropertyType : uint16_t {
    kPropertyByte = 1,
    kPropertyAscii = 2,
    kPropertyShort = 3,
    kPropertyLong = 4,
    kPropertyRational = 5,
    kPropertyUndefined = 7,
    kPropertySLong = 9,
    kPropertySRational = 10,
};

constexpr uint32_t kTagImageDescription = 270;
constexpr uint32_t kTagIccProfile = 34675;

struct PropertyItem {
    uint32_t id = 0;
    uint16_t type = 0;
    std::vector<uint8_t> value;
};

// How a decode may save work when the full resolution is not needed.
struct DecodeOptions {
    // Gives the image reduced, keeping the height at least this many pixels
    // (0: full size). JPEG is decoded at 1/2, 1/4 or 1/8 scale and a
    // non-interlaced PNG reduced row by row as it is decoded; whatever is
    // still twice that height or more is then reduced by a whole factor.
    uint32_t minHeight = 0;
};

// The whole factor by which an image of this height is reduced for
// minHeight: 1 (none) unless the height is at least twice minHeight.
inline uint32_t ReductionFactor(uint32_t height, uint32_t minHeight) {
    return minHeight > 0 && height / 2 >= minHeight ? height / minHeight : 1;
}

class Image {
public:
    // Reads and decodes a file. Never null.
    static std::unique_ptr<Image> FromFile(const std::string& path, const DecodeOptions& options = {});
    // Decodes an encoded image held in memory. The bytes are read only while
    // this runs; the image keeps no reference to them. Never null.
    static std::unique_ptr<Image> FromMemory(const uint8_t* data, size_t size, const DecodeOptions& options = {});

    // A copy reduced by a whole factor (each pixel the average of factor x
    // factor pixels); null when the image has no pixels or factor < 2.
    std::unique_ptr<Image> Reduced(uint32_t factor) const;

    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }
    Status LastStatus() const { return m_status; }
    // Why the last operation failed, for logs and tests.
    const std::string& LastMessage() const { return m_message; }

    // Read-only access to a rectangle wholly inside the image, in place: the
    // stride is the whole image's row. Fails (and records the status) for any
    // other rectangle or an image without pixels.
    Status LockBits(const Rect& rect, LockedBits* locked);
    Status UnlockBits(const LockedBits& locked);

    uint32_t PropertyCount() const { return static_cast<uint32_t>(m_properties.size()); }
    std::vector<uint32_t> PropertyIds() const;
    // The item with that id, or null (and PropertyNotFound recorded).
    const PropertyItem* Property(uint32_t id);

    // Used by the decoders.
    struct Decoded;
    explicit Image(Decoded&& decoded);

private:
    void Fail(Status status, std::string message);

    uint32_t m_width = 0;
    uint32_t m_height = 0;
    PixelBuffer m_pixels;
    std::vector<PropertyItem> m_properties;
    Status m_status = Status::Ok;
    std::string m_message;
    int m_locks = 0;
};

}  // namespace orv::image
