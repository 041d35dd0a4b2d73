// Which loader a path goes to, by its ending, compared character by
// character: ".orvp" is a strip image, ".orvp2" a container; any other
// ending, the upper-case forms included, is neither.
#pragma once

#include <string_view>

enum class PanoramaKind { None, Strip, Container };

inline PanoramaKind KindOfPath(std::string_view path) {
    if (path.ends_with(".orvp")) return PanoramaKind::Strip;
    if (path.ends_with(".orvp2")) return PanoramaKind::Container;
    return PanoramaKind::None;
}
