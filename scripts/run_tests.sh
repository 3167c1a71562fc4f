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

# Media the builder makes from a product with Chinese names, for the test that installs
# one: signed with a certificate made here and now; no private key is kept anywhere.
signing="$BUILD_DIR/test-signing"
rm -rf "$signing" && mkdir -p "$signing"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Morvessa Test Signing/O=Morvessa" \
  -keyout "$signing/key.pem" -out "$signing/cert.pem" >/dev/null 2>&1 || status=1
# Each with its signed single-file setup and winget manifest in <folder>-download.
builder_medium() {  # <folder> <install.exe> <uninstall.exe>
  rm -rf "$1" "$1-download"
  mkdir -p "$1-download"
  "$BUILD_DIR/native/builder/make_medium" build "$root/tests/e2e/builder-product" "$1" "$2" "$3" \
    --adnote "来自生成器" --sign-cert "$signing/cert.pem" --sign-key "$signing/key.pem" \
    --setup "$1-download/QuendralSetup.exe" --setup-program "$BUILD_DIR/win/setup/setup.exe" \
    --winget "$1-download/winget" --url "https://download.morvessa.com.cn/QuendralSetup.exe" >/dev/null || status=1
}
builder_medium "$BUILD_DIR/builder-medium" "$BUILD_DIR/win/install/install.exe" "$BUILD_DIR/win/uninstall/uninstall.exe"
# The test builds whose manifest asks for code page 65001, as Windows' "Beta: Use Unicode
# UTF-8" option gives every program: the sample medium and the builder's with them.
builder_medium "$BUILD_DIR/builder-medium-utf8" "$BUILD_DIR/win/install/install_utf8.exe" \
  "$BUILD_DIR/win/uninstall/uninstall_utf8.exe"
rm -rf "$signing" "$BUILD_DIR/medium-utf8"
echo "the winget manifest of the builder's setup"
python3 "$root/tests/winget/check_manifest.py" "$BUILD_DIR/builder-medium-download/winget" \
  "$BUILD_DIR/builder-medium-download/QuendralSetup.exe" "$results/winget.xml" >"$BUILD_DIR/winget.out" 2>&1 ||
  { cat "$BUILD_DIR/winget.out"; status=1; }
tail -1 "$BUILD_DIR/winget.out"
cp -r "$BUILD_DIR/medium" "$BUILD_DIR/medium-utf8"
cp "$BUILD_DIR/win/install/install_utf8.exe" "$BUILD_DIR/medium-utf8/install.exe"
cp "$BUILD_DIR/win/uninstall/uninstall_utf8.exe" "$BUILD_DIR/medium-utf8/uninstall.exe"
wait "$fuzzer" || status=1
cat "$BUILD_DIR/fuzz.out"
wait "$template_maker" && [ -f "$template/system.reg" ] ||
  { echo "the Wine prefix could not be made:" >&2; cat "$BUILD_DIR/template.log" >&2; exit 1; }

# A Linux path as the programs under Wine see it. Under load Wine now and then fails to
# start a program ("Internal error"), winepath too: tried three times, never empty.
windows_path() {  # <path>
  local tried path
  for tried in 1 2 3; do
    path=$(winepath -w "$1" 2>/dev/null) && [ -n "$path" ] && { echo "$path"; return 0; }
    sleep 1
  done
  return 1
}

# One run of the end-to-end suite (or the tests `filter` names, or one shard of them) in a
# new prefix of the locale `lang`. `medium`, `builder` and `held` are folders under
# BUILD_DIR: the sample medium, the builder's, and one with a test build of the programs
# that a test can hold. Its report is results/e2e-<name>.xml; results/<name>.ended holds
# the runner's exit code, and no such file means the run never ended.
run_e2e() {  # <name> <lang> <medium> <builder> <held> <filter> [<shard> <shards>]
  local name=$1 report
  export LANG=$2 WINEPREFIX="$BUILD_DIR/wineprefix-$name"
  copy_prefix "$template"
  ln -sfn "$drives/d" "$WINEPREFIX/dosdevices/d:"
  if [ -n "$small_drives" ]; then
    ln -sfn "$drives/e" "$WINEPREFIX/dosdevices/e:"
    ln -sfn "$drives/f" "$WINEPREFIX/dosdevices/f:"
  fi
  mkdir -p "$BUILD_DIR/pictures/$name"
  if ! QUENDRAL_KIT_DIR=$(windows_path "$BUILD_DIR/$3") ||
     ! QUENDRAL_BUILT_MEDIUM=$(windows_path "$BUILD_DIR/$4") ||
     ! QUENDRAL_BUILT_SETUP=$(windows_path "$BUILD_DIR/$4-download/QuendralSetup.exe") ||
     ! QUENDRAL_HELD_KIT=$(windows_path "$BUILD_DIR/$5") ||
     ! QUENDRAL_BUILDER_PRODUCT=$(windows_path "$root/tests/e2e/builder-product") ||
     ! QUENDRAL_CRASH_MEDIUM=$(windows_path "$BUILD_DIR/medium-crash") ||
     ! QUENDRAL_PICTURES=$(windows_path "$BUILD_DIR/pictures/$name") ||
     ! report=$(windows_path "$results/e2e-$name.xml"); then
    echo "-- $name: Wine did not name the test folders; the run is lost"
    return
  fi
  # The crash proof runs every fifth crash point here; make crash-proof runs every one.
  export QUENDRAL_KIT_DIR QUENDRAL_BUILT_MEDIUM QUENDRAL_BUILT_SETUP QUENDRAL_HELD_KIT QUENDRAL_BUILDER_PRODUCT QUENDRAL_PICTURES \
    QUENDRAL_CRASH_MEDIUM
  unset QUENDRAL_SMALL_DRIVES QUENDRAL_STANDIN_ANSI
  [ -n "$small_drives" ] && export QUENDRAL_SMALL_DRIVES=1
  # The product's stand-ins as ANSI programs, whose titles are GBK bytes.
  [[ $name == *-ansi-product ]] && export QUENDRAL_STANDIN_ANSI=1
  echo "-- $name ($2) in lane $lane"
  local started=$SECONDS code=0
  # Every wait inside a run has its own deadline; this one only ends a run that hangs all
  # the same, and such a run is counted as failed.
  GTEST_SHARD_INDEX=${7:-0} GTEST_TOTAL_SHARDS=${8:-1} timeout --kill-after=30 600 \
    wine "$BUILD_DIR/win/tests/e2e/e2e_tests.exe" \
    --gtest_output="xml:$report" ${6:+--gtest_filter="$6"} || code=$?
  echo "$code" >"$results/$name.ended"
  echo "-- $name ended with $code after $((SECONDS - started)) s"
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}

# A lane: its own display and drives, then the runs it is given one after the other, each
# as "name lang medium builder held filter [shard shards]" separated by '|'.
run_lane() {  # <lane> <run>...
  lane=$1
  shift
  xvfb_pid=""
  drives="$BUILD_DIR/test-drives/lane$lane"
  mkdir -p "$drives/d" "$drives/e" "$drives/f"
  small_drives=""
  session_cleanup() { umount "$drives/e" "$drives/f" 2>/dev/null || true; }
  trap wine_session_end EXIT
  start_own_display || exit 1
  # E: with exactly 16 MiB free and F: with one 4 KiB cluster less (small file systems need
  # root; without them those tests skip).
  if mount -t tmpfs -o size=16m tmpfs "$drives/e" 2>/dev/null &&
     mount -t tmpfs -o size=16380k tmpfs "$drives/f" 2>/dev/null; then
    small_drives=1
  fi
  local run
  for run in "$@"; do
    IFS='|' read -r -a fields <<<"$run"
    run_e2e "${fields[@]}"
  done
}

# The same kit on the other Windows its readers have: Traditional Chinese (950), English
# (1252) and Japanese (932), and code page 65001. The chosen tests: the wizard's install
# with its texts and the registered uninstall command, the unattended install and
# removal, the builder's Chinese names, the product's windows in both forms (ANSI
# stand-ins too), a failure message and the painted pages.
languages="UninstallTest.InstallThenUninstallLeavesTheMachineAsItWas:NavigationTest.EveryPage*"
languages+=":InstallTest.Unattended*:InstallTest.MediumFromTheBuilder*:InstallTest.MissingSourceFile*"
languages+=":StartupTest.RunningProduct*:StartupTest.ReviewMonitor*:PagesTest.PagesPaint*"
ansi_product="StartupTest.RunningProduct*:StartupTest.ReviewMonitor*:StartupTest.WindowTitle*"
shipped="medium|builder-medium|medium-crash"

if [ -n "${E2E_FILTER:-}" ]; then
  lane1=("cp936-shard0|zh_CN.UTF-8|$shipped|$E2E_FILTER|0|2")
  lane2=("cp936-shard1|zh_CN.UTF-8|$shipped|$E2E_FILTER|1|2")
else
  # The crash proof is the longest test by far: a run of its own beside the rest of the
  # Simplified Chinese suite, and the other Windows shared out so that both lanes end
  # about together.
  lane1=("cp936-crash-proof|zh_CN.UTF-8|$shipped|CrashProofTest.*" "cp950|zh_TW.UTF-8|$shipped|$languages"
         "cp1252-ansi-product|en_US.UTF-8|$shipped|$ansi_product")
  lane2=("cp936|zh_CN.UTF-8|$shipped|-CrashProofTest.*" "cp1252|en_US.UTF-8|$shipped|$languages"
         "cp932|ja_JP.UTF-8|$shipped|$languages"
         "utf8-manifest|zh_CN.UTF-8|medium-utf8|builder-medium-utf8|medium-utf8|$languages")
fi
# Every run is expected from the start, so that one that never began counts as lost too.
for run in "${lane1[@]}" "${lane2[@]}"; do echo "${run%%|*}" >>"$results/runs"; done

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

# The counts come from the first <testsuites ...> line of each report, and the skipped
# tests from the <testcase> lines; failure messages further on may hold any bytes. A
# skipped test is never counted as passed. A run without a readable report, or one that
# failed though its report shows no failure, is one failure more, named here.
passed=0
failed=0
skipped=0
lost() { echo "LOST: the end-to-end run $1 $2" >&2; failed=$((failed + 1)); status=1; }
while read -r run; do
  report="$results/e2e-$run.xml"
  if [ ! -f "$results/$run.ended" ]; then
    lost "$run" "never ended"
  elif [ "$(cat "$results/$run.ended")" = 124 ] || [ "$(cat "$results/$run.ended")" = 137 ]; then
    lost "$run" "was ended by its deadline"
  elif ! grep -aq '<testsuites ' "$report" 2>/dev/null; then
    lost "$run" "left no readable report (exit code $(cat "$results/$run.ended"))"
  elif [ "$(cat "$results/$run.ended")" != 0 ] && grep -aq '<testsuites [^>]* failures="0"' "$report" &&
       grep -aq '<testsuites [^>]* errors="0"' "$report"; then
    lost "$run" "ended with $(cat "$results/$run.ended") though its report shows no failure"
  fi
done <"$results/runs"
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
echo "the tests took $SECONDS s after the build"
[ "$passed" -gt 0 ] || status=1
[ "$failed" -eq 0 ] || status=1
echo "$passed passed, $failed failed, $skipped skipped"
exit $status
