#!/usr/bin/env bash
# Runs the native unit tests (plain and sanitized), the fuzzers for a short while, then the
# end-to-end tests under Wine in two lanes at once (one a core, each with its own display,
# drives and prefixes), and ends with one summary line "N passed, N failed, N skipped".
# A run that ended by its deadline or left no readable report counts as a failure.
set -uo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
results="$BUILD_DIR/test-results"
rm -rf "$results"
mkdir -p "$results"

status=0
SECONDS=0
stage_name=""
stage_start=0
stage() {  # <name>: ends the stage before (with its time) and begins the next
  [ -n "$stage_name" ] && echo "-- $stage_name took $((SECONDS - stage_start)) s"
  stage_name=$1
  stage_start=$SECONDS
  [ -n "$1" ] && echo "== $1"
}

# shellcheck source=wine_session.sh
source "$root/scripts/wine_session.sh"
for part in test_media check_winget e2e_run report; do
  # shellcheck source=/dev/null
  source "$root/scripts/tests/$part.sh"
done
stage "native tests and fuzzing, and the Wine prefix and media for the end-to-end tests"
# Every run's prefix is a copy of this one, made while the native tests run.
template="$BUILD_DIR/wineprefix-template"
(export WINEPREFIX="$template"; make_prefix; wineserver -k 2>/dev/null; true) >"$BUILD_DIR/template.log" 2>&1 &
template_maker=$!
# The fuzzers each take one core for a few seconds: beside the rest of this stage.
echo "fuzzing: the seed corpora and ${FUZZ_SECONDS:-3} s more for each parser" >"$BUILD_DIR/fuzz.out"
FUZZ_SECONDS="${FUZZ_SECONDS:-3}" bash "$root/scripts/run_fuzz.sh" >>"$BUILD_DIR/fuzz.out" 2>&1 &
fuzzer=$!

echo "unit tests (native)"
"$BUILD_DIR/native/tests/unit/unit_tests" --gtest_output="xml:$results/unit.xml" >"$BUILD_DIR/unit.out" 2>&1 ||
  { cat "$BUILD_DIR/unit.out"; status=1; }
tail -1 "$BUILD_DIR/unit.out"
echo "unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
"$BUILD_DIR/sanitize/tests/unit/unit_tests" --gtest_output="xml:$results/unit-sanitized.xml" \
  >"$BUILD_DIR/unit-sanitized.out" 2>&1 || { cat "$BUILD_DIR/unit-sanitized.out"; status=1; }
tail -1 "$BUILD_DIR/unit-sanitized.out"

make_test_media
check_winget_manifest
wait "$fuzzer" || status=1
cat "$BUILD_DIR/fuzz.out"
wait "$template_maker" && [ -f "$template/system.reg" ] ||
  { echo "the Wine prefix could not be made:" >&2; cat "$BUILD_DIR/template.log" >&2; exit 1; }

# shellcheck source=tests/e2e_lanes.sh
source "$root/scripts/tests/e2e_lanes.sh"
stage "end-to-end tests (Wine), two lanes"
(run_lane 1 "${lane1[@]}") >"$BUILD_DIR/lane1.log" 2>&1 &
(run_lane 2 "${lane2[@]}") >"$BUILD_DIR/lane2.log" 2>&1 &
wait
cat "$BUILD_DIR/lane1.log" "$BUILD_DIR/lane2.log"

if [ -z "${E2E_FILTER:-}" ]; then
  # Painted with the same replacement font, the pages are the same pixels on 1252 as on 936.
  for picture in welcome progress; do
    cmp -s "$BUILD_DIR/pictures/cp936/$picture.pixels" "$BUILD_DIR/pictures/cp1252/$picture.pixels" ||
      { echo "the $picture page differs between code pages 936 and 1252" >&2; status=1; }
  done
fi
stage ""

count_results
echo "the tests took $SECONDS s after the build"
[ "$passed" -gt 0 ] || status=1
[ "$failed" -eq 0 ] || status=1
echo "$passed passed, $failed failed, $skipped skipped"
exit $status
