# bench/RESULTS.md from the figures bench.sh measured (sourced by it).
write_report() {
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
    echo "Each timed run starts with the disk idle (\`sync\` before it), and the programs take turns"
    echo "within each of the runs (ours, msiexec, xcopy, cp, then ours again). Without the sync a"
    echo "program's gigabyte of new data is still being written back while the next one runs and"
    echo "slows it: our install of the large medium right after xcopy's copy, unsynced, took"
    echo "$unsynced ms, against the synced median above; figures that doubled between rounds came"
    echo "from that, and from which program happened to follow which."
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
    echo "Against the same files installed from a folder (install.exe /S of the medium the setup"
    echo "carries; the first page: from the start to the wizard's first page on screen, closed again):"
    echo
    echo "| figure | one file | folder | one file/folder |"
    echo "|---|---|---|---|"
    echo "$one_file_folder"
    echo
    echo "The temporary folder's largest growth during the one-file install: $one_file_temp bytes (the"
    echo "largest of $runs runs): only the kit's own files; the product's go from the setup's file"
    echo "straight into the install folder."
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
}
