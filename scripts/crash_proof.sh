#!/usr/bin/env bash
# make crash-proof: every crash point of every flow of the crash-point test build, each
# followed by the user's next step, in a fresh prefix; the report goes to
# tests/crash/RESULTS.md. (make test runs every fifth point.)
set -uo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=wine_session.sh
source "$root/scripts/wine_session.sh"
start_own_display || exit 1
export WINEPREFIX="$BUILD_DIR/wineprefix-crash-proof"
make_prefix
QUENDRAL_CRASH_MEDIUM="$(winepath -w "$BUILD_DIR/medium-crash")"
QUENDRAL_CRASH_RESULTS="$(winepath -w "$root/tests/crash/RESULTS.md")"
export QUENDRAL_CRASH_MEDIUM QUENDRAL_CRASH_RESULTS QUENDRAL_CRASH_STRIDE=1
timeout --kill-after=30 3000 wine "$BUILD_DIR/win/tests/e2e/e2e_tests.exe" --gtest_filter='CrashProofTest.*'
