// The overlay description parser over any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document/OverlayDescription.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const OverlayDescription d =
        ParseOverlayDescription(std::string_view(reinterpret_cast<const char*>(data), size));
    if (d.posX != d.posX) __builtin_trap();  // always a number
    return 0;
}
