#!/usr/bin/env bash
# clang-tidy (configuration in .clang-tidy) over the portable code, which builds natively,
# and over the Windows code of the MinGW build; cppcheck over all sources of the two
# programs, the single-file setup, the stand-ins and the benchmarks.
set -euo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# A clang build tree only for its compile commands (clang has no GBK execution charset;
# the portable code holds ASCII literals only).
cmake -S . -B "$BUILD_DIR/lint" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# The program sources a build compiles, tests left out, from its compile commands.
sources_of() {
  python3 -c '
import json, sys
entries = json.load(open(sys.argv[1]))
print("\n".join(sorted({e["file"] for e in entries if "/tests/" not in e["file"] and e["file"].endswith(".cpp")})))
' "$1/compile_commands.json"
}
portable=$(sources_of "$BUILD_DIR/lint")
echo "clang-tidy: $(echo "$portable" | wc -l) files"
# shellcheck disable=SC2086
clang-tidy -p "$BUILD_DIR/lint" --quiet $portable 2>&1 | { grep -v 'warnings generated' || true; }
[ "${PIPESTATUS[0]}" -eq 0 ]

# The Windows code through the MinGW build's compile commands: clang for the MinGW target,
# with GCC's C++ headers (clang does not find them in GCC's "12-posix" folder) and UTF-8
# literals in place of GBK, which clang cannot produce and the checks do not need.
cmake -S . -B "$BUILD_DIR/lint-win" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
gcc_cxx=$(dirname "$(echo '#include <string>' | x86_64-w64-mingw32-g++-posix -xc++ -E -H - 2>&1 >/dev/null |
  grep -m1 '/c++/string$' | cut -d' ' -f2)")
windows=$(sources_of "$BUILD_DIR/lint-win")
echo "clang-tidy (MinGW target): $(echo "$windows" | wc -l) files"
# shellcheck disable=SC2086
clang-tidy -p "$BUILD_DIR/lint-win" --quiet --extra-arg=--target=x86_64-w64-mingw32 \
  --extra-arg=-fexec-charset=UTF-8 --extra-arg=-isystem"$gcc_cxx" \
  --extra-arg=-isystem"$gcc_cxx/x86_64-w64-mingw32" --extra-arg=-isystem"$gcc_cxx/backward" \
  $windows 2>&1 | { grep -v 'warnings generated' || true; }
[ "${PIPESTATUS[0]}" -eq 0 ]
echo "cppcheck: common install product uninstall setup sample bench builder"
cppcheck --enable=warning,performance,portability --std=c++17 --quiet --error-exitcode=1 --inline-suppr \
  -I . common install product uninstall setup sample bench builder
echo "lint: clean"
