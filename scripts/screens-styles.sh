#!/usr/bin/env bash
# Takes docs/screens/style-<name>.png: the reader as a newcomer starts it (scripts/run.sh, with the
# demo news site) under Xvfb, driven with xdotool through its menus: 获取新闻 → 时事新闻 → 国际时事,
# a double click on the first headline to open the article, then 选项 → 界面风格 → each of the
# five styles; then started once more on our green theme file ([theme] file=green.sui).
#
#   scripts/screens-styles.sh            (needs xvfb, xdotool and ImageMagick's import)
#
# The build's config.ini is put back afterwards. Positions below are relative to the window.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${SCREENS_UNDER_XVFB:-}" ]; then
  SCREENS_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

MENU_Y=${MENU_Y:-40}          # the menu bar under the title bar (3-pixel band + 20 to 30 per style)
NEWS_X=${NEWS_X:-72}          # 获取新闻
OPTIONS_X=${OPTIONS_X:-121}   # 选项
HEADLINE_X=${HEADLINE_X:-100} # the first headline in the list
HEADLINE_Y=${HEADLINE_Y:-147}
out=docs/screens
config=build/app/config.ini
mkdir -p build/app "$out"
saved=$(mktemp)
[ -f "$config" ] && cp "$config" "$saved"
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  if [ -s "$saved" ]; then cp "$saved" "$config"; else rm -f "$config"; fi
  rm -f "$saved"
}
trap cleanup EXIT

form_keys=$'[form]\r\ntop=40\r\nleft=60\r\nwidth=800\r\nheigth=600\r\nskin=1\r\nshowtitle=1\r\n'

# The main window: the visible one of that name larger than a few pixels. Looked up before each
# action, as the window is made anew when the browser pane first shows a page.
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

# Starts the reader with the given extra config text and waits for its window.
start() {
  # Keep a "hosts" section (the demo's or the user's); replace the rest.
  python3 - "$config" "$form_keys$1" <<'PY'
import sys, re
path, text = sys.argv[1], sys.argv[2]
try:
    old = open(path, 'rb').read().decode('latin-1')
except FileNotFoundError:
    old = ''
m = re.search(r'(?ms)^\[hosts\].*?(?=^\[|\Z)', old)
open(path, 'wb').write((text + (m.group(0) if m else '')).encode('latin-1'))
PY
  scripts/run.sh >/dev/null 2>&1 &
  app=$!
  for _ in $(seq 1 120); do
    sleep 1
    find_window && break
  done
  [ -n "$win" ] || { echo "screens: the window did not appear" >&2; exit 1; }
  sleep 2
}

stop() {
  pkill -P "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=
}

click() { find_window && xdotool mousemove --window "$win" "$1" "$2" click 1; }
double_click() { find_window && xdotool mousemove --window "$win" "$1" "$2" click --repeat 2 --delay 80 1; }

# 获取新闻 → 时事新闻 → 国际时事, then the first article.
headlines_and_article() {
  click "$NEWS_X" "$MENU_Y"
  sleep 0.5
  xdotool key Down Right
  sleep 0.5
  xdotool key Return
  sleep 3
  double_click "$HEADLINE_X" "$HEADLINE_Y"
  sleep 8
}

# 选项 → 界面风格 → the n-th style (1 默认/MacOS ... 5 梦幻水晶/Protein).
style() {
  click "$OPTIONS_X" "$MENU_Y"
  sleep 0.5
  xdotool key Down Down Right
  sleep 0.5
  for _ in $(seq 2 "$1"); do xdotool key Down; done
  xdotool key Return
  sleep 2
}

shot() {
  find_window
  # The window active, as it is when the user works in it, and the pointer off it, so no button
  # shows its hover look.
  xdotool mousemove 1270 1010
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$win")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/style-$1.png"
  echo "$out/style-$1.png"
}

start ""
headlines_and_article
n=1
for name in macos deepblue winxp blueglass protein; do
  style $n
  shot "$name"
  n=$((n + 1))
done
stop

start $'[theme]\r\nfile=green.sui\r\n'
headlines_and_article
shot green
stop
