#!/usr/bin/env bash
# Benchmarks of the kit under Wine, written to bench/RESULTS.md: each figure the median of
# RUNS runs (default 5), compared with a baseline measured in the same run on the same
# prefix. Figures only; nothing here passes or fails on a time.
set -euo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
runs="${RUNS:-5}"
work="$BUILD_DIR/bench"
# shellcheck source=wine_session.sh
source "$root/scripts/wine_session.sh"
start_own_display
make_prefix
export QUENDRAL_KIT_DIR
QUENDRAL_KIT_DIR="$(winepath -w "$BUILD_DIR/medium")"
timer() { wine "$BUILD_DIR/win/bench/kit_timer.exe" "$@" | tr -d '\r'; }
now_ms() { date +%s%3N; }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
drive_c="$WINEPREFIX/drive_c"
target="$drive_c/Program Files/Morvessa/Quendral"
target_win='C:\Program Files\Morvessa\Quendral'

# Media: the 1000-line cap with mixed sizes (~300 MB), and ten files of 100 MB.
make_medium() {  # name, then the generator of data/ and install.inf
  local dir="$work/$1"
  rm -rf "$dir"
  mkdir -p "$dir/data"
  cp "$BUILD_DIR/medium/install.exe" "$BUILD_DIR/medium/uninstall.exe" "$BUILD_DIR/medium/License.txt" \
     "$BUILD_DIR/medium/install.ini" "$dir/"
  "$2" "$dir"
}
mixed_files() {
  python3 - "$1" <<'PY'
import os, random, sys
medium = sys.argv[1]; random.seed(13); names = []
for i in range(1000):
    size = 26 << 20 if i % 100 == 0 else random.randint(4, 64) << 10
    name = f"f{i:04d}.bin"; names.append(name)
    with open(os.path.join(medium, "data", name), "wb") as f: f.write(os.urandom(size))
open(os.path.join(medium, "install.inf"), "wb").write(("\r\n".join(names) + "\r\n").encode())
PY
}
large_files() {
  local names=""
  for i in 0 1 2 3 4 5 6 7 8 9; do
    head -c $((100 << 20)) /dev/urandom >"$1/data/big$i.bin"
    names+="big$i.bin"$'\r\n'
  done
  printf '%s' "$names" >"$1/install.inf"
}
make_medium mixed mixed_files
make_medium large large_files

results=()
measure_medium() {
  local name=$1 medium="$work/$1"
  local ours=() removal=() xcopy=() cp=() rm=()
  for _ in $(seq "$runs"); do
    ours+=("$(timer install "$(winepath -w "$medium")")")
    removal+=("$(timer uninstall "$target_win\\uninstall.inf")")
    rm -rf "$drive_c/benchcopy"
    local start; start=$(now_ms)
    wine xcopy /E /I /Q /Y "$(winepath -w "$medium/data")" 'C:\benchcopy' >/dev/null 2>&1
    xcopy+=($(( $(now_ms) - start )))
    rm -rf "$drive_c/benchcopy" "$work/cp"
    start=$(now_ms); cp -r "$medium/data" "$work/cp"; sync; cp+=($(( $(now_ms) - start )))
    start=$(now_ms); rm -rf "$work/cp"; rm+=($(( $(now_ms) - start )))
  done
  local o r x c d
  o=$(printf '%s\n' "${ours[@]}" | median); r=$(printf '%s\n' "${removal[@]}" | median)
  x=$(printf '%s\n' "${xcopy[@]}" | median); c=$(printf '%s\n' "${cp[@]}" | median)
  d=$(printf '%s\n' "${rm[@]}" | median)
  results+=("| $name | $o | $x | $c | $(awk "BEGIN{printf \"%.2f\", $o/$x}") | $(awk "BEGIN{printf \"%.2f\", $o/($c>0?$c:1)}") | $r | $d |")
}
measure_medium mixed
measure_medium large

startup=() floor=()
for _ in $(seq "$runs"); do
  startup+=("$(timer startup "$QUENDRAL_KIT_DIR\\install.exe")")
  floor+=("$(timer startup "$(winepath -w "$BUILD_DIR/win/bench/minimal_dialog.exe")")")
done
s=$(printf '%s\n' "${startup[@]}" | median); f=$(printf '%s\n' "${floor[@]}" | median)

{
  echo "# Benchmark results"
  echo
  echo "Machine: $(nproc) cores, $(awk '/model name/{$1=$2=$3="";print;exit}' /proc/cpuinfo | sed 's/^ *//'), $(LANG=C free -g | awk '/^Mem:/{print $2}') GiB;"
  echo "Wine $(wine --version 2>/dev/null | head -1). Date: $(date -u +%Y-%m-%d). Command: \`make bench\` (RUNS=$runs)."
  echo "Every figure is the median of $runs runs, in milliseconds, measured in one run on one prefix."
  echo
  echo "| medium | ours: copy phase | wine xcopy | native cp -r | ours/xcopy | ours/cp | ours: removal run | native rm -r |"
  echo "|---|---|---|---|---|---|---|---|"
  printf '%s\n' "${results[@]}"
  echo
  echo "Start-up to the first page on screen: install.exe $s ms; a minimal dialog program (the floor) $f ms;"
  echo "ratio $(awk "BEGIN{printf \"%.2f\", $s/$f}")."
  echo
  echo "\"ours: copy phase\" runs from Next on the summary page to the finish page (files, folders,"
  echo "shortcuts, registry, log). \"ours: removal run\" runs from starting the uninstaller's removal"
  echo "run to its finish page. The .msi peer (wixl, msiexec) is not measured yet."
} >"$root/bench/RESULTS.md"
cat "$root/bench/RESULTS.md"
