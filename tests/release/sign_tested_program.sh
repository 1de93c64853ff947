#!/bin/bash
# The program the end-to-end tests run, Authenticode-signed as users get it:
# signed with the build's throw-away certificate, unless it carries a
# signature already (a published release's), which is kept.
#   sign_tested_program.sh PROGRAM OUTPUT CERT.pem KEY.pem
set -euo pipefail
program=$1 output=$2 cert=$3 key=$4
rm -f "$output"
if osslsigncode extract-signature -in "$program" -out "$output.signature" >/dev/null 2>&1; then
  rm -f "$output.signature"
  cp "$program" "$output"
else
  rm -f "$output.signature"
  osslsigncode sign -certs "$cert" -key "$key" -h sha256 -n "Adquell Lite" -in "$program" -out "$output" >/dev/null
fi
