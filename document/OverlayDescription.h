// The overlay's placement as a strip image's description item carries it:
// five decimal integers separated by ';' (position x, position y, size,
// anchor, opacity). Runs of separators count as one, missing fields read as
// 0, and each field is read as an optional sign and the digits that follow
// (12.5 reads as 12, "7px" as 7, "x" as 0).
#pragma once

#include <cstdint>
#include <string_view>

struct OverlayDescription {
    double posX = 0;
    double posY = 0;
    double size = 0;
    int32_t anchor = 0;
    double opacity = 0;
};

OverlayDescription ParseOverlayDescription(std::string_view text);
