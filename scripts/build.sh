#!/usr/bin/env bash
# Configures and builds into build/ with Ninja. Two jobs: the machines this runs on have two cores.
# TARGETS="zelmora ..." builds only those targets (the run script needs just the reader).
set -euo pipefail
cd "$(dirname "$0")/.."
# ccache, where the machine has it, keeps rebuilds of several checkouts cheap.
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "${BUILD_DIR:-build}" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${launcher[@]:+"${launcher[@]}"} "$@" >/dev/null
read -r -a targets <<<"${TARGETS:-}"
cmake --build "${BUILD_DIR:-build}" -j "${JOBS:-2}" ${targets[@]:+--target "${targets[@]}"}
