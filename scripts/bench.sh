#!/usr/bin/env bash
# Builds and runs every benchmark; each prints its figures beside its floor.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh" >/dev/null
status=0
for b in "${BUILD_DIR:-$root/build}"/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" || status=1
done
exit $status
