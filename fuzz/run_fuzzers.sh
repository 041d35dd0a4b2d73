#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with address and undefined-behaviour
# sanitizers) and runs each for the given number of seconds, two at a time,
# starting from the committed seeds and regressions. Prints executions and
# findings per target; exits 1 when any target found something. Findings are
# kept in build-fuzz/findings/<target>/; copy one into
# fuzz/regressions/<target>/ once its cause is fixed.
#   fuzz/run_fuzzers.sh [SECONDS]     (default 60)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
targets=(container imagedecode pngmetadata exififd overlaydescription hiveparse)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVALEN_FUZZ=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null

run_one() {
  local t="$1" work="$build/fuzz-work/$1" findings="$build/findings/$1"
  mkdir -p "$work" "$findings"
  # The corpus grows in the build tree; the committed seeds stay as they are.
  cp -n "$root/fuzz/corpus/$t/"* "$work/" 2>/dev/null || true
  [ -d "$root/fuzz/regressions/$t" ] && cp -n "$root/fuzz/regressions/$t/"* "$work/" 2>/dev/null || true
  "$build/fuzz/fuzz_$t" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$findings/" >"$build/fuzz-$t.log" 2>&1 || true
  local execs found
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz-$t.log" | grep -o '[0-9]*$' || echo 0)
  found=$(find "$findings" -type f | wc -l)
  printf '%-22s %12s executions  %3d findings\n' "$t" "${execs:-0}" "$found"
}

export -f run_one
export build root seconds
status=0
printf '%s\n' "${targets[@]}" | xargs -P 2 -I{} bash -c 'run_one {}' | sort
for t in "${targets[@]}"; do
  if [ -n "$(find "$build/findings/$t" -type f 2>/dev/null)" ]; then status=1; fi
done
exit $status
