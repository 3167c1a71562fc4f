#!/usr/bin/env bash
# Lays out the sample distribution medium under BUILD_DIR/medium: the built programs
# beside the sample files, the stand-in product programs in data\.
set -euo pipefail
: "${BUILD_DIR:?}"
root=$(cd "$(dirname "$0")/.." && pwd)
medium="$BUILD_DIR/medium"
rm -rf "$medium"
mkdir -p "$medium"
cp -r "$root/sample/medium/." "$medium/"
cp "$BUILD_DIR/win/install/install.exe" "$BUILD_DIR/win/uninstall/uninstall.exe" "$medium/"
cp "$BUILD_DIR/win/sample/lumora.exe" "$BUILD_DIR/win/sample/vigilo.exe" "$medium/data/"
