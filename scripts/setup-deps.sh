#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, run and test.
# Idempotent and quiet: it calls apt-get only for packages that are missing.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config
  # toolkit and graphics
  qt6-base-dev qt6-translations-l10n libgl-dev libglu1-mesa-dev libegl-dev
  libgl1-mesa-dri libegl-mesa0 libx11-dev
  # codecs
  libpng-dev libjpeg62-turbo-dev libtiff-dev libgif-dev libwebp-dev zlib1g-dev
  # tests and fixtures
  libgtest-dev python3 python3-pil fonts-dejavu-core xvfb xdotool x11-apps imagemagick
  shared-mime-info desktop-file-utils xdg-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
