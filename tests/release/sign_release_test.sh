#!/bin/bash
# scripts/sign-release.sh with a throw-away publisher certificate made here:
# the exe it signs verifies with osslsigncode, its update signature with the
# update key's public half, and removing the Authenticode signature gives back
# the exact unsigned bytes the published checksum names. A signature that does
# not verify leaves the exe as it was.
#   sign_release_test.sh PROGRAM UPDATE_KEY UPDATE_PUBLIC_KEY WORK_FOLDER
# PROGRAM must carry UPDATE_PUBLIC_KEY (the update copies of the build do);
# it is stripped here, as a release is.
set -uo pipefail
program=$1 update_key=$2 update_public=$3 work=$4
root="$(cd "$(dirname "$0")/../.." && pwd)"
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@" >/dev/null 2>&1; then echo "ok:     $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
rm -rf "$work" && mkdir -p "$work" || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
ca() {  # ca NAME: a self-signed code-signing certificate NAME.pem with NAME.key
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$1" -addext extendedKeyUsage=codeSigning \
    -keyout "$1.key" -out "$1.pem" 2>/dev/null
}
ca publisher && ca stranger || exit 1
echo "throw-away" > password
openssl pkcs12 -export -inkey publisher.key -in publisher.pem -passout file:password -out publisher.p12 || exit 1
x86_64-w64-mingw32-strip -o unsigned.exe "$program" && cp unsigned.exe "Adquell Lite.exe" || exit 1
cp unsigned.exe unaligned.exe && printf 'x' >> unaligned.exe

# Refused, for the reason given (in what the script says).
refused() {  # refused REASON COMMAND...
  local reason=$1; shift
  ! "$@" > said 2>&1 && grep -qF "$reason" said
}
fails() { ! "$@"; }
sign() { bash "$root/scripts/sign-release.sh" "$update_key" --exe "$work/Adquell Lite.exe" "$@" > said 2>&1; }

# Checked against a certificate that did not make it: refused, nothing changed.
check "a signature that does not verify is refused" \
  refused "does not verify" sign --pkcs12 publisher.p12 --password-file password --ca stranger.pem
check "... and the exe is left unsigned" cmp "Adquell Lite.exe" unsigned.exe
check "... with no update signature" test ! -e "Adquell Lite.exe.sig"
check "a time-stamp server that does not answer is refused" \
  fails sign --cert publisher.pem --key publisher.key --ca publisher.pem --timestamp http://127.0.0.1:9/
check "... and the exe is left unsigned" cmp "Adquell Lite.exe" unsigned.exe
check "--key without --cert is refused" refused "go together" sign --key publisher.key
check "--pkcs12 with --cert is refused" refused "either --pkcs12" \
  sign --pkcs12 publisher.p12 --password-file password --cert publisher.pem --key publisher.key --ca publisher.pem

check "sign-release.sh signs with a PKCS#12 certificate" sign --pkcs12 publisher.p12 --password-file password --ca publisher.pem
check "... as the version the exe states" grep -qF "Adquell Lite 0.5.exe " said
check "osslsigncode verify passes" osslsigncode verify -CAfile publisher.pem -in "Adquell Lite.exe"
osslsigncode verify -CAfile publisher.pem -in "Adquell Lite.exe" > verified 2>&1
check "... over SHA-256" grep -qE "Message digest algorithm *: SHA256" verified
check "the exe is no longer the unsigned one" fails cmp "Adquell Lite.exe" unsigned.exe
check "the update signature covers the signed exe" \
  openssl dgst -sha256 -verify "$update_public" -signature "Adquell Lite.exe.sig" "Adquell Lite.exe"
check "the published checksum is the signed exe's" sha256sum -c "Adquell Lite.exe.sha256"
osslsigncode remove-signature -in "Adquell Lite.exe" -out "Adquell Lite.unsigned.exe" >/dev/null 2>&1
check "without its signature it is the unsigned exe" cmp "Adquell Lite.unsigned.exe" unsigned.exe
check "... whose checksum is published" sha256sum -c "Adquell Lite.unsigned.exe.sha256"
check "a signed exe is not signed twice" \
  refused "signature already" sign --cert publisher.pem --key publisher.key --ca publisher.pem

check "an exe whose signature would not come off cleanly is refused" \
  refused "would not give back" bash "$root/scripts/sign-release.sh" "$update_key" --exe "$work/unaligned.exe" \
  --cert publisher.pem --key publisher.key --ca publisher.pem

# Without a certificate: the update signature only, the exe's bytes unchanged.
cp unsigned.exe "Adquell Lite.exe" && rm -f "Adquell Lite.exe.sig" "Adquell Lite.unsigned.exe.sha256"
check "without a certificate only the update signature is made" sign
check "... over the exe as built" cmp "Adquell Lite.exe" unsigned.exe
check "... which verifies" openssl dgst -sha256 -verify "$update_public" -signature "Adquell Lite.exe.sig" "Adquell Lite.exe"
check "... and no unsigned checksum is claimed" test ! -e "Adquell Lite.unsigned.exe.sha256"

echo "sign-release test: $failures failed"
[ "$failures" -eq 0 ]
