#!/usr/bin/env bash
# Makes the Debian package zelmora_<version>_amd64.deb in build-deb/ (or $BUILD_DIR): an optimised
# build for /usr without tests or benchmarks, hardened as Debian builds its packages, installed by
# CPack, its dependencies read off the binaries by dpkg-shlibdeps, then checked with lintian.
# Prints the package's path.
#
#   scripts/package.sh && sudo apt install ./build-deb/zelmora_*_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
dir=${BUILD_DIR:-build-deb}
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# Debian's hardening (fortified calls, stack protector, read-only relocations bound at start), as
# dpkg-buildflags gives it to every package.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cflags="$cppflags $(dpkg-buildflags --get CFLAGS)"
cxxflags="$cppflags $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_C_FLAGS="$cflags" -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DZELMORA_TESTS=OFF -DZELMORA_BENCH=OFF ${launcher[@]:+"${launcher[@]}"} >/dev/null
cmake --build "$dir" -j "${JOBS:-2}"
rm -f "$dir"/zelmora_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
deb=$(ls "$dir"/zelmora_*.deb)
# lintian reports; an error in its report fails the packaging.
if command -v lintian >/dev/null 2>&1; then
  report=$(lintian --tag-display-limit 0 "$deb" || true)
  [ -n "$report" ] && printf '%s\n' "$report"
  if grep -q '^E:' <<<"$report"; then
    echo "package.sh: lintian found errors in $deb" >&2
    exit 1
  fi
fi
echo "$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")"
