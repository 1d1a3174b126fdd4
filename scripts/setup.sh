#!/usr/bin/env bash
# Installs every Debian package the project needs. Idempotent; runs as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git python3
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libpsl-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool imagemagick openbox x11-utils
  curl python3-feedparser libssl-dev ca-certificates openssl
  desktop-file-utils appstream lintian file
  fonts-wqy-zenhei fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "setup: these Debian packages are missing and installing them needs root or sudo:" >&2
  echo "  ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
