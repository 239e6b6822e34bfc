#!/bin/bash
# Installs what building and testing Quorvanelle needs on Debian 12 (idempotent, quick when
# everything is present) and prepares the project's own Wine prefix.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
prefix="${QV_WINEPREFIX:-$root/build/wineprefix}"

# package -> a file it installs (checking files is much faster than asking dpkg per package)
declare -A needs=(
  [cmake]=/usr/bin/cmake
  [ninja-build]=/usr/bin/ninja
  [g++]=/usr/bin/g++
  [make]=/usr/bin/make
  [googletest]=/usr/src/googletest/CMakeLists.txt
  [libgtest-dev]=/usr/include/gtest/gtest.h
  [libgmock-dev]=/usr/include/gmock/gmock.h
  [libbenchmark-dev]=/usr/include/benchmark/benchmark.h
  [g++-mingw-w64-i686-posix]=/usr/bin/i686-w64-mingw32-g++-posix
  [binutils-mingw-w64-i686]=/usr/bin/i686-w64-mingw32-objdump
  [mingw-w64-i686-dev]=/usr/share/mingw-w64/include/windows.h
  [g++-mingw-w64-x86-64-posix]=/usr/bin/x86_64-w64-mingw32-g++-posix
  [binutils-mingw-w64-x86-64]=/usr/bin/x86_64-w64-mingw32-objdump
  [mingw-w64-x86-64-dev]=/usr/x86_64-w64-mingw32/lib/libuser32.a
  [wine]=/usr/bin/wine
  [wine32:i386]=/usr/lib/wine/wine
  [wine64]=/usr/lib/wine/wine64
  [fonts-wine]=/usr/share/wine/fonts/symbol.ttf
  [xvfb]=/usr/bin/Xvfb
  [xauth]=/usr/bin/xauth
  [fonts-liberation2]=/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
  [imagemagick]=/usr/bin/convert
  [python3]=/usr/bin/python3
  [python3-pil]=/usr/lib/python3/dist-packages/PIL/__init__.py
  [clang]=/usr/bin/clang++
  [clang-format]=/usr/bin/clang-format
  [libclang-rt-14-dev]=/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a
)
missing=()
for pkg in "${!needs[@]}"; do
  [ -e "${needs[$pkg]}" ] || missing+=("$pkg")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup: missing packages (${missing[*]}); run this as root to install them" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  # Other jobs on the machine may hold the package lock for a while.
  apt-get -o DPkg::Lock::Timeout=900 update -q
  apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
fi

# The project's own Wine prefix, created without Mono/Gecko installer dialogs. It is a 64-bit
# prefix, which runs the 32- and the 64-bit programs; a 32-bit-only one (no syswow64 folder) made
# by an earlier set-up is replaced.
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -d "$prefix/drive_c/windows" ] && [ ! -d "$prefix/drive_c/windows/syswow64" ]; then
  if [ "$prefix" != "$root/build/wineprefix" ]; then
    echo "setup: $prefix is a 32-bit-only Wine prefix; point QV_WINEPREFIX at a 64-bit one" >&2
    exit 1
  fi
  echo "setup: replacing the 32-bit-only Wine prefix in $prefix"
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
fi
if [ ! -f "$prefix/.qv-ready" ]; then
  echo "setup: creating the Wine prefix in $prefix"
  mkdir -p "$prefix"
  WINEARCH=win64 wineboot -i >/dev/null 2>&1 || true
  # "Arial" renders with Liberation Sans, which has the same metrics.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ \
    /d 'Liberation Sans' /f >/dev/null 2>&1
  wineserver -w
  touch "$prefix/.qv-ready"
fi
