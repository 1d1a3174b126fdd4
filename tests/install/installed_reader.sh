#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and uses it as a user would: the installed files
# are where the desktop looks for them and pass its validators, the installed zelmora-cli runs,
# and the installed reader, started off-screen with HOME and the XDG folders in the temporary
# folder, finds its theme file, keeps config.ini in the user's configuration folder and writes
# nothing beside the executable.
#
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

DESTDIR="$tmp/dest" cmake --install "$build" --prefix /usr/local >"$tmp/install.log"
root="$tmp/dest/usr/local"
id=example.zelmora_news.Zelmora
for f in bin/zelmora bin/zelmora-cli share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/zelmora/themes/green.sui share/man/man1/zelmora.1.gz share/man/man1/zelmora-cli.1.gz \
  share/icons/hicolor/scalable/apps/zelmora.svg; do
  [ -f "$root/$f" ] || fail "not installed: $f"
done
for n in 16 24 32 48 64 128 256; do
  png="$root/share/icons/hicolor/${n}x${n}/apps/zelmora.png"
  [ -f "$png" ] || fail "no ${n}x${n} icon"
done
# The browser pane's module, where the build makes one, comes along.
if [ -n "$(find "$build" -name 'webpane.so' -print -quit)" ]; then
  [ -n "$(find "$root/lib"* -path '*/zelmora/webpane.so' -print -quit 2>/dev/null)" ] || fail "the browser pane's module is not installed"
fi
# Nothing lands outside the prefix.
[ "$(ls "$tmp/dest")" = usr ] && [ "$(ls "$tmp/dest/usr")" = local ] || fail "files outside the prefix"

desktop-file-validate "$root/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" >"$tmp/appstream.log" ||
  { cat "$tmp/appstream.log"; fail "appstreamcli validate"; }

# The installed companion reads the installed theme file.
"$root/bin/zelmora-cli" theme list "$root/share/zelmora/themes/green.sui" >"$tmp/theme.txt" ||
  fail "zelmora-cli theme list"
grep -q '^FormBorderColor' "$tmp/theme.txt" || fail "zelmora-cli listed no FormBorderColor"

# The reader, as a user with an empty home would start it; the desktop's data folders hold no
# theme, so what it finds comes from its own installation.
home="$tmp/home"
mkdir -p "$home" "$tmp/nodata" "$tmp/run"
chmod 700 "$tmp/run"
env_run=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
  XDG_CACHE_HOME="$home/.cache" XDG_DATA_DIRS="$tmp/nodata" XDG_RUNTIME_DIR="$tmp/run" LC_ALL=C.UTF-8
  QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"
  QT_LOGGING_RULES="zelmora.places.info=true")
before=$(ls -A "$root/bin")

# Starts the installed reader, waits for its window to have read its settings, closes it as the
# session would (SIGTERM) and waits for it to end.
run_reader() {
  local log=$1
  (cd "$tmp" && exec "${env_run[@]}" "$root/bin/zelmora") 2>"$log" &
  local pid=$!
  for _ in $(seq 600); do
    grep -q 'settings file' "$log" && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  grep -q 'settings file' "$log" || { cat "$log"; fail "the reader did not start"; }
  sleep 1
  kill -TERM $pid
  local rc=0
  wait $pid || rc=$?
  [ $rc -eq 0 ] || { cat "$log"; fail "the reader ended with $rc"; }
}

config="$home/.config/zelmora/config.ini"
run_reader "$tmp/first.log"
grep -q "settings file: $config" "$tmp/first.log" || { cat "$tmp/first.log"; fail "settings not in the XDG config home"; }
[ -f "$config" ] || fail "no $config after the first close"
grep -q '^width=' "$config" || fail "config.ini has no window size"
[ "$(stat -c %a "$home/.config/zelmora")" = 700 ] || fail "the settings folder is readable by others"

printf '[theme]\r\nfile=green.sui\r\n' >>"$config"
run_reader "$tmp/second.log"
grep -q "theme file: $root/share/zelmora/themes/green.sui" "$tmp/second.log" ||
  { cat "$tmp/second.log"; fail "the installed theme file was not found"; }
grep -q '^file=green.sui' "$config" || fail "the theme line was lost"

[ "$(ls -A "$root/bin")" = "$before" ] || fail "the reader wrote beside its executable: $(ls -A "$root/bin")"
