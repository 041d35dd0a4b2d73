// One headless GL context per test program, made current on first use.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/gl/HeadlessContext.h"

namespace orv::test {

inline bool EnsureGlContext(int width = 64, int height = 64) {
    static gl::HeadlessContext* context = nullptr;
    static std::string error;
    if (!context) {
        context = new gl::HeadlessContext;  // lives as long as the program
        if (!context->Create(width, height, &error)) {
            ADD_FAILURE() << "no headless GL context: " << error;
            return false;
        }
    }
    return error.empty();
}

}  // namespace orv::test
