#include "Image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <new>

#include "BoxReducer.h"
#include "Decoded.h"

namespace orv::image {
namespace {

// Encoded files larger than this are refused before they are read: no image
// within the pixel budget needs more.
constexpr uint64_t kMaxEncodedSize = uint64_t{4} << 30;

bool StartsWith(ByteSpan b, const char* magic, size_t n, size_t offset = 0) {
    return b.size >= offset + n && std::memcmp(b.data + offset, magic, n) == 0;
}

void DecodeAny(ByteSpan bytes, Decoded* out) {
    if (bytes.size == 0 || !bytes.data) {
        out->Fail(Status::UnknownFormat, "no bytes");
    } else if (StartsWith(bytes, "\x89PNG\r\n\x1a\n", 8)) {
        DecodePng(bytes, out);
    } else if (StartsWith(bytes, "\xFF\xD8\xFF", 3)) {
        DecodeJpeg(bytes, out);
    } else if (StartsWith(bytes, "II*\0", 4) || StartsWith(bytes, "MM\0*", 4)) {
        DecodeTiff(bytes, out);
    } else if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) {
        DecodeGif(bytes, out);
    } else if (StartsWith(bytes, "BM", 2)) {
        DecodeBmp(bytes, out);
    } else if (StartsWith(bytes, "RIFF", 4) && StartsWith(bytes, "WEBP", 4, 8)) {
        DecodeWebp(bytes, out);
    } else {
        out->Fail(Status::UnknownFormat, "not a known image format");
    }
}

std::unique_ptr<Image> Failed(Status status, std::string message) {
    Decoded d;
    d.Fail(status, std::move(message));
    return std::make_unique<Image>(std::move(d));
}

}  // namespace

const char* StatusName(Status status) {
    switch (status) {
        case Status::Ok: return "Ok";
        case Status::InvalidParameter: return "InvalidParameter";
        case Status::OutOfMemory: return "OutOfMemory";
        case Status::FileNotFound: return "FileNotFound";
        case Status::AccessDenied: return "AccessDenied";
        case Status::UnknownFormat: return "UnknownFormat";
        case Status::CorruptData: return "CorruptData";
        case Status::TooLarge: return "TooLarge";
        case Status::PropertyNotFound: return "PropertyNotFound";
        case Status::NotLocked: return "NotLocked";
    }
    return "?";
}

bool Decoded::CheckSize(uint64_t w, uint64_t h) {
    if (w == 0 || h == 0) return Fail(Status::CorruptData, "image has no pixels");
    if (w > kMaxImageSide || h > kMaxImageSide || w * h > kMaxImagePixels) {
        return Fail(Status::TooLarge, std::to_string(w) + " x " + std::to_string(h) +
                                          " pixels exceed the budget of " +
                                          std::to_string(kMaxImagePixels) + " pixels");
    }
    if (w * h * 4 > std::max<uint64_t>(kFreePixelBytes, kMaxExpansion * encodedSize)) {
        return Fail(Status::TooLarge, std::to_string(w) + " x " + std::to_string(h) +
                                          " pixels are out of proportion to a file of " +
                                          std::to_string(encodedSize) + " bytes");
    }
    return true;
}

bool Decoded::AllocatePixels(uint64_t w, uint64_t h) {
    if (!CheckSize(w, h)) return false;
    if (!pixels.Allocate(w * h * 4)) return Fail(Status::OutOfMemory, "no memory for the pixels");
    width = static_cast<uint32_t>(w);
    height = static_cast<uint32_t>(h);
    return true;
}

void Decoded::AddProperty(uint32_t id, uint16_t type, std::vector<uint8_t> value) {
    for (const PropertyItem& item : properties) {
        if (item.id == id) return;
    }
    properties.push_back(PropertyItem{id, type, std::move(value)});
}

Image::Image(Decoded&& d)
    : m_width(d.status == Status::Ok ? d.width : 0),
      m_height(d.status == Status::Ok ? d.height : 0),
      m_pixels(d.status == Status::Ok ? std::move(d.pixels) : PixelBuffer{}),
      m_properties(d.status == Status::Ok ? std::move(d.properties) : std::vector<PropertyItem>{}),
      m_status(d.status),
      m_message(std::move(d.message)) {}

Image::~Image() = default;

std::unique_ptr<Image> Image::FromMemory(const uint8_t* data, size_t size, const DecodeOptions& options) {
    Decoded d;
    d.encodedSize = size;
    d.options = options;
    DecodeAny(ByteSpan{data, size}, &d);
    auto image = std::make_unique<Image>(std::move(d));
    // What the decoder could not reduce while decoding is reduced now, by
    // the whole factor that keeps the height at least minHeight.
    if (const uint32_t factor = ReductionFactor(image->m_height, options.minHeight); factor > 1) {
        if (auto reduced = image->Reduced(factor)) {
            reduced->m_properties = std::move(image->m_properties);
            image = std::move(reduced);
        }
    }
    return image;
}

std::unique_ptr<Image> Image::FromFile(const std::string& path, const DecodeOptions& options) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        return Failed(err == ENOENT || err == ENOTDIR ? Status::FileNotFound : Status::AccessDenied,
                      path + ": " + std::strerror(err));
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return Failed(Status::AccessDenied, path + ": not a regular file");
    }
    if (static_cast<uint64_t>(st.st_size) > kMaxEncodedSize) {
        close(fd);
        return Failed(Status::TooLarge, path + ": file too large");
    }
    const auto size = static_cast<size_t>(st.st_size);
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size ? size : 1]);
    if (!bytes) {
        close(fd);
        return Failed(Status::OutOfMemory, path + ": no memory for the file");
    }
    size_t got = 0;
    while (got < size) {
        const ssize_t n = read(fd, bytes.get() + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            close(fd);
            return Failed(Status::AccessDenied, path + ": " + std::strerror(err));
        }
        if (n == 0) break;  // the file shrank meanwhile: decode what is there
        got += static_cast<size_t>(n);
    }
    close(fd);
    return FromMemory(bytes.get(), got, options);
}

std::unique_ptr<Image> Image::Reduced(uint32_t factor) const {
    if (!m_pixels || factor < 2) return nullptr;
    const uint32_t w = m_width / factor, h = m_height / factor;
    Decoded d;
    if (!d.AllocatePixels(w, h)) return nullptr;
    BoxReducer reducer(w, factor, d.pixels.get());
    for (uint32_t y = 0; y < h * factor; ++y) reducer.AddRow(m_pixels.get() + size_t{y} * m_width * 4);
    return std::make_unique<Image>(std::move(d));
}

void Image::Fail(Status status, std::string message) {
    m_status = status;
    m_message = std::move(message);
}

Status Image::LockBits(const Rect& r, LockedBits* locked) {
    if (!locked) {
        Fail(Status::InvalidParameter, "no lock record");
        return m_status;
    }
    if (!m_pixels) {
        Fail(Status::InvalidParameter, "the image has no pixels");
        return m_status;
    }
    // 64-bit sums: x + width must not wrap around.
    if (r.x < 0 || r.y < 0 || r.width <= 0 || r.height <= 0 ||
        int64_t{r.x} + r.width > int64_t{m_width} || int64_t{r.y} + r.height > int64_t{m_height}) {
        Fail(Status::InvalidParameter, "rectangle not inside the image");
        return m_status;
    }
    const size_t stride = size_t{m_width} * 4;
    locked->width = static_cast<uint32_t>(r.width);
    locked->height = static_cast<uint32_t>(r.height);
    locked->stride = static_cast<int32_t>(stride);
    locked->scan0 = m_pixels.get() + size_t(r.y) * stride + size_t(r.x) * 4;
    ++m_locks;
    return Status::Ok;
}

Status Image::UnlockBits(const LockedBits& locked) {
    if (m_locks == 0 || !locked.scan0) {
        Fail(Status::NotLocked, "nothing locked");
        return m_status;
    }
    --m_locks;
    return Status::Ok;
}

std::vector<uint32_t> Image::PropertyIds() const {
    std::vector<uint32_t> ids;
    ids.reserve(m_properties.size());
    for (const PropertyItem& item : m_properties) ids.push_back(item.id);
    return ids;
}

const PropertyItem* Image::Property(uint32_t id) {
    for (const PropertyItem& item : m_properties) {
        if (item.id == id) return &item;
    }
    Fail(Status::PropertyNotFound, "no item " + std::to_string(id));
    return nullptr;
}

}  // namespace orv::image
