// The text form of a hive file, after the export format of a registry editor:
//
//   [HKEY_CURRENT_USER\Software\TessalyCAD\Orvalen\Settings]
//   "WindowWidth"=dword:00000320
//   "MouseDrag"="0.3000000000"
//   "Odd"=hex(1):31,00,00,00
//   @="default value"
//
// A string value is written as quoted text only when its bytes are exactly
// UTF-16LE text with one terminating NUL and no control characters; every
// other value of a type without a form of its own is written as hex(N) bytes,
// so that each value keeps its type and exact bytes. Lines beginning with ';'
// are comments.
#pragma once

#include <string>
#include <string_view>

#include "Hive.h"

namespace orv::reg {

std::string SerializeHive(const Hive& hive, std::string_view rootName);

// Parses text into *hive. On failure returns false and says in *error which
// line did not parse and why.
bool ParseHive(std::string_view text, std::string_view rootName, Hive* hive, std::string* error);

}  // namespace orv::reg
