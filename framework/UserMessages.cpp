#include "framework/UserMessages.h"

#include <cstdio>

void StandardErrorMessages::ShowWarning(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}
