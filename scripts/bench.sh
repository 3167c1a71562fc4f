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
# shellcheck source=bench/media.sh
source "$root/scripts/bench/media.sh"
# shellcheck source=bench/report.sh
source "$root/scripts/bench/report.sh"
start_own_display
make_prefix
export QUENDRAL_KIT_DIR
QUENDRAL_KIT_DIR="$(winepath -w "$BUILD_DIR/medium")"
timer() { wine "$BUILD_DIR/win/bench/kit_timer.exe" "$@" | tr -d '\r'; }
# A peer program's own output (xcopy's count of files) comes before the figures: the
# milliseconds and the peak working set in KiB.
peer() { timer run "$@" | tail -n 1; }
# Every file of a medium's data folder, byte for byte, in the folder a program copied it to.
copied_all() {
  local file
  (cd "$1" && find . -type f) | while read -r file; do
    cmp -s "$1/$file" "$2/$file" || { echo "$2: $file was not copied" >&2; return 1; }
  done
}
now_ms() { date +%s%3N; }
# The median and the longest of the figures given as arguments.
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
longest() { printf '%s\n' "$@" | sort -n | tail -n 1; }
drive_c="$WINEPREFIX/drive_c"
target="$drive_c/Program Files/Morvessa/Quendral"
target_win='C:\Program Files\Morvessa\Quendral'

make_medium mixed mixed_files
make_medium large large_files
make_medium small small_files

make_msi mixed
make_msi large

ratio() { awk "BEGIN{printf \"%.2f\", $1/($2>0?$2:1)}"; }
installs=() removals=()
measure_medium() {
  local name=$1 medium="$work/$1" first=$2 msi
  msi="$(winepath -w "$work/msi-$1/peer.msi")"
  local ours=() removal=() msi_in=() msi_out=() xcopy=() cp=() rm=() t m
  # Each timed copy starts with the disk idle: without the sync, the pages the previous
  # program left to write are written during the next one's run, and the large medium's
  # figures swing by a factor of two with the order of the programs.
  for _ in $(seq "$runs"); do
    sync
    read -r t m < <(timer install "$(winepath -w "$medium")")
    ours+=("$t"); memory_ours+=("$m")
    copied_all "$medium/data" "$target"
    removal+=("$(timer uninstall "$target_win\\uninstall.inf")")
    sync
    read -r t m < <(peer msiexec /i "$msi" /qn)
    msi_in+=("$t"); memory_msi+=("$m")
    copied_all "$medium/data" "$target"
    # A real copy, not a link to the medium's file.
    [ "$(stat -c %i "$medium/data/$first")" != "$(stat -c %i "$target/$first")" ] || { echo "msiexec linked" >&2; exit 1; }
    msi_out+=("$(peer msiexec /x "$msi" /qn | cut -d' ' -f1)")
    # Wine's msiexec leaves the vendor folder, empty; each run starts without it.
    [ ! -e "$target" ] && rmdir "$drive_c/Program Files/Morvessa"
    rm -rf "$drive_c/benchcopy"
    sync
    read -r t m < <(peer xcopy /E /I /Q /Y "$(winepath -w "$medium/data")" 'C:\benchcopy')
    xcopy+=("$t"); memory_xcopy+=("$m")
    copied_all "$medium/data" "$drive_c/benchcopy"
    rm -rf "$drive_c/benchcopy" "$work/cp"
    local start
    sync
    start=$(now_ms); cp -r "$medium/data" "$work/cp"; sync; cp+=($(( $(now_ms) - start )))
    start=$(now_ms); rm -rf "$work/cp"; rm+=($(( $(now_ms) - start )))
  done
  local o r mi mo x c d
  o=$(median "${ours[@]}"); r=$(median "${removal[@]}")
  mi=$(median "${msi_in[@]}"); mo=$(median "${msi_out[@]}")
  x=$(median "${xcopy[@]}"); c=$(median "${cp[@]}")
  d=$(median "${rm[@]}")
  installs+=("| $name | $o | $mi | $x | $c | $(ratio "$o" "$mi") | $(ratio "$o" "$x") | $(ratio "$o" "$c") |")
  removals+=("| $name | $r | $mo | $d | $(ratio "$r" "$mo") | $(ratio "$r" "$d") |")
}
memory_ours=() memory_msi=() memory_xcopy=()
measure_medium mixed f0000.bin
mixed_memory="| mixed | $(median "${memory_ours[@]}") | $(median "${memory_msi[@]}") | $(median "${memory_xcopy[@]}") |"
measure_medium large big0.bin
# Why the sync: our install of the large medium once more, started right after xcopy has
# written the same gigabyte elsewhere and without a sync in between.
rm -rf "$drive_c/benchcopy"
sync
peer xcopy /E /I /Q /Y "$(winepath -w "$work/large/data")" 'C:\benchcopy' >/dev/null
read -r unsynced _ < <(timer install "$(winepath -w "$work/large")")
timer uninstall "$target_win\\uninstall.inf" >/dev/null
rm -rf "$drive_c/benchcopy"
sync

# Where the copy phase's time goes: the same installs with the benchmark build of the
# installer (install_profiled.exe, which keeps timestamps), on both media. What the worker's
# steps do not hold of the timer's total is the wizard around the worker: the progress page
# coming after Next, comctl32 loaded, and the finish page after the worker's last report.
profile_medium() {
  local name=$1 profiled="$work/$1-profiled"
  rm -rf "$profiled"
  mkdir -p "$profiled"
  cp "$work/$name/"*.* "$profiled/"
  cp "$BUILD_DIR/win/install/install_profiled.exe" "$profiled/install.exe"
  ln -s "$work/$name/data" "$profiled/data"
  for run in $(seq "$runs"); do
    sync
    QUENDRAL_PROFILE="$(winepath -w "$work/profile-$name-$run.txt")" timer install "$(winepath -w "$profiled")" \
      >"$work/profile-$name-$run.total"
    timer uninstall "$target_win\\uninstall.inf" >/dev/null
  done
}
profile_medium mixed
profile_medium large
# Per step and medium: how often it ran and the median of its total over the runs.
breakdown=$(python3 - "$work" "$runs" <<'PY'
import statistics, sys
work, runs = sys.argv[1], int(sys.argv[2])
def load(name):
    steps = [dict((f[0], (int(f[1]), float(f[2]))) for f in (l.rstrip("\n").split("\t") for l in open(f"{work}/profile-{name}-{r}.txt"))) for r in range(1, runs + 1)]
    totals = [float(open(f"{work}/profile-{name}-{r}.total").read().split()[0]) for r in range(1, runs + 1)]
    return steps, totals
media = {name: load(name) for name in ("mixed", "large")}
def cell(name, step):
    steps = media[name][0]
    count = steps[0][step][0]; total = statistics.median(r[step][1] for r in steps)
    per = f" ({1000 * total / count:.0f} µs each)" if count > 1 else ""
    return f"{total:.1f}{per}" if count else "-"
for step in media["mixed"][0][0]:
    print(f"| {step} | {media['mixed'][0][0][step][0]} | {cell('mixed', step)} | {media['large'][0][0][step][0]} | {cell('large', step)} |")
def outside(name):
    steps, totals = media[name]
    return statistics.median(t - sum(v[1] for k, v in r.items() if not k.startswith("painting")) for r, t in zip(steps, totals))
def whole(name):
    return statistics.median(media[name][1])
print(f"| the wizard around the worker (total − the worker's steps) | | {outside('mixed'):.1f} | | {outside('large'):.1f} |")
print(f"| total (kit timer) | | {whole('mixed'):.1f} | | {whole('large'):.1f} |")
PY
)

# Until killed: the largest size in bytes the folder has reached, written to the file.
sample_peak() {  # <folder> <file>
  local peak=0 size
  echo 0 >"$2"
  while :; do
    size=$(du -sb "$1" 2>/dev/null | cut -f1)
    if [ "${size:-0}" -gt "$peak" ]; then peak=$size; echo "$peak" >"$2"; fi
    sleep 0.02
  done
}
temp_dir=$(find "$drive_c/users" -maxdepth 4 -type d -name Temp | head -n 1)

# One file to download, against NSIS: our single-file setup of the mixed medium and an NSIS
# installer of the same files (solid LZMA, as its makers ship), each with /S from its start
# until it has installed and ended. Against the folder medium: install.exe /S from the
# medium the setup carries, the same files. Where ours goes: the check alone (a copy whose
# last payload byte differs ends right after it), the install from the folder, and the
# setup's own files and clean-up as the rest. While ours runs, the temporary folder's size
# is sampled every 20 ms.
one_file() {
  local dir="$work/one-file"
  rm -rf "$dir" && mkdir -p "$dir"
  "$BUILD_DIR/native/builder/make_medium" build "$work/mixed/data" "$dir/medium" \
    "$BUILD_DIR/win/install/install.exe" "$BUILD_DIR/win/uninstall/uninstall.exe" \
    --setup "$dir/QuendralSetup.exe" --setup-program "$BUILD_DIR/win/setup/setup.exe" >/dev/null
  cp "$dir/QuendralSetup.exe" "$dir/damaged.exe"
  printf '\xff' | dd of="$dir/damaged.exe" bs=1 seek=$(($(stat -c %s "$dir/damaged.exe") - 1)) conv=notrunc 2>/dev/null
  makensis -V1 -DOUTFILE="$dir/nsis-setup.exe" -DDATA="$work/mixed/data" "$root/scripts/bench/nsis_peer.nsi" >/dev/null
  local ours=() nsis=() check=() install=() temp_peak=() setup_page=() folder_page=() t sampler before
  for _ in $(seq "$runs"); do
    sync
    before=$(du -sb "$temp_dir" | cut -f1)
    sample_peak "$temp_dir" "$dir/peak" &
    sampler=$!
    read -r t _ < <(peer "$(winepath -w "$dir/QuendralSetup.exe")" /S)
    kill "$sampler"; wait "$sampler" 2>/dev/null || true
    ours+=("$t"); temp_peak+=($(( $(cat "$dir/peak") - before )))
    copied_all "$work/mixed/data" "$target"
    timer uninstall "$target_win\\uninstall.inf" >/dev/null
    sync
    read -r t _ < <(peer "$(winepath -w "$dir/nsis-setup.exe")" /S)
    nsis+=("$t")
    copied_all "$work/mixed/data" "$drive_c/Program Files/Morvessa/QuendralNsis"
    rm -rf "$drive_c/Program Files/Morvessa"
    sync
    read -r t _ < <(timer refused "$(winepath -w "$dir/damaged.exe")" /S | tail -n 1)
    check+=("$t")
    sync
    read -r t _ < <(peer "$(winepath -w "$dir/medium/install.exe")" /S)
    install+=("$t")
    timer uninstall "$target_win\\uninstall.inf" >/dev/null
    sync
    setup_page+=("$(timer setup-startup "$(winepath -w "$dir/QuendralSetup.exe")")")
    folder_page+=("$(timer startup "$(winepath -w "$dir/medium/install.exe")")")
  done
  local o n c i ob nb sp fp
  o=$(median "${ours[@]}"); n=$(median "${nsis[@]}"); c=$(median "${check[@]}"); i=$(median "${install[@]}")
  ob=$(stat -c %s "$dir/QuendralSetup.exe"); nb=$(stat -c %s "$dir/nsis-setup.exe")
  sp=$(median "${setup_page[@]}"); fp=$(median "${folder_page[@]}")
  one_file_rows="| one-file install, mixed | $o | $n | $(ratio "$o" "$n") |"$'\n'
  one_file_rows+="| one-file size, mixed | $ob | $nb | $(ratio "$ob" "$nb") |"
  one_file_folder="| one-file install vs the folder medium | $o | $i | $(ratio "$o" "$i") |"$'\n'
  one_file_folder+="| time to the first page | $sp | $fp | $(ratio "$sp" "$fp") |"
  one_file_temp="$(longest "${temp_peak[@]}")"
  one_file_split="check $c ms, install $i ms, the setup's own files and clean-up the rest: $(awk "BEGIN{print $o-$c-$i}") ms"
}
one_file

startup=() floor=()
for _ in $(seq "$runs"); do
  startup+=("$(timer startup "$QUENDRAL_KIT_DIR\\install.exe")")
  floor+=("$(timer startup "$(winepath -w "$BUILD_DIR/win/bench/minimal_dialog.exe")")")
done
s=$(median "${startup[@]}"); f=$(median "${floor[@]}")

# Responsiveness on the medium of small files: several Cancel -> No pauses per install, and
# Cancel -> Yes half-way through.
small="$(winepath -w "$work/small")"
resumes=() rollbacks=()
for _ in $(seq "$runs"); do
  mapfile -t -O "${#resumes[@]}" resumes < <(timer resume "$small")
  timer uninstall "$target_win\\uninstall.inf" >/dev/null
  rollbacks+=("$(timer rollback "$small")")
done
# kit_timer resume times seven pauses an install.
[ "${#resumes[@]}" -eq $((runs * 7)) ] || { echo "a pause was not timed" >&2; exit 1; }
resume_median=$(median "${resumes[@]}"); resume_max=$(longest "${resumes[@]}")
rollback_median=$(median "${rollbacks[@]}"); rollback_max=$(longest "${rollbacks[@]}")

write_report
cat "$root/bench/RESULTS.md"
