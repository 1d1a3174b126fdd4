#!/usr/bin/env bash
# Sets up, builds and starts the reader. Unless config.ini beside the executable has a "hosts"
# section of your own, it starts the bundled demo news site on 127.0.0.1 and points the reader at it.
# Where there is no display, the reader runs under xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
TARGETS=zelmora scripts/build.sh
exe=build/app/zelmora
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
# The demo site leaves a "hosts" section of your own alone (and then is not started);
# ZELMORA_DEMO=0 skips it, ZELMORA_DEMO_PORT moves it (the IP-location page takes the next port).
config=build/app/config.ini
if [ -f demo/serve.py ] && [ "${ZELMORA_DEMO:-1}" != 0 ] && python3 demo/serve.py --owns-config "$config"; then
  port=${ZELMORA_DEMO_PORT:-8480}
  python3 demo/serve.py --port "$port" --quiet &
  demo_pid=$!
  trap 'kill $demo_pid 2>/dev/null || true' EXIT
  python3 demo/serve.py --write-config "$config" --port "$port"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
  xvfb-run -a -s "-screen 0 1280x1024x24" "$exe"
else
  "$exe"
fi
