#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs it. Any report fails
# the run; leaks inside the system libraries are listed in lsan.supp.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ASAN_BUILD_DIR:-$root/build-asan}"
"$root/scripts/setup-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALEN_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_odr_violation=0"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
ctest --output-on-failure -j"$(nproc)"
