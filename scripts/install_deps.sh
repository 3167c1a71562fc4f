#!/usr/bin/env bash
# Installs the Debian packages the kit's build, tests and demo need, and those a target
# names as arguments, when they are missing; and the compiled zh_CN.UTF-8 locale that
# Wine needs for GBK file names.
# Never installs wine32: it breaks Wine for 64-bit programs here.
set -euo pipefail

packages=(g++-mingw-w64-x86-64 wine64 locales xvfb fonts-wqy-zenhei imagemagick
          cmake make g++ libgtest-dev clang-14 libclang-rt-14-dev "$@")
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

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "compiling the zh_CN.UTF-8 locale"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
