#!/usr/bin/env bash
# Takes the screens of the window in docs/screens/. In DeepBlue: side-pinned.png and article.png
# (an article of 国际时事 beside the pinned headline list), side-unpinned.png (the channel shrunk
# to its bar), side-popped-out.png (popped out over the pane), panel-collapsed.png (the content
# panel folded to its "新闻内容" bar) and window-about.png (the about page in a window that
# config.ini puts at 60, 40, 760 × 560). In the first-run MacOS style:
# skinned-window-dropdown-macos.png (获取新闻's drop-down, the window as window-check.sh leaves it
# for its DeepBlue one) and control-box-menu.png (the window menu). The reader runs under Xvfb
# and openbox from a copy beside a fresh config.ini, against the demo news site, and is driven
# with xdotool as a user would drive it.
#
#   scripts/screens-window.sh [EXE]     (EXE: build/app/zelmora; needs xvfb, openbox, xdotool and
#                                        ImageMagick's import)
#
# The demo runs on its own ports (SCREENS_PORT, default 18580, and the two after it) for the time
# of the shots. Positions below are relative to the window, as DeepBlue lays it out unless said.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${SCREENS_UNDER_XVFB:-}" ]; then
  SCREENS_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

exe=${1:-build/app/zelmora}
PORT=${SCREENS_PORT:-18580}
MENU_Y=40           # the menu bar under the 29-pixel title bar
NEWS_X=72           # 获取新闻
HELP_X=306          # 帮助
HEADLINE_X=100      # the second headline, 挪威与邻国签署边境贸易便利化协定
HEADLINE_Y=150
PIN_X=272 PIN_Y=100 # the pin at the right of the list's caption bar
BAR_X=12 BAR_Y=330  # the unpinned channel's 10-pixel bar, on its grip
out=docs/screens
say() { echo "screens: $*" >&2; }

[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d)
cp "$exe" "$work/zelmora"
# The browser pane's engine is a module found beside the executable (or in ../lib/zelmora/).
cp "$(dirname "$exe")/../lib/zelmora/webpane.so" "$work/"
pids=()
app=
cleanup() {
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; wait "$app" || true; fi
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
python3 demo/serve.py --port "$PORT" --iplookup-port $((PORT + 1)) --tls-port $((PORT + 2)) 2>>"$work/demo.log" &
demo=$!
pids+=("$demo")
# The window manager up before the reader: a window it finds already mapped gets no focus.
for _ in $(seq 1 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

# Starts the reader on a fresh config.ini with the given "form" keys and the demo's hosts, and
# waits for its window (the visible one of that name larger than a few pixels).
start() {
  printf '[form]\r\n%s' "$1" >"$work/config.ini"
  # (A demo that could not have its ports has ended: another server there is not ours.)
  if ! python3 demo/serve.py --write-config "$work/config.ini" --port "$PORT" --iplookup-port $((PORT + 1)) ||
    ! kill -0 "$demo" 2>/dev/null; then
    say "the demo news site did not start on 127.0.0.1:$PORT (SCREENS_PORT moves it); its log:"
    cat "$work/demo.log" >&2
    exit 1
  fi
  : >"$work/demo.log"
  "$work/zelmora" >"$work/reader.log" 2>&1 &
  app=$!
  for _ in $(seq 1 120); do
    find_window && return 0
    kill -0 "$app" 2>/dev/null || break
    sleep 0.5
  done
  say "the reader's window did not show; its log:"
  cat "$work/reader.log" >&2
  exit 1
}

# Closes the reader as the session would (SIGTERM closes it as its close button does).
stop() {
  kill -TERM "$app"
  wait "$app" || true
  app=
}

find_window() {
  win=
  for w in $(xdotool search --onlyvisible --name '^Zelmora新闻浏览器$' 2>/dev/null || true); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null || echo WIDTH=0)"
    if [ "${WIDTH:-0}" -gt 300 ]; then
      win=$w WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
      return 0
    fi
  done
  return 1
}

# A digest of what the window shows in a rectangle of it (x y w h); the whole window without one.
snap() {
  find_window
  local geometry="${WW}x${WH}+${WX}+${WY}"
  [ $# -eq 4 ] && geometry="${3}x${4}+$((WX + $1))+$((WY + $2))"
  import -window root -crop "$geometry" +repage rgb:- | md5sum
}

# Waits until the rectangle shows something other than the digest $1, then until it holds still
# (a slide runs in steps, a page paints in parts). Fails after about 20 seconds.
changed_and_still() {
  local before=$1 now last="" same=0
  shift
  for _ in $(seq 1 80); do
    now=$(snap "$@")
    if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
    # Three equal pictures in a row, a quarter of a second apart: a slide step or a page's next
    # part would show within that.
    if [ "$now" != "$before" ] && [ $same -ge 2 ]; then return 0; fi
    last=$now
    sleep 0.25
  done
  find_window
  import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "${TMPDIR:-/tmp}/screens-unchanged.png"
  say "the window did not change as it should (rectangle ${*:-whole}): see ${TMPDIR:-/tmp}/screens-unchanged.png"
  return 1
}

served() { # waits for the demo to log a request whose line matches $1
  for _ in $(seq 1 60); do
    grep -q "$1" "$work/demo.log" && return 0
    sleep 0.5
  done
  say "the demo was not asked for $1; its log ends:"
  tail -n 5 "$work/demo.log" >&2
  return 1
}

at() { find_window && xdotool mousemove --window "$win" "$1" "$2"; }
away() { xdotool mousemove 1270 1010; }

shot() {
  find_window
  import -window root -crop "${WW}x${WH}+${WX}+${WY}" +repage "$out/$1"
  echo "$out/$1"
}

# --- The default window: headlines, an article, the side channel's three states, the panel.
start $'skin=7\r\nshowtitle=1\r\n'
away
sleep 1 # the first paint of the pane; the window then holds still
changed_and_still "" 0 0 "$WW" "$WH"

# 获取新闻 → 时事新闻 → 国际时事: the drop-down opens under the click, the keys walk it.
list=$(snap 20 115 240 420)
menu=$(snap 43 53 130 60)
at "$NEWS_X" "$MENU_Y"
xdotool click 1
changed_and_still "$menu" 43 53 130 60
xdotool key Down Right
sleep 0.3
xdotool key Return
served 'GET /rss/world.xml'
changed_and_still "$list" 20 115 240 420

# A double click on a headline opens its article in the pane (by way of the redirector).
pane=$(snap 300 100 300 300)
at "$HEADLINE_X" "$HEADLINE_Y"
xdotool click --repeat 2 --delay 80 1
served 'GET /news/'
away
changed_and_still "$pane" 300 100 300 300
sleep 1 # the page's late parts (fonts, the footer) paint without changing the top
changed_and_still "" 0 0 "$WW" "$WH"
shot side-pinned.png
# The article screen shows the same state: the opened article beside the pinned list.
cp "$out/side-pinned.png" "$out/article.png"
echo "$out/article.png"

# Unpinned, the channel shrinks to its bar once the pointer has been away for a second: then
# the pane shows where the list's caption was.
caption=$(snap 20 93 230 13)
at "$PIN_X" "$PIN_Y"
xdotool click 1
away
changed_and_still "$caption" 20 93 230 13
changed_and_still "" 0 0 "$WW" "$WH"
shot side-unpinned.png

# The pointer onto the bar pops the channel out over the pane; it stays there for the shot.
caption=$(snap 20 93 230 13)
at "$BAR_X" "$BAR_Y"
changed_and_still "$caption" 20 93 230 13
changed_and_still "" 0 0 "$WW" "$WH"
shot side-popped-out.png

# Away again, the channel goes back to its bar; then the button at the right of the "新闻内容"
# bar folds the panel up to that bar, and the pane's place shows the window's own colour.
caption=$(snap 20 93 230 13)
away
changed_and_still "$caption" 20 93 230 13
pane=$(snap 300 300 300 200)
at $((WW - 13)) 76
xdotool click 1
# Off the button along the bar: the button drops its hover look only for a move over the bar.
at 300 76
away
changed_and_still "$pane" 300 300 300 200
changed_and_still "" 0 0 "$WW" "$WH"
shot panel-collapsed.png
stop

# --- The window where config.ini puts it, with the about page (帮助 → 关于...).
start $'top=40\r\nleft=60\r\nwidth=760\r\nheigth=560\r\nskin=7\r\nshowtitle=1\r\n'
away
sleep 1
changed_and_still "" 0 0 "$WW" "$WH"
[ "$WX,$WY" = "60,40" ] || say "the window stands at $WX,$WY, not at 60,40 as its config.ini says"
menu=$(snap $((HELP_X - 10)) 53 100 40)
at "$HELP_X" "$MENU_Y"
xdotool click 1
changed_and_still "$menu" $((HELP_X - 10)) 53 100 40
xdotool key Down Down Return
pane=$(snap 300 100 300 300)
away
changed_and_still "$pane" 300 100 300 300
shot window-about.png
stop

# --- 获取新闻's drop-down in MacOS, framed as window-check.sh frames its DeepBlue one: the window
# and 10 pixels beyond it to the right and below.
start $'top=83\r\nleft=243\r\nwidth=742\r\nheigth=595\r\nskin=0\r\n'
away
sleep 1
changed_and_still "" 0 0 "$WW" "$WH"
menu=$(snap 43 45 130 60)
at 93 33 # MacOS's menu bar lies higher, under its 20-pixel title bar
xdotool click 1
changed_and_still "$menu" 43 45 130 60
import -window root -crop "$((WW + 10))x$((WH + 10))+$WX+$WY" +repage "$out/skinned-window-dropdown-macos.png"
echo "$out/skinned-window-dropdown-macos.png"
xdotool key Escape
stop

# --- A first run's window (no "form" keys: MacOS, the default place and size) with the window
# menu that a click on the control box opens once no second click can follow; the top left of
# the window and 10 pixels beyond it.
start ""
away
sleep 1
changed_and_still "" 0 0 "$WW" "$WH"
menu=$(snap 30 25 140 80)
at 12 11
xdotool click 1
changed_and_still "$menu" 30 25 140 80
away # once the menu is up: the box keeps its open look, as for a user who moves on to an item
changed_and_still "" 0 0 "$WW" "$WH"
import -window root -crop "500x300+$((WX - 10))+$((WY - 10))" +repage "$out/control-box-menu.png"
echo "$out/control-box-menu.png"
xdotool key Escape
stop
