#!/bin/bash
# Proves the README's two commands the way a newcomer meets them: builds a
# clean Debian 12 root with debootstrap (minbase, git and certificates only),
# clones this repository's committed main into it, and runs scripts/demo.sh
# and scripts/test-all.sh inside it; then scripts/reproduce.sh inside it
# against the exe built from the same commit outside it. Not part of the test
# command.
#   scripts/fresh-check.sh [ROOT_FOLDER]     (default /var/tmp/adquell-fresh, made anew)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
target="${1:-/var/tmp/adquell-fresh}"
mirror="http://deb.debian.org/debian"
[ "$(id -u)" -eq 0 ] || { echo "fresh-check: run as root (debootstrap, chroot, mounts)" >&2; exit 1; }
if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q debootstrap >/dev/null
fi

unmount_all() {
  local m
  # Deepest first; a lazy unmount never leaves the machine's /dev or /sys busy.
  for m in $(awk -v t="$target" '$2 == t || index($2, t "/") == 1 {print $2}' /proc/mounts | sort -r); do
    umount -l "$m" 2>/dev/null || true
  done
}
end_processes() {
  # Whatever the root left running (wineserver, Xvfb) is ended with it.
  local pid
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$target" ] && kill -9 "$pid" 2>/dev/null || true
  done
}
cleanup() { end_processes; unmount_all; }
trap cleanup EXIT

cleanup
if grep -q " $target/" /proc/mounts; then echo "fresh-check: $target still has mounts; not removing it" >&2; exit 1; fi
rm -rf "$target"
start=$SECONDS
echo "fresh-check: debootstrap bookworm into $target"
debootstrap --variant=minbase --include=git,ca-certificates bookworm "$target" "$mirror" \
  > "$target.debootstrap.log" 2>&1 || { tail -20 "$target.debootstrap.log"; exit 1; }
cp /etc/resolv.conf "$target/etc/resolv.conf"
mount -t proc proc "$target/proc"
mount --rbind /sys "$target/sys" && mount --make-rslave "$target/sys"
mount --rbind /dev "$target/dev" && mount --make-rslave "$target/dev"
git clone -q --no-local "$repo" "$target/root/adquell"
echo "fresh-check: root ready after $((SECONDS - start)) s"

in_root() {  # in_root COMMAND: runs it in the clone inside the root, as a newcomer's shell would
  chroot "$target" /usr/bin/env -i HOME=/root TERM=dumb PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "cd /root/adquell && $1"
}
rc=0
t=$SECONDS
in_root "scripts/demo.sh" || rc=1
echo "fresh-check: scripts/demo.sh exit $rc after $((SECONDS - t)) s"
t=$SECONDS
in_root "scripts/test-all.sh" || rc=1
echo "fresh-check: scripts/test-all.sh ended after $((SECONDS - t)) s"
# The same commit built on this machine, outside the root, must give the exe
# a rebuild inside it gives, byte for byte.
t=$SECONDS
outside=$(mktemp -d /var/tmp/adquell-outside.XXXXXX)
trap 'cleanup; rm -rf "$outside"' EXIT
# With the environment a newcomer's shell has, as inside the root.
if git clone -q --no-local "$repo" "$outside/src" &&
   git -C "$outside/src" checkout -q "$(git -C "$target/root/adquell" rev-parse HEAD)" &&
   (cd "$outside/src" && env -i HOME="$HOME" TERM=dumb PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      bash scripts/release.sh >/dev/null); then
  cp "$outside/src/dist/Adquell Lite.exe" "$target/root/outside.exe"
  in_root "scripts/reproduce.sh /root/outside.exe" || rc=1
else
  echo "fresh-check: the release build outside the root failed"; rc=1
fi
rm -rf "$outside"
echo "fresh-check: scripts/reproduce.sh ended after $((SECONDS - t)) s"
echo "fresh-check: wall time $((SECONDS - start)) s, result $([ $rc -eq 0 ] && echo pass || echo FAIL)"
exit $rc
