// Timestamps of the start-up phases on standard error when ORVALEN_TRACE is
// set: "orvalen-trace <ms> <phase>", the milliseconds on the monotonic clock,
// so that a tool that starts the program can measure from its own start.
#pragma once

namespace framework {

void TracePhase(const char* phase);

}  // namespace framework
