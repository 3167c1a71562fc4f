#!/usr/bin/env bash
# Runs the installer from the sample medium under Wine. With a display, the wizard is
# shown for a person to use. Without one, it walks through install and uninstall on its
# own under Xvfb and saves a picture of every page in build/screenshots/.
set -euo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
medium="$BUILD_DIR/medium"
shots="$BUILD_DIR/screenshots"

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
  # shellcheck source=wine_session.sh
  source "$root/scripts/wine_session.sh"
  [ -f "$WINEPREFIX/system.reg" ] || make_prefix
  cd "$medium"
  wine "$medium/install.exe"
  exit 0
fi

# shellcheck source=wine_session.sh
source "$root/scripts/wine_session.sh"
start_own_display
make_prefix
rm -rf "$shots"
mkdir -p "$shots"
# The walk holds the installer's worker for the picture of the copy part-way, which only
# a test build can be: the sample medium with that build of the installer.
walked="$BUILD_DIR/medium-demo"
rm -rf "$walked" && cp -r "$medium" "$walked"
cp "$BUILD_DIR/win/install/install_crash.exe" "$walked/install.exe"
QUENDRAL_KIT_DIR="$(winepath -w "$walked")"
export QUENDRAL_KIT_DIR
# A Wine virtual desktop gives the pages their window frames in the pictures. Its exit
# code is the desktop's, so the walk leaves its own in walk-result.
walk() {  # <picture folder>
  mkdir -p "$1"
  timeout 300 wine explorer /desktop=kit,1024x768 "$BUILD_DIR/win/tests/e2e/demo_walk.exe" "$(winepath -w "$1")" ||
    true
  local picture walk
  for picture in "$1"/*.bmp; do
    [ -f "$picture" ] || continue
    if ! convert "$picture" "${picture%.bmp}.png"; then
      echo "demo: ${picture##*/} could not be converted" >&2
      status=1
    fi
    rm "$picture"
  done
  walk=$(tr -d '\r\n' <"$1/walk-result" 2>/dev/null || echo "none")
  rm -f "$1/walk-result"
  ls "$1"
  if [ "$walk" != 0 ]; then
    echo "demo: the walk failed (result: $walk); the lines above name what did not appear" >&2
    status=1
  fi
}
status=0
walk "$shots"
# Once more at 150 % (144 DPI), which programs read from the registry as they start.
timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
walk "$shots/144-dpi"
exit $status
