#!/usr/bin/env bash
# Whether a release can be rebuilt byte for byte: the committed source is built twice, in
# two folders of different names and depths, and the shipped programs (install.exe,
# uninstall.exe, the setup program), an unsigned medium of the sample product, its disc
# image (dated by the commit) and its single-file setup must come out identical. Ends with
# 1 and names what differs otherwise.
set -euo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
work="$BUILD_DIR/reproducible"
bash "$root/scripts/install_deps.sh" xorriso
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
rm -rf "$work"
mkdir -p "$work"

# One build of the programs from a copy of the committed source at `1`, with the builder of
# this checkout making the medium and the setup from them.
build_release() {  # <folder>
  local source="$1/source" build="$1/build"
  mkdir -p "$source"
  git -C "$root" archive HEAD | tar -x -C "$source"
  cmake -S "$source" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$build" -j"${JOBS:-2}" --target installer_program uninstaller_program setup_program lumora vigilo \
    >/dev/null
  mkdir -p "$1/product"
  cp -r "$source/sample/product/." "$1/product/"
  cp "$build/sample/lumora.exe" "$build/sample/vigilo.exe" "$1/product/"
  "$BUILD_DIR/native/builder/make_medium" build "$1/product" "$1/medium" "$build/install/install.exe" \
    "$build/uninstall/uninstall.exe" --licence "$source/sample/License.txt" --adnote "欢迎使用Quendral" \
    --order "$source/sample/order.txt" --setup "$1/QuendralSetup.exe" --setup-program "$build/setup/setup.exe" \
    --iso "$1/Quendral.iso" >/dev/null
}
build_release "$work/a"
build_release "$work/second/b"

status=0
for file in build/install/install.exe build/uninstall/uninstall.exe build/setup/setup.exe QuendralSetup.exe Quendral.iso; do
  if cmp -s "$work/a/$file" "$work/second/b/$file"; then
    echo "identical: $(basename "$file") ($(stat -c %s "$work/a/$file") bytes, SHA-256 $(sha256sum <"$work/a/$file" | cut -c1-16)...)"
  else
    echo "differs: $file" >&2
    status=1
  fi
done
if diff -r "$work/a/medium" "$work/second/b/medium" >/dev/null; then
  echo "identical: the medium ($(find "$work/a/medium" -type f | wc -l) files)"
else
  echo "differs: the medium" >&2
  status=1
fi
exit $status
