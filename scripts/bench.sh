#!/usr/bin/env bash
# Builds and runs every benchmark; each prints its figures beside its floor.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh" >/dev/null
status=0
build="${BUILD_DIR:-$root/build}"
for b in "$build"/bench/bench_*; do
  [ -x "$b" ] || continue
  case "$b" in *_floor) continue ;; esac
  echo "== $(basename "$b")"
  "$b" || status=1
done
echo "== bench_startup"
/usr/bin/python3 "$root/bench/bench_startup.py" "$build/app/orvalen" "$build/bench/bench_startup_floor" || status=1
exit $status
