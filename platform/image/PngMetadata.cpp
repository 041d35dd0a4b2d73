#include "PngMetadata.h"

#include <zlib.h>

#include <cstring>
#include <string_view>

#include "ByteReader.h"
#include "ExifIfd.h"
#include "Inflate.h"

namespace orv::image {
namespace {

constexpr std::string_view kDescription = "Description";

// The text of a tEXt, zTXt or iTXt chunk whose keyword is "Description", as
// 8-bit text with a terminating NUL; false for other keywords or broken
// chunks.
bool DescriptionText(std::string_view type, const uint8_t* d, size_t n, std::vector<uint8_t>* text) {
    const auto* nul = static_cast<const uint8_t*>(std::memchr(d, 0, n));
    if (!nul || std::string_view(reinterpret_cast<const char*>(d), size_t(nul - d)) != kDescription)
        return false;
    size_t pos = size_t(nul - d) + 1;
    if (type == "tEXt") {
        text->assign(d + pos, d + n);
    } else if (type == "zTXt") {
        if (pos >= n || d[pos] != 0) return false;  // compression method 0 only
        if (!InflateBounded(d + pos + 1, n - pos - 1, kMaxInflatedItem, text)) return false;
    } else {  // iTXt: flag, method, language tag NUL, translated keyword NUL, text
        if (pos + 2 > n) return false;
        const bool compressed = d[pos] != 0;
        if (compressed && d[pos + 1] != 0) return false;
        pos += 2;
        for (int field = 0; field < 2; ++field) {
            const auto* end = static_cast<const uint8_t*>(std::memchr(d + pos, 0, n - pos));
            if (!end) return false;
            pos = size_t(end - d) + 1;
        }
        if (compressed) {
            if (!InflateBounded(d + pos, n - pos, kMaxInflatedItem, text)) return false;
        } else {
            text->assign(d + pos, d + n);
        }
    }
    text->push_back(0);
    return true;
}

}  // namespace

void ReadPngMetadata(const uint8_t* data, size_t size, Decoded* out) {
    ByteReader r(data, size);
    bool haveIcc = false, haveDescription = false;
    const uint8_t* exif = nullptr;
    size_t exifSize = 0;
    for (size_t pos = 8;;) {
        uint32_t length = 0;
        if (!r.U32BE(pos, &length) || length > 0x7FFFFFFF || !r.Has(pos + 8, size_t{length} + 4)) break;
        const std::string_view type(reinterpret_cast<const char*>(data + pos + 4), 4);
        const uint8_t* body = data + pos + 8;
        uint32_t storedCrc = 0;
        r.U32BE(pos + 8 + length, &storedCrc);
        const size_t next = pos + 12 + length;
        if (type == "IEND") break;
        const bool wanted = type == "iCCP" || type == "tEXt" || type == "zTXt" || type == "iTXt" ||
                            type == "eXIf";
        if (!wanted || crc32(0, data + pos + 4, length + 4) != storedCrc) {
            pos = next;
            continue;
        }
        if (type == "iCCP" && !haveIcc) {
            // Profile name (1 to 79 bytes), NUL, compression method 0, zlib data.
            const auto* nul = static_cast<const uint8_t*>(std::memchr(body, 0, length));
            std::vector<uint8_t> profile;
            if (nul && nul + 1 < body + length && nul[1] == 0 &&
                InflateBounded(nul + 2, length - size_t(nul + 2 - body), kMaxInflatedItem, &profile)) {
                out->AddProperty(kTagIccProfile, kPropertyUndefined, std::move(profile));
                haveIcc = true;
            }
        } else if (type == "eXIf") {
            if (!exif) {
                exif = body;
                exifSize = length;
            }
        } else if (!haveDescription) {
            std::vector<uint8_t> text;
            if (DescriptionText(type, body, length, &text)) {
                out->AddProperty(kTagImageDescription, kPropertyAscii, std::move(text));
                haveDescription = true;
            }
        }
        pos = next;
    }
    // Last, so that the dedicated chunks win over Exif items of the same id.
    if (exif) ReadIfd0Items(exif, exifSize, out);
}

}  // namespace orv::image
