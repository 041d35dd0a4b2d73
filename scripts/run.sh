#!/usr/bin/env bash
# Sets up, builds and opens the viewer on the project's sample panorama. On a
# machine without a display it writes a headless render of the sample instead.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh" >/dev/null
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/app/orvalen" "$root/sample/sample.orvp"
fi
out="$build/sample-render.png"
echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): rendering the sample without a window."
"$build/cli/orvalen-render" --size 1280x720 --yaw 30 --pitch 5 "$root/sample/sample.orvp" -o "$out"
echo "$out"
