#!/bin/bash
# Benchmark of the real program under Wine, the shipped (Release) exe and the
# Debug build's in the same run: audible milliseconds of 20 adverts, CPU while
# idle for 60 s, peak working set, start-up time and exe size.
# Prints figures only; asserts nothing.
#   scripts/bench-program.sh [release|debug|rev:COMMIT ...]   (default: release debug)
# rev:COMMIT builds that commit's shipped exe in a worktree and measures it
# beside this one's, e.g. to compare a change with what came before it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
builds=("$@")
[ ${#builds[@]} -gt 0 ] || builds=(release debug)
playlist="$root/build/bench-playlist.txt"
mkdir -p build
{
  echo "set volume 60"
  for i in $(seq 1 20); do
    echo "track | Artist $i | Song | 1500"
    echo "advert | Brand | Advert $i | 1500"
  done
  echo "track | Last | Song | 2000"
} > "$playlist"

# The shipped exe of an earlier commit, built in a worktree of its own.
build_rev() {  # build_rev COMMIT -> prints the exe's path
  local tree="$root/build/rev-$1"
  [ -d "$tree" ] || git worktree add -f --detach "$tree" "$1" >/dev/null 2>&1
  (cd "$tree" && bash scripts/release.sh >/dev/null 2>&1 || {
     cmake -S . -B build/release -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-w64.cmake" >/dev/null &&
     cmake --build build/release -j "$(nproc)" --target adquell_lite >/dev/null; })
  echo "$tree/build/release/bin/Adquell Lite.exe"
}

# The program's own process: the Wine process whose first argument is the
# exe the demo started (its Windows path, Z: for /) in the demo's prefix; an
# installed copy a test runs, or a script naming the exe, is not it. Nothing
# when there is not exactly one.
program_pid() {  # program_pid EXE
  local pid wanted found=()
  wanted="Z:$(realpath "$1" | tr / '\\')"
  for pid in $(pgrep -f "Adquell Lite.exe" || true); do
    [ "$(tr '\0' '\n' < "/proc/$pid/cmdline" 2>/dev/null | head -1)" = "$wanted" ] || continue
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$root/build/windows/wineprefix" &&
      found+=("$pid")
  done
  [ ${#found[@]} -eq 1 ] && echo "${found[0]}"
  return 0
}

# The wineserver of the demo's prefix (another prefix may have one running too).
wineserver_pid() {
  local pid
  for pid in $(pgrep wineserver || true); do
    tr '\0' '\n' < "/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$root/build/windows/wineprefix" &&
      { echo "$pid"; return; }
  done
}

# User + system clock ticks of a process (0 when there is none). Its name,
# in brackets, may hold blanks ("Adquell Lite.ex"): fields count after it.
cpu_ticks() {
  [ -n "$1" ] && [ -r "/proc/$1/stat" ] && sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}' || echo 0
}

bench_one() {  # bench_one release|debug|rev:COMMIT
  local build="$1" log="$root/build/bench-program-${1//[:\/]/-}.log" exe="dist/Adquell Lite.exe"
  if [ "$build" = debug ]; then exe="build/windows/bin/Adquell Lite.exe"; fi
  if [ "${build#rev:}" != "$build" ]; then exe="$(build_rev "${build#rev:}")"; fi
  # Named, so that its process is told by its path.
  local flags=(--bench --program "$exe")
  bash scripts/demo.sh "${flags[@]}" "$playlist" > "$log" 2>&1 &
  local demo=$! pid="" server="" idle_ms="" server_ms="" base_ms=""
  # CPU of the program's own process while it idles, and of the wineserver
  # it talks to, read from Linux's side: Wine does not report another
  # process's times. The wineserver also serves the simulated client, which
  # ticks every 10 ms: its share without the program is read with the
  # program stopped (SIGSTOP) for 50 s and counted for 60.
  # The runner idles 120 s after the line: 60 measured, 51 stopped, spare.
  for _ in $(seq 1 2400); do grep -q "idle minute starts" "$log" && break; sleep 0.5; done
  grep -q "idle minute starts" "$log" && pid=$(program_pid "$exe")
  server=$(wineserver_pid)
  if [ -n "$pid" ]; then
    local p1 p2 s1 s2 s3 s4 hz
    p1=$(cpu_ticks "$pid"); s1=$(cpu_ticks "$server"); sleep 60; p2=$(cpu_ticks "$pid"); s2=$(cpu_ticks "$server")
    hz=$(getconf CLK_TCK)
    idle_ms=$(( (p2 - p1) * 1000 / hz ))
    server_ms=$(( (s2 - s1) * 1000 / hz ))
    # Never left stopped, whatever ends this script meanwhile.
    trap 'kill -CONT "$pid" 2>/dev/null || true' EXIT
    if kill -STOP "$pid" 2>/dev/null; then
      sleep 1; s3=$(cpu_ticks "$server"); sleep 50; s4=$(cpu_ticks "$server")
      base_ms=$(( (s4 - s3) * 1000 * 60 / 50 / hz ))
    fi
    kill -CONT "$pid" 2>/dev/null || true
    trap - EXIT
  fi
  wait "$demo" || true
  echo "== $build build"
  grep -v "idle minute starts" "$log"
  if [ -n "$idle_ms" ] && [ -z "$base_ms" ]; then
    echo "idle for 60 s (playlist over, Spotify showing \"Spotify\"): program ${idle_ms} ms CPU, wineserver ${server_ms} ms" \
         "(the program ended before its share could be read)"
  elif [ -n "$idle_ms" ]; then
    echo "idle for 60 s (playlist over, Spotify showing \"Spotify\"): program ${idle_ms} ms CPU, wineserver ${server_ms} ms" \
         "(${base_ms} ms of it without the program), together $(awk "BEGIN{printf \"%.2f\", ($idle_ms + $server_ms) / 600}") % of one core;" \
         "the program's own share $(awk "BEGIN{printf \"%.2f\", ($idle_ms + $server_ms - $base_ms) / 600}") %"
  else
    echo "idle for 60 s: the program's process was not found"
  fi
  echo "exe size: $(stat -c %s "$exe") bytes"
}
for b in "${builds[@]}"; do bench_one "$b"; done
