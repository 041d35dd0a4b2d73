// The program's string table: the texts the user sees, as the program shows
// them, with their resource numbers.
#pragma once

#include <string>
#include <string_view>

namespace orv::strings {

constexpr int kDocumentString = 128;
constexpr int kOpenGlFailed = 129;
constexpr int kImageLibraryFailed = 130;
constexpr int kPanoramaNotLoaded = 131;
constexpr int kOleFailed = 132;

// The text of a string resource; empty for an unknown number.
std::string_view Text(int id);

// The text with its single %s replaced by argument.
std::string Format(int id, std::string_view argument);

}  // namespace orv::strings
