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
make_prefix

# Drives for the destination page: D: on this disk, E: with exactly 16 MiB free and F:
# with one 4 KiB cluster less (small file systems need root; without them those tests skip).
drives="$BUILD_DIR/test-drives"
mkdir -p "$drives/d" "$drives/e" "$drives/f"
ln -sfn "$drives/d" "$WINEPREFIX/dosdevices/d:"
session_cleanup() { umount "$drives/e" "$drives/f" 2>/dev/null || true; }
if mount -t tmpfs -o size=16m tmpfs "$drives/e" 2>/dev/null &&
   mount -t tmpfs -o size=16380k tmpfs "$drives/f" 2>/dev/null; then
  ln -sfn "$drives/e" "$WINEPREFIX/dosdevices/e:"
  ln -sfn "$drives/f" "$WINEPREFIX/dosdevices/f:"
  export QUENDRAL_SMALL_DRIVES=1
fi
QUENDRAL_KIT_DIR="$(winepath -w "$BUILD_DIR/medium")"
export QUENDRAL_KIT_DIR
# A medium the builder makes from a product with Chinese names, for the test that installs it.
rm -rf "$BUILD_DIR/builder-medium"
# Signed with a certificate made here and now; no private key is kept anywhere.
signing="$BUILD_DIR/test-signing"
rm -rf "$signing" && mkdir -p "$signing"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Morvessa Test Signing/O=Morvessa" \
  -keyout "$signing/key.pem" -out "$signing/cert.pem" >/dev/null 2>&1 || status=1
"$BUILD_DIR/native/builder/make_medium" build "$root/tests/e2e/builder-product" "$BUILD_DIR/builder-medium" \
  "$BUILD_DIR/win/install/install.exe" "$BUILD_DIR/win/uninstall/uninstall.exe" --adnote "来自生成器" \
  --sign-cert "$signing/cert.pem" --sign-key "$signing/key.pem" >/dev/null || status=1
rm -rf "$signing"
QUENDRAL_BUILT_MEDIUM="$(winepath -w "$BUILD_DIR/builder-medium")"
QUENDRAL_BUILDER_PRODUCT="$(winepath -w "$root/tests/e2e/builder-product")"
export QUENDRAL_BUILT_MEDIUM QUENDRAL_BUILDER_PRODUCT
# The whole suite has a deadline; each wait inside it has its own.
timeout --kill-after=30 1500 wine "$BUILD_DIR/win/tests/e2e/e2e_tests.exe" \
  --gtest_output="xml:$(winepath -w "$results/e2e.xml")" ${E2E_FILTER:+--gtest_filter="$E2E_FILTER"} || status=1

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
