#!/usr/bin/env bash
# Lays out the sample distribution medium under BUILD_DIR/medium with the medium builder:
# the sample product (sample/product and the built stand-in programs), its licence, its
# adnote and its file order.
set -euo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
product="$BUILD_DIR/sample-product"
rm -rf "$product" "$BUILD_DIR/medium" "$BUILD_DIR/medium-crash.new"
mkdir -p "$product"
cp -r "$root/sample/product/." "$product/"
cp "$BUILD_DIR/win/sample/lumora.exe" "$BUILD_DIR/win/sample/vigilo.exe" "$product/"
"$BUILD_DIR/native/builder/make_medium" build "$product" "$BUILD_DIR/medium" \
  "$BUILD_DIR/win/install/install.exe" "$BUILD_DIR/win/uninstall/uninstall.exe" \
  --licence "$root/sample/License.txt" --adnote "欢迎使用Quendral" --order "$root/sample/order.txt" >/dev/null

# The crash proof's small medium: three product files, one with a Chinese name, and the
# crash-point test build of both programs in place of the shipped ones, which is how it
# is made: the builder refuses that build.
"$BUILD_DIR/native/builder/make_medium" build "$root/tests/crash/product" "$BUILD_DIR/medium-crash.new" \
  "$BUILD_DIR/win/install/install.exe" "$BUILD_DIR/win/uninstall/uninstall.exe" \
  --licence "$root/sample/License.txt" --adnote "欢迎使用Quendral" >/dev/null
cp "$BUILD_DIR/win/install/install_crash.exe" "$BUILD_DIR/medium-crash.new/install.exe"
cp "$BUILD_DIR/win/uninstall/uninstall_crash.exe" "$BUILD_DIR/medium-crash.new/uninstall.exe"
rm -rf "$BUILD_DIR/medium-crash" && mv "$BUILD_DIR/medium-crash.new" "$BUILD_DIR/medium-crash"
