#!/usr/bin/env bash
# Run by run.sh on a virtual screen: starts the reader, takes a screenshot of its first window,
# then (with the demo news site's log given) picks 获取新闻 → 时事新闻 → 国际时事 and, once the demo
# has served that feed, takes one with the headlines; then closes the reader as the session would.
#
#   screenshots.sh EXE OUT_DIR [DEMO_LOG]
set -euo pipefail
exe=$1 out=$2 demo_log=${3:-}
say() { echo "run.sh: $*" >&2; }

"$exe" &
app=$!
trap 'kill "$app" 2>/dev/null || true' EXIT

# The main window: the visible one of that name larger than a few pixels.
win=
for _ in $(seq 1 120); do
  for w in $(xdotool search --onlyvisible --name '^Zelmora新闻浏览器$' 2>/dev/null || true); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null || echo WIDTH=0)"
    [ "${WIDTH:-0}" -gt 300 ] && win=$w && break
  done
  [ -n "$win" ] && break
  kill -0 "$app" 2>/dev/null || { say "the reader ended before its window showed"; exit 1; }
  sleep 0.5
done
[ -n "$win" ] || { say "the reader's window did not show within a minute"; exit 1; }
sleep 2

shot() {
  # The pointer off the window, so nothing shows its hover look.
  xdotool mousemove 1 1
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$win")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1"
  say "screenshot: $out/$1"
}
shot first-window.png

if [ -n "$demo_log" ]; then
  # 获取新闻 on the menu bar (in device pixels, so scaled as the window is), then 时事新闻 → 国际时事
  # by keys.
  read -r mx my < <(awk -v s="${QT_SCALE_FACTOR:-1}" 'BEGIN { printf "%d %d\n", 72 * s, 40 * s }')
  xdotool mousemove --window "$win" "$mx" "$my" click 1
  sleep 0.5
  xdotool key Down Right
  sleep 0.5
  xdotool key Return
  for _ in $(seq 1 60); do
    grep -q 'GET /rss/world.xml' "$demo_log" && break
    sleep 0.5
  done
  if grep -q 'GET /rss/world.xml' "$demo_log"; then
    sleep 2 # the list fills and paints
    shot headlines.png
  else
    say "the demo was not asked for its feed: no screenshot with headlines"
  fi
fi
kill -TERM "$app"
wait "$app" || true
trap - EXIT
