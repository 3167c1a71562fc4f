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

# Media: the 1000-line cap with mixed sizes (~300 MB), ten files of 100 MB, and 999 small
# files for the pause and roll-back figures. Each manifest names brisel.ini first, as the
# product's does, so that the log lists the settings file and the removal run leaves nothing.
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
medium = sys.argv[1]; random.seed(13); names = ["brisel.ini"]
for i in range(999):
    size = 26 << 20 if i % 100 == 0 else random.randint(4, 64) << 10
    name = f"f{i:04d}.bin"; names.append(name)
    with open(os.path.join(medium, "data", name), "wb") as f: f.write(os.urandom(size))
open(os.path.join(medium, "install.inf"), "wb").write(("\r\n".join(names) + "\r\n").encode())
PY
}
large_files() {
  local names="brisel.ini"$'\r\n'
  for i in 0 1 2 3 4 5 6 7 8 9; do
    head -c $((100 << 20)) /dev/urandom >"$1/data/big$i.bin"
    names+="big$i.bin"$'\r\n'
  done
  printf '%s' "$names" >"$1/install.inf"
}
small_files() {
  python3 - "$1" <<'PY'
import os, random, sys
medium = sys.argv[1]; random.seed(17); names = ["brisel.ini"]
for i in range(999):
    name = f"s{i:04d}.bin"; names.append(name)
    with open(os.path.join(medium, "data", name), "wb") as f: f.write(os.urandom(random.randint(4, 16) << 10))
open(os.path.join(medium, "install.inf"), "wb").write(("\r\n".join(names) + "\r\n").encode())
PY
}
make_medium mixed mixed_files
make_medium large large_files
make_medium small small_files

# The .msi peer of a medium: the same files, installed to the same folder, uncompressed and
# read from a tree beside the package (Morvessa\Quendral, a link to the medium's data).
make_msi() {
  local dir="$work/msi-$1"
  rm -rf "$dir"
  mkdir -p "$dir/Morvessa"
  ln -s "$work/$1/data" "$dir/Morvessa/Quendral"
  python3 - "$work/$1/data" >"$dir/peer.wxs" <<'PY'
import os, sys
data = sys.argv[1]; names = sorted(os.listdir(data))
print('<?xml version="1.0" encoding="utf-8"?>')
print('<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">')
print('<Product Id="*" Name="QuendralPeer" Version="1.3.0" Manufacturer="Morvessa" Language="1033"'
      ' UpgradeCode="6f1c2a4e-0f2b-4d7a-9a51-3c2e1b7d8a90">')
print('<Package InstallerVersion="200" Compressed="no" InstallScope="perMachine"/>')
print('<Directory Id="TARGETDIR" Name="SourceDir"><Directory Id="ProgramFiles64Folder">'
      '<Directory Id="VENDORDIR" Name="Morvessa"><Directory Id="INSTALLDIR" Name="Quendral">')
for i, name in enumerate(names):
    print(f'<Component Id="c{i}" Guid="*" Win64="yes"><File Id="f{i}" Name="{name}"'
          f' Source="Morvessa/Quendral/{name}" KeyPath="yes"/></Component>')
print('</Directory></Directory></Directory></Directory>')
print('<Feature Id="All" Level="1">' + "".join(f'<ComponentRef Id="c{i}"/>' for i in range(len(names))) + '</Feature>')
print('</Product></Wix>')
PY
  (cd "$dir" && wixl -a x64 -o peer.msi peer.wxs)
  wine "$BUILD_DIR/win/bench/msi_uncompressed.exe" "$(winepath -w "$dir/peer.msi")"
}
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

# One file to download, against NSIS: our single-file setup of the mixed medium and an NSIS
# installer of the same files (solid LZMA, as its makers ship), each with /S from its start
# until it has installed and ended. Where ours goes: the check alone (a copy whose last payload
# byte differs ends right after it), the install alone (install.exe /S from the medium), and
# the unpacking and clean-up as the rest.
one_file() {
  local dir="$work/one-file"
  rm -rf "$dir" && mkdir -p "$dir"
  "$BUILD_DIR/native/builder/make_medium" build "$work/mixed/data" "$dir/medium" \
    "$BUILD_DIR/win/install/install.exe" "$BUILD_DIR/win/uninstall/uninstall.exe" \
    --setup "$dir/QuendralSetup.exe" --setup-program "$BUILD_DIR/win/setup/setup.exe" >/dev/null
  cp "$dir/QuendralSetup.exe" "$dir/damaged.exe"
  printf '\xff' | dd of="$dir/damaged.exe" bs=1 seek=$(($(stat -c %s "$dir/damaged.exe") - 1)) conv=notrunc 2>/dev/null
  cat >"$dir/peer.nsi" <<NSI
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
Name "Quendral"
OutFile "$dir/nsis-setup.exe"
InstallDir "\$PROGRAMFILES64\\Morvessa\\QuendralNsis"
RequestExecutionLevel admin
SilentInstall silent
Section
  SetOutPath "\$INSTDIR"
  File /r "$work/mixed/data/*"
SectionEnd
NSI
  makensis -V1 "$dir/peer.nsi" >/dev/null
  local ours=() nsis=() check=() install=() t
  for _ in $(seq "$runs"); do
    sync
    read -r t _ < <(peer "$(winepath -w "$dir/QuendralSetup.exe")" /S)
    ours+=("$t")
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
  done
  local o n c i ob nb
  o=$(median "${ours[@]}"); n=$(median "${nsis[@]}"); c=$(median "${check[@]}"); i=$(median "${install[@]}")
  ob=$(stat -c %s "$dir/QuendralSetup.exe"); nb=$(stat -c %s "$dir/nsis-setup.exe")
  one_file_rows="| one-file install, mixed | $o | $n | $(ratio "$o" "$n") |"$'\n'
  one_file_rows+="| one-file size, mixed | $ob | $nb | $(ratio "$ob" "$nb") |"
  one_file_split="check $c ms, install $i ms, unpacking and clean-up the rest: $(awk "BEGIN{print $o-$c-$i}") ms"
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

{
  echo "# Benchmark results"
  echo
  echo "Machine: $(nproc) cores, $(awk '/model name/{$1=$2=$3="";print;exit}' /proc/cpuinfo | sed 's/^ *//'), $(LANG=C free -g | awk '/^Mem:/{print $2}') GiB;"
  echo "Wine $(wine --version 2>/dev/null | head -1). Date: $(date -u +%Y-%m-%d). Command: \`make bench\` (RUNS=$runs)."
  echo "Every figure is the median of $runs runs, in milliseconds, measured in one run on one prefix."
  echo
  echo "Install (\"ours\": the copy phase, from Next on the summary page to the finish page: files,"
  echo "folders, shortcuts, registry values, log; the peers from their start to their exit):"
  echo
  echo "| medium | ours | wine msiexec /i | wine xcopy | native cp -r | ours/msiexec | ours/xcopy | ours/cp |"
  echo "|---|---|---|---|---|---|---|---|"
  printf '%s\n' "${installs[@]}"
  echo
  echo "Uninstall (\"ours\": the uninstaller's removal run, from its start to its finish page):"
  echo
  echo "| medium | ours | wine msiexec /x | native rm -r | ours/msiexec | ours/rm |"
  echo "|---|---|---|---|---|---|"
  printf '%s\n' "${removals[@]}"
  echo
  echo "Where each install's copy phase goes, from the benchmark build of the installer (per step: how"
  echo "often it ran and its total in ms; painting is on the user-interface thread, at the same time"
  echo "as the worker's steps):"
  echo
  echo "| step | mixed: count | mixed: ms | large: count | large: ms |"
  echo "|---|---|---|---|---|"
  echo "$breakdown"
  echo
  echo "Peak working set during the mixed install, KiB (GetProcessMemoryInfo):"
  echo
  echo "| medium | install.exe | wine msiexec /i | wine xcopy |"
  echo "|---|---|---|---|"
  echo "$mixed_memory"
  echo
  echo "Every peer's copy is compared with the medium file by file (cmp of every file), and the"
  echo "msiexec copy is a file of its own (another inode), not a link to the medium's."
  echo
  echo "One file to download (\"ours\": the single-file setup's /S, from its start until it has"
  echo "installed and ended; \"nsis\": makensis $(makensis -VERSION) with SetCompressor /SOLID lzma,"
  echo "a silent install of the same files into a folder; times in ms, sizes in bytes):"
  echo
  echo "| figure | ours | nsis | ours/nsis |"
  echo "|---|---|---|---|"
  echo "$one_file_rows"
  echo
  echo "Where the setup's time goes: $one_file_split."
  echo "Each file is stored or compressed with zlib as it pays: the mixed medium's files are"
  echo "random bytes and are stored."
  echo
  echo "Start-up to the first page on screen: install.exe $s ms; a minimal dialog program (the floor) $f ms;"
  echo "ratio $(ratio "$s" "$f")."
  echo
  echo "Responsiveness, medium of 999 files of 4-16 KiB: after Cancel -> No the next file's name is on"
  echo "the page $resume_median ms after No (median of ${#resumes[@]} pauses; the longest $resume_max ms)."
  echo "After Cancel -> Yes half-way through, the roll-back is done and the installer has ended"
  echo "$rollback_median ms after Yes (median of $runs; the longest $rollback_max ms)."
  echo
  echo "The media: \"mixed\" is the 1000-line cap, brisel.ini, 989 files of 4-64 KiB and 10 of 26 MiB (about"
  echo "300 MB); \"large\" is ten files of 100 MiB. The .msi peer is built with wixl from the same files"
  echo "for the same folder, uncompressed, its files read from a tree beside the package."
} >"$root/bench/RESULTS.md"
cat "$root/bench/RESULTS.md"
