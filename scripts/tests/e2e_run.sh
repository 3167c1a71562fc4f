# The end-to-end runs under Wine (sourced by run_tests.sh): one run in a prefix of its own,
# and a lane, which runs several one after the other on its own display and drives.
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
     ! QUENDRAL_LARGE_SETUP=$(windows_path "$BUILD_DIR/large-download/QuendralSetup.exe") ||
     ! QUENDRAL_HELD_KIT=$(windows_path "$BUILD_DIR/$5") ||
     ! QUENDRAL_BUILDER_PRODUCT=$(windows_path "$root/tests/e2e/builder-product") ||
     ! QUENDRAL_CRASH_MEDIUM=$(windows_path "$BUILD_DIR/medium-crash") ||
     ! QUENDRAL_PICTURES=$(windows_path "$BUILD_DIR/pictures/$name") ||
     ! report=$(windows_path "$results/e2e-$name.xml"); then
    echo "-- $name: Wine did not name the test folders; the run is lost"
    return
  fi
  # The crash proof runs every fifth crash point here; make crash-proof runs every one.
  export QUENDRAL_KIT_DIR QUENDRAL_BUILT_MEDIUM QUENDRAL_BUILT_SETUP QUENDRAL_LARGE_SETUP QUENDRAL_HELD_KIT QUENDRAL_BUILDER_PRODUCT QUENDRAL_PICTURES \
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
