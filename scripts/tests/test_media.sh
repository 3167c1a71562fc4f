# The media the end-to-end tests install besides the sample medium, made in one place (sourced
# by run_tests.sh): the builder's media of a product with Chinese names, signed, with their
# single-file setups and winget manifests, for the shipped programs and for the test builds
# whose manifest asks for code page 65001, and the sample medium with those test builds.
# Sets status=1 when one cannot be made.
make_test_media() {
  # Media the builder makes from a product with Chinese names, for the test that installs
  # one: signed with a certificate made here and now; no private key is kept anywhere.
  signing="$BUILD_DIR/test-signing"
  rm -rf "$signing" && mkdir -p "$signing"
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Morvessa Test Signing/O=Morvessa" \
    -keyout "$signing/key.pem" -out "$signing/cert.pem" >/dev/null 2>&1 || status=1
  # Each with its signed single-file setup and winget manifest in <folder>-download.
  builder_medium() {  # <folder> <install.exe> <uninstall.exe>
    rm -rf "$1" "$1-download"
    mkdir -p "$1-download"
    "$BUILD_DIR/native/builder/make_medium" build "$root/tests/e2e/builder-product" "$1" "$2" "$3" \
      --adnote "来自生成器" --sign-cert "$signing/cert.pem" --sign-key "$signing/key.pem" \
      --setup "$1-download/QuendralSetup.exe" --setup-program "$BUILD_DIR/win/setup/setup.exe" \
      --winget "$1-download/winget" --url "https://download.morvessa.com.cn/QuendralSetup.exe" >/dev/null || status=1
  }
  builder_medium "$BUILD_DIR/builder-medium" "$BUILD_DIR/win/install/install.exe" "$BUILD_DIR/win/uninstall/uninstall.exe"
  # The test builds whose manifest asks for code page 65001, as Windows' "Beta: Use Unicode
  # UTF-8" option gives every program: the sample medium and the builder's with them.
  builder_medium "$BUILD_DIR/builder-medium-utf8" "$BUILD_DIR/win/install/install_utf8.exe" \
    "$BUILD_DIR/win/uninstall/uninstall_utf8.exe"
  # A download whose product is larger than the lanes' 16 MiB drives: random bytes, which
  # the builder stores as they are.
  local large="$BUILD_DIR/large-product"
  rm -rf "$large" "$BUILD_DIR/large-medium" "$BUILD_DIR/large-download"
  cp -r "$root/tests/e2e/builder-product" "$large"
  head -c 20M /dev/urandom >"$large/large.bin"
  mkdir -p "$BUILD_DIR/large-download"
  "$BUILD_DIR/native/builder/make_medium" build "$large" "$BUILD_DIR/large-medium" "$BUILD_DIR/win/install/install.exe" \
    "$BUILD_DIR/win/uninstall/uninstall.exe" --setup "$BUILD_DIR/large-download/QuendralSetup.exe" \
    --setup-program "$BUILD_DIR/win/setup/setup.exe" >/dev/null || status=1
  rm -rf "$large" "$BUILD_DIR/large-medium"
  rm -rf "$signing" "$BUILD_DIR/medium-utf8"
  cp -r "$BUILD_DIR/medium" "$BUILD_DIR/medium-utf8"
  cp "$BUILD_DIR/win/install/install_utf8.exe" "$BUILD_DIR/medium-utf8/install.exe"
  cp "$BUILD_DIR/win/uninstall/uninstall_utf8.exe" "$BUILD_DIR/medium-utf8/uninstall.exe"
}
