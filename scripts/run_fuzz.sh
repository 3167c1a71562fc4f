#!/usr/bin/env bash
# Runs every fuzz harness over its committed seed corpus and then for FUZZ_SECONDS more
# (default 60). New inputs go to a scratch folder, so the committed corpus stays as it is;
# a crash is saved as build/fuzz-findings/<harness>-crash-* and fails the run.
set -uo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
seconds="${FUZZ_SECONDS:-60}"
findings="$BUILD_DIR/fuzz-findings"
mkdir -p "$findings"
status=0
while read -r harness; do
  scratch="$BUILD_DIR/fuzz-scratch/$harness"
  mkdir -p "$scratch"
  if "$BUILD_DIR/fuzz/tests/fuzz/${harness}_fuzz" -max_total_time="$seconds" -max_len=4096 \
       -artifact_prefix="$findings/$harness-" "$scratch" "$root/tests/fuzz/corpus/$harness" \
       </dev/null >"$BUILD_DIR/fuzz-$harness.log" 2>&1; then
    echo "fuzz $harness: $(grep -a '^Done' "$BUILD_DIR/fuzz-$harness.log" | tail -1)"
  else
    echo "fuzz $harness: FAILED, see $BUILD_DIR/fuzz-$harness.log"
    status=1
  fi
done <"$root/tests/fuzz/harnesses.txt"
exit $status
