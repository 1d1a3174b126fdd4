#!/usr/bin/env bash
# Sets up, builds and starts the reader. Without a config.ini of your own beside the executable,
# it starts the bundled demo news site on 127.0.0.1 and points the reader's hosts at it.
# Where there is no display, the reader runs under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exe=build/app/zelmora
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
if [ -x demo/serve.py ] || [ -f demo/serve.py ]; then
  port=${ZELMORA_DEMO_PORT:-8480}
  python3 demo/serve.py --port "$port" &
  demo_pid=$!
  trap 'kill $demo_pid 2>/dev/null || true' EXIT
  python3 demo/serve.py --write-config build/app/config.ini --port "$port"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
  xvfb-run -a -s "-screen 0 1280x1024x24" "$exe"
else
  "$exe"
fi
