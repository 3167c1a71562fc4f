#!/usr/bin/env bash
# Runs the native unit tests, then the end-to-end tests under Wine, and ends with one
# summary line "N passed, N failed" over both.
set -uo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
results="$BUILD_DIR/test-results"
rm -rf "$results"
mkdir -p "$results"

status=0
echo "== unit tests (native)"
"$BUILD_DIR/native/tests/unit/unit_tests" --gtest_output="xml:$results/unit.xml" || status=1

echo "== end-to-end tests (Wine)"
# shellcheck source=wine_session.sh
source "$root/scripts/wine_session.sh"
start_own_display || exit 1
make_prefix
QUENDRAL_KIT_DIR="$(winepath -w "$BUILD_DIR/medium")"
export QUENDRAL_KIT_DIR
# The whole suite has a deadline; each wait inside it has its own.
timeout --kill-after=30 1500 wine "$BUILD_DIR/win/tests/e2e/e2e_tests.exe" \
  --gtest_output="xml:$(winepath -w "$results/e2e.xml")" ${E2E_FILTER:+--gtest_filter="$E2E_FILTER"} || status=1

python3 - "$results" <<'PY' || status=1
import glob, sys, xml.etree.ElementTree as ET
passed = failed = 0
for path in glob.glob(sys.argv[1] + "/*.xml"):
    root = ET.parse(path).getroot()
    tests, failures, errors = (int(root.get(k, 0)) for k in ("tests", "failures", "errors"))
    skipped = int(root.get("skipped", 0)) + int(root.get("disabled", 0))
    failed += failures + errors
    passed += tests - failures - errors - skipped
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed or passed == 0 else 0)
PY
exit $status
