# The check of the winget manifest the builder wrote for its setup (sourced by run_tests.sh).
check_winget_manifest() {
  echo "the winget manifest of the builder's setup"
  python3 "$root/tests/winget/check_manifest.py" "$BUILD_DIR/builder-medium-download/winget" \
    "$BUILD_DIR/builder-medium-download/QuendralSetup.exe" "$results/winget.xml" >"$BUILD_DIR/winget.out" 2>&1 ||
    { cat "$BUILD_DIR/winget.out"; status=1; }
  tail -1 "$BUILD_DIR/winget.out"
}
