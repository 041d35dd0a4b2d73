// The headless GL context every GL benchmark draws with; says why when there
// is none.
#pragma once

#include <cstdio>
#include <string>

#include "platform/gl/HeadlessContext.h"

namespace orv::bench {

inline bool CreateBenchContext(gl::HeadlessContext& context, int width, int height) {
    std::string error;
    if (context.Create(width, height, &error)) return true;
    std::fprintf(stderr, "no GL context: %s\n", error.c_str());
    return false;
}

}  // namespace orv::bench
