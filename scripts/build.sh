#!/usr/bin/env bash
# Configures and builds into build/ with Ninja. Two jobs: the machines this runs on have two cores.
# TARGETS="zelmora ..." builds only those targets (the run script needs just the reader).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
read -r -a targets <<<"${TARGETS:-}"
cmake --build build -j "${JOBS:-2}" ${targets[@]:+--target "${targets[@]}"}
