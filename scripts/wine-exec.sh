#!/bin/bash
# CMake's cross-compiling emulator: runs one Windows executable under Wine in
# the build's private prefix. Usage: wine-exec.sh BUILD_DIR program.exe [args]
set -u
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/wine-env.sh"
build="$1"; shift
wine_env_export "$build"
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec: no DISPLAY; run the tests through scripts/test-all.sh" >&2
  exit 125
fi
exec wine "$@"
