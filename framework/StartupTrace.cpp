#include "StartupTrace.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace framework {

void TracePhase(const char* phase) {
    static const bool enabled = std::getenv("ORVALEN_TRACE") != nullptr;
    if (!enabled) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "orvalen-trace %.3f %s\n", now.tv_sec * 1000.0 + now.tv_nsec / 1e6, phase);
}

}  // namespace framework
