#!/bin/bash
# The shipped exe beside the simulated client at display scalings of 96, 120,
# 144 and 192 DPI (the Wine prefix's LogPixels): the demo playlist (adverts
# silenced and the volume back, banner and full-screen adverts handled), then
# the program's buttons and volume steps checked against their targets.
# Screenshots of the main window at 96 and 144 DPI (and the About window and
# the Options menu at 96) go to docs/.
#   scripts/dpi-check.sh [DPI ...]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/setup.sh --with-screenshots || exit 1
bash scripts/windows-build.sh demo_runner || exit 1
. scripts/wine-env.sh
# Under Wine another program's window is captured from the screen: at 192 DPI
# the client's window (1600 x 1200) must fit on it.
export WINE_ENV_SCREEN=2560x1600x24
set_dpi() {  # set_dpi DPI: the prefix's scaling, taken up by a new wineserver
  wine_env_down
  wine_env_export build/windows
  if [ "$1" = 96 ]; then
    timeout 60 wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
  else
    timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  fi
  timeout 60 wineserver -k >/dev/null 2>&1; timeout 60 wineserver -w >/dev/null 2>&1
  wine_env_up build/windows >/dev/null
}
trap 'set_dpi 96; wine_env_down' EXIT
# Every advert silenced (heard at most 700 ms), every volume back, every image
# advert handled.
judge_demo() {
  local max
  max=$(sed -n 's/^audible ms: .*maximum \([0-9]*\)$/\1/p' <<<"$1")
  [ -n "$max" ] && [ "$max" -le 700 ] || { echo "FAILED: an advert was heard for ${max:-?} ms"; return 1; }
  local line
  for line in "tracks after an advert back" "banner adverts hidden" "full-screen adverts closed"; do
    grep -E "^$line.*: ([0-9]+) of \1$" <<<"$1" >/dev/null || { echo "FAILED: $line"; return 1; }
  done
}
dpis=("$@")
[ ${#dpis[@]} -gt 0 ] || dpis=(96 120 144 192)
failed=0
for dpi in "${dpis[@]}"; do
  set_dpi "$dpi"
  shots=()
  if [ "$dpi" = 96 ] || [ "$dpi" = 144 ]; then shots=(--shots "build/shots-$dpi"); fi
  echo "== $dpi DPI"
  out="$(WINE_ENV_XVFB_PID= bash scripts/demo.sh "${shots[@]}" 2>&1 | tr -d '\r')"
  grep -vE '^  advert [0-9]+ audible|working folder|^program:' <<<"$out"
  judge_demo "$out" || failed=1
  wine build/windows/bin/demo_runner.exe "$(winepath -w tools/demo/transport-playlist.txt)" --transport 2>&1 |
    grep -E '^transport|exit code'
  [ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
  [ ${#shots[@]} -gt 0 ] && [ -f "build/shots-$dpi/main.png" ] && cp "build/shots-$dpi/main.png" "docs/main-window-$dpi-dpi.png"
  [ "$dpi" = 96 ] && [ -f "build/shots-$dpi/about.png" ] && cp "build/shots-$dpi/about.png" docs/about-window.png
  [ "$dpi" = 96 ] && [ -f "build/shots-$dpi/options-menu.png" ] && cp "build/shots-$dpi/options-menu.png" docs/options-menu.png
done
echo "dpi check: $([ $failed -eq 0 ] && echo passed || echo FAILED) at ${dpis[*]} DPI"
exit $failed
