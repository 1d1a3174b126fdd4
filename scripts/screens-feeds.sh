#!/usr/bin/env bash
# Takes docs/screens/feeds-atom.png and feeds-gb2312.png: the reader under Xvfb and openbox with a
# "feeds" section that points 国际时事 at the demo site's Atom feed and 国内社会 at its GB2312
# feed, each picked from the menu with xdotool (获取新闻 → 时事新闻 → 国际时事 / 国内社会).
#
#   scripts/screens-feeds.sh            (needs xvfb, openbox, xdotool and ImageMagick's import)
#
# The demo site runs on its own port (SCREENS_PORT, default 18480) for the time of the shots; the
# build's config.ini is put back afterwards. Positions below are relative to the window.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${SCREENS_UNDER_XVFB:-}" ]; then
  SCREENS_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

PORT=${SCREENS_PORT:-18480}
MENU_Y=${MENU_Y:-40} # the menu bar under the title bar
NEWS_X=${NEWS_X:-72} # 获取新闻
HEADLINE_X=${HEADLINE_X:-100} # the first headline in the list
HEADLINE_Y=${HEADLINE_Y:-123}
out=docs/screens
config=build/app/config.ini
TARGETS=zelmora scripts/build.sh
mkdir -p "$out"
saved=$(mktemp)
[ -f "$config" ] && cp "$config" "$saved"
pids=()
cleanup() {
  # The reader first and waited for: it writes config.ini as it closes, which would undo the
  # restore below.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  if [ -s "$saved" ]; then cp "$saved" "$config"; else rm -f "$config"; fi
  rm -f "$saved"
}
trap cleanup EXIT

openbox >/dev/null 2>&1 &
pids+=($!)
python3 demo/serve.py --port "$PORT" --iplookup-port $((PORT + 1)) --quiet >/dev/null 2>&1 &
pids+=($!)
printf '[form]\r\ntop=40\r\nleft=60\r\nwidth=800\r\nheigth=600\r\nskin=3\r\nshowtitle=1\r\n[hosts]\r\nfeed=127.0.0.1:%s\r\nsite=127.0.0.1:%s\r\nredirect=127.0.0.1:%s\r\n[feeds]\r\nworld=http://127.0.0.1:%s/feeds/atom.xml\r\nnative=http://127.0.0.1:%s/feeds/gb2312.xml\r\n' \
  "$PORT" "$PORT" "$PORT" "$PORT" "$PORT" >"$config"

[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
# The window manager up before the reader: a window mapped while openbox is still starting may
# never be shown at all.
for _ in $(seq 1 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
build/app/zelmora >/dev/null 2>&1 &
pids+=($!)

find_window() {
  win=
  for w in $(xdotool search --onlyvisible --name '^Zelmora新闻浏览器$' 2>/dev/null || true); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null || echo WIDTH=0)"
    if [ "${WIDTH:-0}" -gt 300 ]; then
      win=$w
      return 0
    fi
  done
  return 1
}
for _ in $(seq 1 60); do
  sleep 1
  find_window && break
done
[ -n "$win" ] || { echo "screens: the window did not appear" >&2; exit 1; }
sleep 2

# 获取新闻 → 时事新闻 → the n-th of its two categories, a double click on its first headline (its
# own link, no redirector), then a shot.
category() {
  find_window
  xdotool mousemove --window "$win" "$NEWS_X" "$MENU_Y" click 1
  sleep 0.5
  xdotool key Down Right
  sleep 0.5
  for _ in $(seq 2 "$1"); do xdotool key Down; done
  xdotool key Return
  sleep 3
  find_window
  xdotool mousemove --window "$win" "$HEADLINE_X" "$HEADLINE_Y" click --repeat 2 --delay 80 1
  sleep 8
  xdotool mousemove 1270 1010
  find_window
  eval "$(xdotool getwindowgeometry --shell "$win")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/feeds-$2.png"
  echo "$out/feeds-$2.png"
}

category 1 atom
category 2 gb2312
