#!/bin/bash
# The main job: builds Adquell Lite.exe and runs it under Wine beside the
# simulated Spotify client playing the demo playlist (tracks, audio adverts, a
# banner and a full-screen advert), in a private working folder; then ends both
# and prints what happened. It runs the shipped exe (scripts/release.sh) unless
# --debug asks for the Debug build's.
#   scripts/demo.sh [--bench] [--debug | --program EXE] [--shots FOLDER] [PLAYLIST]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
setup_args=()
for a in "$@"; do [ "$a" = "--shots" ] && setup_args=(--with-screenshots); done
bash scripts/setup.sh "${setup_args[@]}"
bash scripts/windows-build.sh demo_runner adquell_lite
. scripts/wine-env.sh
trap wine_env_down EXIT
wine_env_up build/windows >/dev/null
playlist="$root/tools/demo/demo-playlist.txt"
args=()
shots=""
while [ $# -gt 0 ]; do
  case "$1" in
    --bench) args+=(--bench); shift ;;
    --debug) args+=(--program "$(winepath -w "build/windows/bin/Adquell Lite.exe")"); shift ;;
    --program) args+=(--program "$(winepath -w "$2")"); shift 2 ;;
    --shots) shots="$2"; mkdir -p "$shots"; rm -f "$shots"/*.rect "$shots"/*.done
             args+=(--shots "$(winepath -w "$shots")"); shift 2 ;;
    *) playlist="$1"; shift ;;
  esac
done
if [ -n "$shots" ]; then
  # Takes each screenshot the runner asks for, cropped to the window.
  (
    for name in main about options-menu; do
      for _ in $(seq 1 600); do [ -f "$shots/$name.rect" ] && break; sleep 0.1; done
      read -r x y w h < "$shots/$name.rect" || continue
      import -window root -display "$DISPLAY" -crop "${w}x${h}+${x}+${y}" "$shots/$name.png" 2>/dev/null || true
      touch "$shots/$name.done"
    done
  ) &
fi
wine build/windows/bin/demo_runner.exe "$(winepath -w "$playlist")" "${args[@]}"
