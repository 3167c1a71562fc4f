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
QUENDRAL_KIT_DIR="$(winepath -w "$medium")"
export QUENDRAL_KIT_DIR
# A Wine virtual desktop gives the pages their window frames in the pictures.
status=0
timeout 300 wine explorer /desktop=kit,1024x768 "$BUILD_DIR/win/tests/e2e/demo_walk.exe" \
  "$(winepath -w "$shots")" || status=$?
for picture in "$shots"/*.bmp; do
  [ -f "$picture" ] || continue
  convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
ls "$shots"
exit $status
