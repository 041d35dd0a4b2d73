#include "OverlayDescription.h"

#include <array>

namespace {

// The leading integer of a field after white space. Digits beyond what an
// int32 holds saturate instead of overflowing.
int64_t ReadInteger(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || (field[i] >= '\t' && field[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    int64_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        if (value < (int64_t{1} << 40)) value = value * 10 + (field[i] - '0');
    }
    value = negative ? -value : value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return value;
}

}  // namespace

OverlayDescription ParseOverlayDescription(std::string_view text) {
    std::array<int64_t, 5> fields{};
    size_t count = 0, pos = 0;
    while (count < fields.size()) {
        while (pos < text.size() && text[pos] == ';') ++pos;
        if (pos >= text.size()) break;
        size_t end = text.find(';', pos);
        if (end == std::string_view::npos) end = text.size();
        fields[count++] = ReadInteger(text.substr(pos, end - pos));
        pos = end;
    }
    OverlayDescription d;
    d.posX = static_cast<double>(fields[0]);
    d.posY = static_cast<double>(fields[1]);
    d.size = static_cast<double>(fields[2]);
    d.anchor = static_cast<int32_t>(fields[3]);
    d.opacity = static_cast<double>(fields[4]);
    return d;
}
