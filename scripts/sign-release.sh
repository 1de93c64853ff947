#!/bin/bash
# Signs the exe users run, as the program checks an update: an ECDSA P-256
# signature over SHA-256 of the exact file (DER, as openssl writes it) in
# dist/Adquell Lite.exe.sig. Checks the signature with the key's public half
# and that the exe carries that half, so that it will accept the next release
# signed with the same key; then lists what to publish.
#   scripts/sign-release.sh KEY.pem        (the private key; keep it off this repository)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
key=${1:?usage: scripts/sign-release.sh KEY.pem}
exe="$root/dist/Adquell Lite.exe"
fail() { echo "sign-release: $*" >&2; exit 1; }
[ -f "$exe" ] || fail "no dist/Adquell Lite.exe; build it with scripts/release.sh"
openssl pkey -in "$key" -noout 2>/dev/null || fail "$key is not a private key"
openssl pkey -in "$key" -text_pub -noout | grep -q 'prime256v1' || fail "$key is not an ECDSA P-256 key"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
openssl pkey -in "$key" -pubout -out "$work/public.pem"
openssl pkey -pubin -in "$work/public.pem" -outform DER | tail -c 64 > "$work/point"
python3 - "$exe" "$work/point" <<'PY' || fail "the exe was not built with this key's public half: ADQUELL_UPDATE_PUBLIC_KEY=public.pem scripts/release.sh"
import sys
sys.exit(0 if open(sys.argv[2], 'rb').read() in open(sys.argv[1], 'rb').read() else 1)
PY
openssl dgst -sha256 -sign "$key" -out "$exe.sig" "$exe"
openssl dgst -sha256 -verify "$work/public.pem" -signature "$exe.sig" "$exe" >/dev/null || fail "the signature does not verify"
version=$(sed -n 's/.*ProgramVersion\[\] = "\(.*\)";/\1/p' "$root/build/release/generated/base/program_version.h")
echo "sign-release: dist/Adquell Lite.exe.sig written and verified"
echo "sign-release: publish under the update server's /Adquell/:"
echo "  Adquell Lite $version.exe       (dist/Adquell Lite.exe)"
echo "  Adquell Lite $version.exe.sig   (dist/Adquell Lite.exe.sig)"
echo "  then make Update2.php answer $version"
