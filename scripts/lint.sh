#!/usr/bin/env bash
# clang-tidy (configuration in .clang-tidy) over the portable code, which builds natively,
# and cppcheck over all sources of the two programs, the stand-ins and the benchmarks.
set -euo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# A clang build tree only for its compile commands (clang has no GBK execution charset;
# the portable code holds ASCII literals only).
cmake -S . -B "$BUILD_DIR/lint" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
portable=$(sed -n '/add_library(kit_portable/,/)/p' CMakeLists.txt | grep -o '[a-z_/]*\.cpp')
echo "clang-tidy: $(echo $portable | wc -w) files"
# shellcheck disable=SC2086
clang-tidy -p "$BUILD_DIR/lint" --quiet $portable 2>&1 | { grep -v 'warnings generated' || true; }
[ "${PIPESTATUS[0]}" -eq 0 ]
echo "cppcheck: common install product uninstall sample bench"
cppcheck --enable=warning,performance,portability --std=c++17 --quiet --error-exitcode=1 --inline-suppr \
  -I . common install product uninstall sample bench
echo "lint: clean"
