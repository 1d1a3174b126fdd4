#!/usr/bin/env bash
# Builds the window, reader and HTTP tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (ZELMORA_SANITIZE) into build-asan/ and runs them there: the skinned controls, the framework
# under them, the main window with Qt's own dialogs, the feed reading and the HTTP client. Only the targets those
# tests need are built, so the pass stays short. Every fault aborts the test that meets it.
#   scripts/test-sanitized.sh            (after scripts/setup.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
areas=(framework_core canvas framework skin reader app http)
targets=()
for area in "${areas[@]}"; do
    for source in tests/"$area"/*_test.cpp; do
        targets+=("${area}_$(basename "$source" .cpp)")
    done
done
BUILD_DIR=build-asan TARGETS="${targets[*]}" scripts/build.sh -DZELMORA_SANITIZE=ON -DZELMORA_BENCH=OFF
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
# Leaks are not looked for: Qt, fontconfig and the X libraries keep what they allocate for the
# process's life, and the report would bury the faults this pass is for. The web engine's own
# code frees some objects through a sized delete of another type, which would stop every test
# that starts it; -Wall's delete-non-virtual-dtor warning covers that fault in our code.
export ASAN_OPTIONS="detect_leaks=0:new_delete_type_mismatch=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-asan
ctest --output-on-failure -j "${JOBS:-2}" -L "^($(IFS='|'; echo "${areas[*]}"))\$"
