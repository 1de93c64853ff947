#!/bin/bash
# Installs what the builds, tests and the demo need on Debian 12, with apt-get,
# when it is missing; then checks what they rely on (commands, compilers, Wine's
# MP3 decoding), so that a gap stops the run at once with one line naming it.
# Idempotent: when everything is there it only checks.
#   scripts/setup.sh [--with-screenshots]
set -euo pipefail

packages=(
  cmake g++ make googletest libgtest-dev python3 procps
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb
  # Wine decodes MP3 through GStreamer; without the good plug-ins DirectShow
  # cannot load an MP3. The tools give gst-inspect-1.0 for the check below.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-tools
  clang libclang-rt-14-dev lame sox openssl
  # Authenticode: the tested program is signed as releases are.
  osslsigncode
  # Wine draws Korean and Japanese only in a font that has them: the labels'
  # test titles need one installed.
  fonts-wqy-microhei
)
if [ "${1:-}" = "--with-screenshots" ]; then
  packages+=(imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q >/dev/null
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

fail() { echo "setup: $*" >&2; exit 1; }

for c in wine wineserver wineboot winepath Xvfb x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres \
         x86_64-w64-mingw32-objdump cmake lame sox clang++ python3 pgrep openssl osslsigncode gst-inspect-1.0; do
  command -v "$c" >/dev/null || fail "missing command: $c"
done
[ -f /usr/src/googletest/CMakeLists.txt ] || fail "missing GoogleTest sources in /usr/src/googletest"
[ -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a)" ] ||
  [ -n "$(find /usr/lib/llvm-14 -name 'libclang_rt.fuzzer*.a' -print -quit 2>/dev/null)" ] ||
  fail "missing clang's libFuzzer (libclang_rt.fuzzer)"
# Wine's MP3 path: GStreamer's MP3 parser and decoder, 64-bit.
for element in mpegaudioparse mpg123audiodec; do
  gst-inspect-1.0 --exists "$element" 2>/dev/null || fail "missing GStreamer element $element (Wine cannot decode MP3)"
done
if [ "${1:-}" = "--with-screenshots" ]; then
  command -v import >/dev/null || fail "missing command: import (imagemagick)"
fi
exit 0
