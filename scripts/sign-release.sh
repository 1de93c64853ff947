#!/bin/bash
# Signs the exe users run. With a code-signing certificate first an
# Authenticode signature (osslsigncode), which Windows shows as the publisher,
# time-stamped when a time-stamp address is given and verified; then, always,
# the update signature the program checks: ECDSA P-256 over SHA-256 of the
# exact (Authenticode-signed) file, DER as openssl writes it, in EXE.sig.
# Checks that signature with the key's public half and that the exe carries
# that half, so that it will accept the next release signed with the same key.
# Keeps the unsigned exe's SHA-256 beside it (EXE minus ".exe" plus
# ".unsigned.exe.sha256"), which anyone can check against a rebuild; then
# lists what to publish.
#   scripts/sign-release.sh UPDATE_KEY.pem [options]
#     --pkcs12 FILE.p12 [--password-file FILE]   the Authenticode certificate and key
#     --cert CERT.pem --key KEY.pem               or both as PEM files
#     --timestamp URL     an RFC 3161 time-stamp server
#     --ca FILE           certificates the Authenticode signature is checked
#                         against (default: the system's)
#     --tsa-ca FILE       the same for the time stamp's signature
#     --exe FILE          default dist/Adquell Lite.exe
# The version published is the one the exe states of itself (its version
# resource), which the program checks an update against.
# Keep every key and certificate off this repository.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
usage="usage: scripts/sign-release.sh UPDATE_KEY.pem [--pkcs12 FILE [--password-file FILE] | --cert CERT.pem --key KEY.pem] [--timestamp URL] [--ca FILE] [--tsa-ca FILE] [--exe FILE]"
fail() { echo "sign-release: $*" >&2; exit 1; }
[ $# -ge 1 ] || fail "$usage"
key=$1; shift
exe="$root/dist/Adquell Lite.exe"
pkcs12="" password_file="" cert="" cert_key="" timestamp="" ca="" tsa_ca=""
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || fail "$usage"
  case "$1" in
    --pkcs12) pkcs12=$2 ;;
    --password-file) password_file=$2 ;;
    --cert) cert=$2 ;;
    --key) cert_key=$2 ;;
    --timestamp) timestamp=$2 ;;
    --ca) ca=$2 ;;
    --tsa-ca) tsa_ca=$2 ;;
    --exe) exe=$2 ;;
    *) fail "$usage" ;;
  esac
  shift 2
done
[ -f "$exe" ] || fail "no $exe; build it with scripts/release.sh"
# The file version of the exe's version resource: the fixed part that follows
# the key "VS_VERSION_INFO", its trailing zero numbers dropped down to two.
version=$(python3 - "$exe" <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
key = data.find('VS_VERSION_INFO\0'.encode('utf-16-le'))
at = data.find(b'\xbd\x04\xef\xfe', key) if key >= 0 else -1
if at < 0:
    sys.exit(1)
ms, ls = struct.unpack_from('<II', data, at + 8)
numbers = [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF]
while len(numbers) > 2 and numbers[-1] == 0:
    numbers.pop()
print('.'.join(map(str, numbers)))
PY
) || fail "$exe states no version of its own; the program would refuse it as an update"
if [ -n "$cert$cert_key" ] && { [ -z "$cert" ] || [ -z "$cert_key" ]; }; then fail "--cert and --key go together"; fi
[ -n "$pkcs12" ] && [ -n "$cert" ] && fail "either --pkcs12 or --cert and --key"
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

unsigned_sum="${exe%.exe}.unsigned.exe.sha256"
if [ -n "$pkcs12$cert" ]; then
  command -v osslsigncode >/dev/null || fail "osslsigncode is missing (scripts/setup.sh installs it)"
  osslsigncode extract-signature -in "$exe" -out "$work/earlier.sig" >/dev/null 2>&1 &&
    fail "$exe carries an Authenticode signature already; sign the unsigned build"
  unsigned=$(sha256sum "$exe" | cut -d' ' -f1)
  signer=()
  if [ -n "$pkcs12" ]; then
    signer=(-pkcs12 "$pkcs12")
    [ -n "$password_file" ] && signer+=(-readpass "$password_file")
  else
    signer=(-certs "$cert" -key "$cert_key")
  fi
  [ -n "$timestamp" ] && signer+=(-ts "$timestamp")
  osslsigncode sign "${signer[@]}" -h sha256 -n "Adquell Lite" -in "$exe" -out "$work/signed.exe" >"$work/sign.log" 2>&1 ||
    { cat "$work/sign.log" >&2; fail "osslsigncode could not sign $exe"; }
  checks=()
  [ -n "$ca" ] && checks+=(-CAfile "$ca")
  [ -n "$tsa_ca" ] && checks+=(-TSA-CAfile "$tsa_ca")
  osslsigncode verify "${checks[@]}" -in "$work/signed.exe" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log" >&2; fail "the Authenticode signature does not verify"; }
  # Anyone checks a download by removing the signature and comparing with a
  # rebuild: that must give back the exact bytes (an exe that does not end at
  # an 8-byte boundary, one not stripped, keeps the padding put before it).
  osslsigncode remove-signature -in "$work/signed.exe" -out "$work/removed.exe" >/dev/null 2>&1 &&
    [ "$(sha256sum "$work/removed.exe" | cut -d' ' -f1)" = "$unsigned" ] ||
    fail "removing the signature would not give back the unsigned exe (is it stripped, as scripts/release.sh builds it?)"
  cp "$work/signed.exe" "$exe"
  # What a rebuild gives, for anyone to compare with the download once its
  # signature is removed.
  echo "$unsigned  $(basename "${exe%.exe}").unsigned.exe" > "$unsigned_sum"
  echo "sign-release: Authenticode signature made and verified ($(grep -m1 -i 'Subject:' "$work/verify.log" | sed 's/^[[:space:]]*//'))"
fi
openssl dgst -sha256 -sign "$key" -out "$exe.sig" "$exe"
openssl dgst -sha256 -verify "$work/public.pem" -signature "$exe.sig" "$exe" >/dev/null || fail "the signature does not verify"
(cd "$(dirname "$exe")" && sha256sum "$(basename "$exe")" > "$(basename "$exe").sha256")
echo "sign-release: $exe.sig written and verified"
echo "sign-release: publish under the update server's /Adquell/:"
echo "  Adquell Lite $version.exe       ($exe)"
echo "  Adquell Lite $version.exe.sig   ($exe.sig)"
echo "  then make Update2.php answer $version"
echo "sign-release: and on the download page, for anyone to check:"
echo "  $(basename "$exe")   (as it is)"
echo "  $(basename "$exe").sha256   (the exe as published)"
[ -n "$pkcs12$cert" ] && echo "  $(basename "$unsigned_sum")   (the exe without its signature, as a rebuild gives it)"
exit 0
