#include "RenderOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>

const char* const kRenderUsage =
    "usage: orvalen-render [--size WxH] [--yaw DEG] [--pitch DEG] [--half-fov DEG] FILE -o OUT.png\n"
    "       orvalen-render --thumbnail SIZE FILE -o OUT.png\n"
    "Draws one frame of a panorama (.orvp or .orvp2) without a window system and\n"
    "writes it as an RGB PNG. Defaults: 800x600, yaw 0, pitch 0, half-fov 30.\n";

namespace {

bool ParseNumber(const std::string& text, double* value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, *value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(*value);
}

bool ParseSize(const std::string& text, int* w, int* h) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return false;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto a = std::from_chars(begin, begin + x, *w);
    const auto b = std::from_chars(begin + x + 1, end, *h);
    // Beyond 16384 no GL implementation here gives a surface.
    return a.ec == std::errc() && a.ptr == begin + x && b.ec == std::errc() && b.ptr == end && *w > 0 &&
           *h > 0 && *w <= 16384 && *h <= 16384;
}

}  // namespace

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions* o, std::string* error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= args.size()) {
                *error = a + " needs a value";
                return false;
            }
            *out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--size") {
            if (!value(&v)) return false;
            if (!ParseSize(v, &o->width, &o->height)) return *error = "bad size: " + v, false;
        } else if (a == "--yaw" || a == "--pitch" || a == "--half-fov") {
            if (!value(&v)) return false;
            double* target = a == "--yaw" ? &o->yaw : a == "--pitch" ? &o->pitch : &o->halfFov;
            if (!ParseNumber(v, target)) return *error = "bad number for " + a + ": " + v, false;
        } else if (a == "--thumbnail") {
            if (!value(&v)) return false;
            const auto r = std::from_chars(v.data(), v.data() + v.size(), o->thumbnail);
            if (r.ec != std::errc() || r.ptr != v.data() + v.size() || o->thumbnail < 8 || o->thumbnail > 4096)
                return *error = "bad thumbnail size: " + v, false;
        } else if (a == "-o") {
            if (!value(&o->output)) return false;
        } else if (a == "--") {
            if (i + 2 != args.size() || !o->input.empty()) return *error = "one file after --", false;
            o->input = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            *error = "unknown option " + a;
            return false;
        } else if (o->input.empty()) {
            o->input = a;
        } else {
            *error = "more than one file";
            return false;
        }
    }
    if (o->input.empty()) return *error = "no panorama file", false;
    if (o->output.empty()) return *error = "no output file (-o)", false;
    if (o->thumbnail) {
        // A view of the width asked for, in the program's 4:3 proportion.
        o->width = o->thumbnail;
        o->height = std::max(1, o->thumbnail * 3 / 4);
    }
    return true;
}
