#!/usr/bin/env bash
# The skinned window as a newcomer meets it: the reader started in a virtual display with a real
# window manager (openbox), driven with xdotool. It moves the window by a title-bar drag, resizes
# it by an edge and by a corner, maximises and restores it by double-clicks on the title bar,
# minimises it with its button, and opens a drop-down from the menu bar. Prints one line per
# check and leaves screenshots in docs/screens/. Needs a built build/app/zelmora.
#
#   scripts/window-check.sh            # starts its own xvfb-run
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${WINDOW_CHECK_INNER:-}" ]; then
  exec env WINDOW_CHECK_INNER=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
exe=build/app/zelmora
shots=docs/screens
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d)
cp "$exe" "$work/zelmora"
# Skin index 7 keeps the window's created DeepBlue look (a first run would show MacOS).
printf '[hosts]\r\nfeed=127.0.0.1:9\r\n[form]\r\nskin=7\r\n' > "$work/config.ini"

openbox --sm-disable & wm=$!
# The window manager up first, as on a desktop: a window it finds already mapped when it starts is
# taken over without the focus, and the first screenshot would show an inactive title bar.
for _ in $(seq 1 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
"$work/zelmora" & app=$!
trap 'kill $app $wm 2>/dev/null || true; rm -rf "$work"' EXIT
failures=0
check() { # check <name> <condition...>
  local name=$1; shift
  if "$@"; then echo "ok   $name"; else echo "FAIL $name (window at $X,$Y size ${W}x$H)"; failures=$((failures + 1)); fi
}
geometry() { # sets X Y W H of the reader's window (its outer frame: it has no decorations)
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  X=$X; Y=$Y; W=$WIDTH; H=$HEIGHT
}
settle() { sleep 0.6; }

wid=$(xdotool search --sync --onlyvisible --name 'Zelmora' | head -1)
sleep 2
geometry
echo "window $wid at $X,$Y size ${W}x$H"
import -window root -crop "${W}x${H}+${X}+${Y}" "$shots/skinned-window.png"

# Move: press on a free spot of the title bar (band 3 + bar), drag, release.
x0=$X; y0=$Y
xdotool mousemove $((X + W / 2)) $((Y + 14)); settle
xdotool mousedown 1
xdotool mousemove_relative --sync 10 5; xdotool mousemove_relative --sync 60 35; settle
xdotool mouseup 1; settle
geometry
# The move starts once the pointer has left the press by the drag distance, so the window
# follows the pointer from there: at least the second stretch of the drag.
echo "moved by $((X - x0)),$((Y - y0))"
check "title-bar drag moves the window" test $((X - x0)) -ge 60 -a $((Y - y0)) -ge 35

# Resize by the right edge, then by the bottom-right corner.
w0=$W; h0=$H
xdotool mousemove $((X + W - 1)) $((Y + H / 2)); settle
xdotool mousedown 1; settle
xdotool mousemove_relative --sync 20 0; xdotool mousemove_relative --sync 30 0; settle
xdotool mouseup 1; settle
geometry
check "right-edge drag widens the window (by 50)" test $((W - w0)) -eq 50 -a $H -eq $h0
w0=$W; h0=$H
xdotool mousemove $((X + W - 1)) $((Y + H - 1)); settle
xdotool mousedown 1; settle
xdotool mousemove_relative --sync 10 10; xdotool mousemove_relative --sync 30 20; settle
xdotool mouseup 1; settle
geometry
check "corner drag resizes both ways (by 40,30)" test $((W - w0)) -eq 40 -a $((H - h0)) -eq 30
w0=$W; h0=$H
xdotool mousemove $((X + W - 1)) $((Y + H - 1)) mousedown 1
xdotool mousemove_relative --sync -- -300 -300; xdotool mousemove_relative --sync -- -2000 -2000; settle
xdotool mouseup 1; settle
geometry
check "never smaller than the minimum (130x50)" test $W -ge 130 -a $H -ge 50
xdotool mousemove $((X + W - 1)) $((Y + H - 1)) mousedown 1
xdotool mousemove_relative --sync 300 300; xdotool mousemove_relative --sync -- $((w0 - W - 300)) $((h0 - H - 300)); settle
xdotool mouseup 1; settle
geometry
normal="$X $Y $W $H"

# Maximise and restore by double-clicks on the title bar.
xdotool mousemove $((X + W / 2)) $((Y + 14)) click --repeat 2 --delay 80 1; sleep 1.2
geometry
# (Without a window manager the frame itself keeps the bottom row of the work area free; openbox
# places the maximised window on its whole work area.)
check "double-click maximises onto the work area (1280x1024)" test "$X $Y $W $H" = "0 0 1280 1024"
import -window root "$shots/skinned-window-maximised.png"
xdotool mousemove $((X + W / 2)) $((Y + 14)) click --repeat 2 --delay 80 1; sleep 1.2
geometry
check "double-click restores ($normal)" test "$X $Y $W $H" = "$normal"

# A drop-down from the menu bar: its second button (获取新闻), under the 29-pixel title bar.
xdotool mousemove $((X + 3 + 90)) $((Y + 3 + 29 + 11)) click 1; sleep 1
import -window root -crop "$((W + 10))x$((H + 10))+$X+$Y" "$shots/skinned-window-dropdown.png"
xdotool key Escape; settle

# Minimise with the title bar's button (third from the right: x = width - 59 in the bar).
xdotool mousemove $((X + W - 3 - 59 + 9)) $((Y + 3 + 8)) click 1; sleep 1
state=$(xprop -id "$wid" _NET_WM_STATE 2>/dev/null || true)
check "minimise button hides the window ($state)" grep -q HIDDEN <<<"$state"
xdotool windowactivate "$wid" 2>/dev/null || xdotool windowmap "$wid"; sleep 1
check "the window comes back" test -n "$(xdotool search --onlyvisible --name Zelmora)"

echo "$failures failed"
exit $((failures > 0))
