#!/usr/bin/env bash
# Installs the Debian packages the kit's build, tests and demo need, and those a target
# names as arguments, when they are missing; and the compiled zh_CN.UTF-8 locale that
# Wine needs for GBK file names. Then checks that every command the scripts call is
# there, and stops with the command and its package when one is not.
# Never installs wine32: it breaks Wine for 64-bit programs here. The package wine
# brings the commands wine, winepath and wineboot (wine64 alone has none of them) and,
# without recommends, does not pull wine32 in.
set -euo pipefail

# Each command the scripts call, with the package that provides it on Debian 12.
commands=(
  cmake:cmake make:make g++:g++
  x86_64-w64-mingw32-gcc-posix:gcc-mingw-w64-x86-64-posix
  x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix
  x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64
  wine:wine winepath:wine wineboot:wine wineserver:wine64
  Xvfb:xvfb convert:imagemagick
  clang-14:clang-14 clang++-14:clang-14
  localedef:libc-bin locale:libc-bin iconv:libc-bin
  mount:mount umount:mount timeout:coreutils mkfifo:coreutils
  osslsigncode:osslsigncode openssl:openssl python3:python3
)
packages=(g++-mingw-w64-x86-64 wine wine64 locales xvfb fonts-wqy-zenhei imagemagick
          cmake make g++ libgtest-dev clang-14 libclang-rt-14-dev mount osslsigncode openssl
          zlib1g-dev libssl-dev libz-mingw-w64-dev python3 python3-yaml python3-jsonschema "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

for entry in "${commands[@]}"; do
  if ! command -v "${entry%%:*}" >/dev/null; then
    echo "missing command ${entry%%:*}: install the Debian package ${entry#*:}" >&2
    exit 1
  fi
done

# Wine takes its code page from the locale: Simplified Chinese (936) for every test, and
# Traditional Chinese (950), English (1252) and Japanese (932) for the other Windows.
for name in zh_CN zh_TW en_US ja_JP; do
  if ! locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8$"; then
    echo "compiling the $name.UTF-8 locale"
    localedef -i "$name" -f UTF-8 "$name.UTF-8"
  fi
done
