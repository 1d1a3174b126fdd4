#!/usr/bin/env bash
# Sets up, builds and starts the reader. Unless config.ini beside the executable has a "hosts"
# section of your own, it starts the bundled demo news site on 127.0.0.1 and points the reader at
# it: on port 8480 (ZELMORA_DEMO_PORT moves it; the IP-location page takes the next port), or the
# first free pair of ports after it. ZELMORA_DEMO=0 skips the demo.
#
# Where there is no display, the reader runs on a virtual screen (Xvfb): the script takes a
# screenshot of the first window and, once the demo's headlines have loaded, one with them
# (ZELMORA_SHOTS names the folder, build/run-screens by default), prints where they are and closes
# the reader. ZELMORA_SCREEN sets the virtual screen (1280x1024x24).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
TARGETS=zelmora scripts/build.sh
exe=build/app/zelmora
config=build/app/config.ini
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
say() { echo "run.sh: $*" >&2; }

# The first port from $1 on that is free on 127.0.0.1 together with the one after it.
free_port_pair() {
  python3 - "$1" <<'PY'
import socket, sys
def free(p):
    # As the demo's server binds (reusing the address), so a closed connection's wait does not count.
    s = socket.socket()
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    try:
        s.bind(("127.0.0.1", p))
        return True
    except OSError:
        return False
    finally:
        s.close()
p = int(sys.argv[1])
while p < 65535 and not (free(p) and free(p + 1)):
    p += 2 if not free(p + 1) else 1
print(p if p < 65535 else 0)
PY
}

demo_pid=
demo_log=
stop_demo() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null || true
}
trap stop_demo EXIT

start_demo() {
  local wanted=${ZELMORA_DEMO_PORT:-8480}
  if ! [[ "$wanted" =~ ^[0-9]+$ ]] || [ "$wanted" -lt 1 ] || [ "$wanted" -gt 65534 ]; then
    say "ZELMORA_DEMO_PORT must be a port number from 1 to 65534, not \"$wanted\""
    exit 1
  fi
  port=$(free_port_pair "$wanted")
  if [ "$port" = 0 ]; then
    say "no free port for the demo news site from $wanted on"
    exit 1
  fi
  [ "$port" != "$wanted" ] && say "ports $wanted and $((wanted + 1)) are not both free: the demo news site uses $port and $((port + 1)) instead"
  demo_log=build/demo.log
  python3 demo/serve.py --port "$port" 2>"$demo_log" &
  demo_pid=$!
  # The demo answers, or it died: then nothing is started against it.
  for _ in $(seq 1 100); do
    kill -0 "$demo_pid" 2>/dev/null || break
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
  done
  if ! kill -0 "$demo_pid" 2>/dev/null || ! python3 demo/serve.py --write-config "$config" --port "$port" 2>>"$demo_log"; then
    say "the demo news site did not start on 127.0.0.1:$port; its log ($demo_log) ends:"
    tail -n 5 "$demo_log" >&2
    exit 1
  fi
  say "demo news site on http://127.0.0.1:$port/"
}

if [ -f demo/serve.py ] && [ "${ZELMORA_DEMO:-1}" != 0 ] && python3 demo/serve.py --owns-config "$config"; then
  start_demo
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  "$exe"
  exit $?
fi

shots=${ZELMORA_SHOTS:-build/run-screens}
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
say "no display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the reader on a virtual screen (Xvfb) and taking screenshots into $shots"
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
xvfb-run -a -s "-screen 0 ${ZELMORA_SCREEN:-1280x1024x24}" scripts/screenshots.sh "$exe" "$shots" "${demo_log:-}"
