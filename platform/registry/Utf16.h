// Conversions between the UTF-8 strings the program works with and the
// UTF-16LE bytes that text values hold in the registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::reg {

// UTF-16LE bytes of text, with a terminating NUL code unit when withNul.
// Invalid UTF-8 sequences become U+FFFD.
std::vector<uint8_t> Utf8ToUtf16Bytes(std::string_view text, bool withNul);

// UTF-8 text of UTF-16 code units; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The UTF-16 code units of little-endian bytes (an odd last byte is dropped).
std::u16string BytesToUtf16(const uint8_t* data, size_t size);

// Text of a registry string value: the code units up to the first NUL or the
// end of the data, whichever comes first.
std::u16string StringValueText(const uint8_t* data, size_t size);

// UTF-16 code units of UTF-8 text, exactly, or nothing when the text is not
// valid UTF-8.
std::optional<std::u16string> Utf8ToUtf16Exact(std::string_view text);

}  // namespace orv::reg
