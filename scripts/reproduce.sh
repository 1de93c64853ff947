#!/bin/bash
# Rebuilds a commit in a fresh clone and compares the exe with one built
# before: the same commit (and the same public update key) must give the same
# bytes. Prints both SHA-256 and "identical", or the first offset at which
# they differ (and exits 1).
#   scripts/reproduce.sh [EXE [COMMIT]]
#     EXE     the exe to compare with (default dist/Adquell Lite.exe); an
#             Authenticode-signed download is compared once its signature is
#             removed: osslsigncode remove-signature -in A.exe -out B.exe
#     COMMIT  what to rebuild (default HEAD)
# ADQUELL_UPDATE_PUBLIC_KEY is used as scripts/release.sh uses it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
exe=$(realpath "${1:-$root/dist/Adquell Lite.exe}")
commit=$(git -C "$root" rev-parse "${2:-HEAD}^{commit}")
fail() { echo "reproduce: $*" >&2; exit 2; }
[ -f "$exe" ] || fail "no $exe; build it with scripts/release.sh"
if [ -z "${2:-}" ] && [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
  echo "reproduce: note: this checkout has changes that are not committed; $exe may not be $commit's"
fi
# A key named relative to here, as the clone's build must find it.
if [ -n "${ADQUELL_UPDATE_PUBLIC_KEY:-}" ]; then
  ADQUELL_UPDATE_PUBLIC_KEY=$(realpath "$ADQUELL_UPDATE_PUBLIC_KEY")
  export ADQUELL_UPDATE_PUBLIC_KEY
fi
clone=$(mktemp -d /var/tmp/adquell-reproduce.XXXXXX)
trap 'rm -rf "$clone"' EXIT
git clone -q --no-local "$root" "$clone/src"
git -C "$clone/src" checkout -q "$commit"
echo "reproduce: building $commit in $clone/src"
(cd "$clone/src" && bash scripts/release.sh >/dev/null) || fail "the clone's build failed"
rebuilt="$clone/src/dist/Adquell Lite.exe"
given_sum=$(sha256sum "$exe" | cut -d' ' -f1)
rebuilt_sum=$(sha256sum "$rebuilt" | cut -d' ' -f1)
echo "reproduce: given   $given_sum  $exe"
echo "reproduce: rebuilt $rebuilt_sum  ($commit)"
if [ "$given_sum" = "$rebuilt_sum" ]; then
  echo "reproduce: identical"
  exit 0
fi
byte=$(LC_ALL=C cmp "$exe" "$rebuilt" 2>/dev/null | sed -n 's/.* byte \([0-9]*\).*/\1/p' || true)
if [ -n "$byte" ]; then
  offset=$((byte - 1))
else  # one is the start of the other: they differ where the shorter ends
  a=$(stat -c %s "$exe") b=$(stat -c %s "$rebuilt")
  offset=$((a < b ? a : b))
fi
printf 'reproduce: different, first at offset %d (0x%x)\n' "$offset" "$offset"
exit 1
