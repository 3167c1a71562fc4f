# Sourced by the test and demo scripts: a private Wine prefix under the build folder,
# Chinese locale (ANSI code page 936) and, unless told to use the caller's display, an
# Xvfb server of its own on a free display. Everything started here ends with the shell.
# shellcheck shell=bash

: "${BUILD_DIR:?}"
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
# Stops Wine from offering to download its .NET and HTML engines (a dialog, no network).
# No menu entries for the shortcuts the kit creates.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine links the user's Desktop and other shell folders into $HOME: a home of its own
# keeps the tests' shortcuts out of the real one and the snapshots small.
export HOME="$BUILD_DIR/wine-home"
mkdir -p "$HOME"
export LANG=zh_CN.UTF-8
unset LC_ALL LC_CTYPE LC_MESSAGES LC_COLLATE LC_NUMERIC LC_TIME LANGUAGE

xvfb_pid=""
wine_session_end() {
  wineserver -k 2>/dev/null || true
  if declare -F session_cleanup >/dev/null; then session_cleanup; fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap wine_session_end EXIT

start_own_display() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number
  if ! read -r -t 20 number <"$fifo"; then
    echo "Xvfb did not start" >&2
    rm -f "$fifo"
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$number"
}

# A fresh prefix for every run, so that no run sees what an earlier one left.
make_prefix() {
  rm -rf "$WINEPREFIX"
  timeout 120 wineboot -i >/dev/null 2>&1
  # Wine has no 宋体 of its own; the pages ask for it by name, as on a Chinese Windows.
  # Without a window manager, Wine would wait 2 s at every page change for a managed
  # window to be withdrawn; unmanaged windows need no such wait. 64-bit Windows always has
  # the Run key in the 32-bit view too; a new Wine prefix does not.
  # In UTF-16, so that the Chinese names hold in a prefix of any code page.
  local reg="$BUILD_DIR/prefix-settings.reg"
  { printf '\xff\xfe'; printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"宋体"="WenQuanYi Zen Hei"' '"SimSun"="WenQuanYi Zen Hei"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
    '[HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Run]' '' |
    iconv -f UTF-8 -t UTF-16LE; } >"$reg"
  timeout 60 wine regedit "$reg" >/dev/null 2>&1
  timeout 60 wineserver -w
  # The profile's Desktop and its like are links into $HOME: folders of the prefix's own
  # instead, so that a copy of the prefix shares nothing with another.
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    [ -L "$link" ] && rm "$link" && mkdir "$link"
  done
}

# A new prefix at WINEPREFIX as a copy of one made by make_prefix: the same as a fresh one,
# in a second instead of ten.
copy_prefix() {  # <made prefix>
  rm -rf "$WINEPREFIX"
  cp -a "$1" "$WINEPREFIX"
}
