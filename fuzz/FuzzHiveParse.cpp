// The hive file parser over any text; whatever parses must write back to text
// that parses to the same hive.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry/HiveText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    orv::reg::Hive hive;
    std::string error;
    if (!orv::reg::ParseHive(text, "HKEY_CURRENT_USER", &hive, &error)) return 0;
    const std::string written = orv::reg::SerializeHive(hive, "HKEY_CURRENT_USER");
    orv::reg::Hive again;
    if (!orv::reg::ParseHive(written, "HKEY_CURRENT_USER", &again, &error) || !(again == hive)) __builtin_trap();
    return 0;
}
