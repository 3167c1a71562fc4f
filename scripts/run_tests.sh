#!/usr/bin/env bash
# Runs the native unit tests (plain and sanitized), the fuzzers for a short while, then the
# end-to-end tests under Wine, and ends with one summary line "N passed, N failed, N skipped".
set -uo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
results="$BUILD_DIR/test-results"
rm -rf "$results"
mkdir -p "$results"

status=0
echo "== unit tests (native)"
"$BUILD_DIR/native/tests/unit/unit_tests" --gtest_output="xml:$results/unit.xml" || status=1
echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
"$BUILD_DIR/sanitize/tests/unit/unit_tests" --gtest_output="xml:$results/unit-sanitized.xml" || status=1
echo "== fuzzing: the seed corpora and ${FUZZ_SECONDS:-3} s more for each parser"
FUZZ_SECONDS="${FUZZ_SECONDS:-3}" bash "$root/scripts/run_fuzz.sh" || status=1

echo "== end-to-end tests (Wine)"
# shellcheck source=wine_session.sh
source "$root/scripts/wine_session.sh"
start_own_display || exit 1

drives="$BUILD_DIR/test-drives"
mkdir -p "$drives/d" "$drives/e" "$drives/f"
session_cleanup() { umount "$drives/e" "$drives/f" 2>/dev/null || true; }
# E: with exactly 16 MiB free and F: with one 4 KiB cluster less (small file systems need
# root; without them those tests skip).
if mount -t tmpfs -o size=16m tmpfs "$drives/e" 2>/dev/null &&
   mount -t tmpfs -o size=16380k tmpfs "$drives/f" 2>/dev/null; then
  export QUENDRAL_SMALL_DRIVES=1
fi

# Media the builder makes from a product with Chinese names, for the test that installs
# one: signed with a certificate made here and now; no private key is kept anywhere.
signing="$BUILD_DIR/test-signing"
rm -rf "$signing" && mkdir -p "$signing"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Morvessa Test Signing/O=Morvessa" \
  -keyout "$signing/key.pem" -out "$signing/cert.pem" >/dev/null 2>&1 || status=1
builder_medium() {  # <folder> <install.exe> <uninstall.exe>
  rm -rf "$1"
  "$BUILD_DIR/native/builder/make_medium" build "$root/tests/e2e/builder-product" "$1" "$2" "$3" \
    --adnote "来自生成器" --sign-cert "$signing/cert.pem" --sign-key "$signing/key.pem" >/dev/null || status=1
}
builder_medium "$BUILD_DIR/builder-medium" "$BUILD_DIR/win/install/install.exe" "$BUILD_DIR/win/uninstall/uninstall.exe"
# The test builds whose manifest asks for code page 65001, as Windows' "Beta: Use Unicode
# UTF-8" option gives every program: the sample medium and the builder's with them.
builder_medium "$BUILD_DIR/builder-medium-utf8" "$BUILD_DIR/win/install/install_utf8.exe" \
  "$BUILD_DIR/win/uninstall/uninstall_utf8.exe"
rm -rf "$signing" "$BUILD_DIR/medium-utf8"
cp -r "$BUILD_DIR/medium" "$BUILD_DIR/medium-utf8"
cp "$BUILD_DIR/win/install/install_utf8.exe" "$BUILD_DIR/medium-utf8/install.exe"
cp "$BUILD_DIR/win/uninstall/uninstall_utf8.exe" "$BUILD_DIR/medium-utf8/uninstall.exe"

# One run of the end-to-end suite (or the tests `filter` names) in a fresh prefix of the
# locale `lang`, with the media in `medium` and `builder` (folders under BUILD_DIR).
run_e2e() {  # <report name> <lang> <medium> <builder> [filter]
  export LANG=$2 WINEPREFIX="$BUILD_DIR/wineprefix-$1"
  make_prefix
  ln -sfn "$drives/d" "$WINEPREFIX/dosdevices/d:"
  if [ -n "${QUENDRAL_SMALL_DRIVES:-}" ]; then
    ln -sfn "$drives/e" "$WINEPREFIX/dosdevices/e:"
    ln -sfn "$drives/f" "$WINEPREFIX/dosdevices/f:"
  fi
  QUENDRAL_KIT_DIR="$(winepath -w "$BUILD_DIR/$3")"
  QUENDRAL_BUILT_MEDIUM="$(winepath -w "$BUILD_DIR/$4")"
  QUENDRAL_BUILDER_PRODUCT="$(winepath -w "$root/tests/e2e/builder-product")"
  # The crash proof runs every fifth crash point here; make crash-proof runs every one.
  QUENDRAL_CRASH_MEDIUM="$(winepath -w "$BUILD_DIR/medium-crash")"
  mkdir -p "$BUILD_DIR/pictures/$1"
  QUENDRAL_PICTURES="$(winepath -w "$BUILD_DIR/pictures/$1")"
  export QUENDRAL_KIT_DIR QUENDRAL_BUILT_MEDIUM QUENDRAL_BUILDER_PRODUCT QUENDRAL_PICTURES QUENDRAL_CRASH_MEDIUM
  echo "-- $1 ($2)"
  # Each run has a deadline; each wait inside it has its own.
  timeout --kill-after=30 1500 wine "$BUILD_DIR/win/tests/e2e/e2e_tests.exe" \
    --gtest_output="xml:$(winepath -w "$results/e2e-$1.xml")" ${5:+--gtest_filter="$5"} || status=1
  wineserver -k 2>/dev/null || true
}
rm -rf "$BUILD_DIR/pictures"
run_e2e cp936 zh_CN.UTF-8 medium builder-medium "${E2E_FILTER:-}"

# The same kit on the other Windows its readers have: Traditional Chinese (950), English
# (1252) and Japanese (932), and code page 65001. The chosen tests: the wizard's install
# with its texts and the registered uninstall command, the unattended install and
# removal, the builder's Chinese names, the product's windows in both forms (ANSI
# stand-ins too), a failure message and the painted pages.
if [ -z "${E2E_FILTER:-}" ]; then
  languages="UninstallTest.InstallThenUninstallLeavesTheMachineAsItWas:NavigationTest.EveryPage*"
  languages+=":InstallTest.Unattended*:InstallTest.MediumFromTheBuilder*:InstallTest.MissingSourceFile*"
  languages+=":StartupTest.RunningProduct*:StartupTest.ReviewMonitor*:PagesTest.PagesPaint*"
  for each in cp950:zh_TW.UTF-8 cp1252:en_US.UTF-8 cp932:ja_JP.UTF-8; do
    run_e2e "${each%%:*}" "${each#*:}" medium builder-medium "$languages"
  done
  export QUENDRAL_STANDIN_ANSI=1
  run_e2e cp1252-ansi-product en_US.UTF-8 medium builder-medium \
    "StartupTest.RunningProduct*:StartupTest.ReviewMonitor*:StartupTest.WindowTitle*"
  unset QUENDRAL_STANDIN_ANSI
  run_e2e utf8-manifest zh_CN.UTF-8 medium-utf8 builder-medium-utf8 "$languages"
  # Painted with the same replacement font, the pages are the same pixels on 1252 as on 936.
  for picture in welcome progress; do
    cmp -s "$BUILD_DIR/pictures/cp936/$picture.pixels" "$BUILD_DIR/pictures/cp1252/$picture.pixels" ||
      { echo "the $picture page differs between code pages 936 and 1252" >&2; status=1; }
  done
fi

# The counts come from the first <testsuites ...> line of each report, and the skipped
# tests from the <testcase> lines; failure messages further on may hold any bytes. A
# skipped test is never counted as passed.
passed=0
failed=0
skipped=0
for report in "$results"/*.xml; do
  [ -f "$report" ] || continue
  head=$(grep -a -m1 '<testsuites ' "$report")
  count() { sed -n "s/.* $1=\"\([0-9]*\)\".*/\1/p" <<<"$head"; }
  tests=$(count tests); failures=$(count failures); errors=$(count errors); disabled=$(count disabled)
  skips=$(grep -a '^ *<testcase ' "$report" | grep -c ' result="skipped"' || true)
  failed=$((failed + ${failures:-0} + ${errors:-0}))
  skipped=$((skipped + skips))
  passed=$((passed + ${tests:-0} - ${failures:-0} - ${errors:-0} - ${disabled:-0} - skips))
done
[ "$passed" -gt 0 ] || status=1
[ "$failed" -eq 0 ] || status=1
echo "$passed passed, $failed failed, $skipped skipped"
exit $status
