# The suite's summary (sourced by run_tests.sh): every expected end-to-end run accounted
# for, and the counts of every report under results/.
count_results() {
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
}
