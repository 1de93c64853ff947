#!/bin/bash
# Builds the exe users run: Adquell Lite.exe optimised for size, stripped,
# static, importing only Windows' own DLLs. Writes dist/Adquell Lite.exe and
# dist/Adquell Lite.exe.sha256, and prints its size and imports.
# The key updates must be signed with is built in from the public key file
# named by ADQUELL_UPDATE_PUBLIC_KEY, else install/update-public-key.pem when
# the repository holds one; without either the exe installs no updates.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
key=${ADQUELL_UPDATE_PUBLIC_KEY:-}
[ -z "$key" ] && [ -f install/update-public-key.pem ] && key="$root/install/update-public-key.pem"
[ -n "$key" ] && key=$(realpath "$key")
mkdir -p build
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DADQ_UPDATE_PUBLIC_KEY="$key" >build/release.configure.log 2>&1 || { cat build/release.configure.log; exit 1; }
cmake --build build/release -j "$(nproc)" --target adquell_lite 2>&1 | grep -E 'warning|error|Error' || true
[ "${PIPESTATUS[0]}" -eq 0 ] || exit 1
exe="build/release/bin/Adquell Lite.exe"
mkdir -p dist
cp "$exe" "dist/Adquell Lite.exe"
(cd dist && sha256sum "Adquell Lite.exe" > "Adquell Lite.exe.sha256")
imports=$(x86_64-w64-mingw32-objdump -p "dist/Adquell Lite.exe" | sed -n 's/^\s*DLL Name: //p' | sort -f | tr '\n' ' ')
echo "release: dist/Adquell Lite.exe, $(stat -c %s "dist/Adquell Lite.exe") bytes, imports: $imports"
echo "release: sha256 $(cut -d' ' -f1 "dist/Adquell Lite.exe.sha256")"
echo "release: update key ${key:-none (this exe finds newer versions but installs none)}"
# A signature of an earlier build no longer fits.
rm -f "dist/Adquell Lite.exe.sig" "dist/Adquell Lite.unsigned.exe.sha256"
# Only Windows' own DLLs: no MinGW runtime may be needed beside it.
if grep -qiE 'libstdc|libgcc|libwinpthread' <<<"$imports"; then
  echo "release: the exe needs a MinGW runtime DLL" >&2
  exit 1
fi
