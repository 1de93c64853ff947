# Wine environment for the Windows-side tests and the demo. Source it, then:
#   wine_env_export BUILD_DIR   set the variables for a private prefix under BUILD_DIR
#   wine_env_up BUILD_DIR       also create the prefix once, start Xvfb and a warm wineserver
#   wine_env_down               stop what wine_env_up started
# WINE_ENV_SCREEN sets the virtual screen (default 1280x1024x24).
# It never touches the user's own ~/.wine.

wine_env_export() {
  local build
  build="$(cd "$1" && pwd)"
  export WINEPREFIX="$build/wineprefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  # Wine keeps file names in the Unix locale's character set: names outside
  # ASCII need a UTF-8 locale (C.UTF-8 is always there; the ANSI code page
  # Windows programs see stays 1252).
  export LC_ALL=C.UTF-8
  # A private HOME whose ALSA default is the null device: without a sound card
  # DirectShow cannot render audio otherwise.
  export HOME="$build/winehome"
  if [ ! -f "$HOME/.asoundrc" ]; then
    mkdir -p "$HOME"
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$HOME/.asoundrc"
  fi
}

# A display is free when it has no lock file, no socket file and no listening
# socket: in a chroot /tmp is its own, but the abstract sockets in
# /proc/net/unix are the machine's.
_wine_free_display() {
  local n used
  used="$(awk '{print $NF}' /proc/net/unix 2>/dev/null | grep -oE '/tmp/\.X11-unix/X[0-9]+$' | sort -u)"
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] &&
       ! grep -qx "/tmp/.X11-unix/X$n" <<<"$used"; then
      echo "$n"
      return 0
    fi
  done
  return 1
}

_wine_start_xvfb() {
  local n deadline
  n="$(_wine_free_display)" || { echo "wine-env: no free X display" >&2; return 1; }
  Xvfb ":$n" -screen 0 "${WINE_ENV_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
  WINE_ENV_XVFB_PID=$!
  export WINE_ENV_XVFB_PID
  export DISPLAY=":$n"
  deadline=$((SECONDS + 20))
  while [ ! -e "/tmp/.X11-unix/X$n" ]; do
    if [ $SECONDS -ge $deadline ] || ! kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null; then
      echo "wine-env: Xvfb did not start on :$n" >&2
      return 1
    fi
    sleep 0.1
  done
}

wine_env_up() {
  wine_env_export "$1"
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo_ok; then
    _wine_start_xvfb || return 1
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-env: creating the Wine prefix in $WINEPREFIX"
    timeout 300 wineboot -i >/dev/null 2>&1 || true
    timeout 120 wineserver -w || true
    timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    timeout 120 wineserver -w || true
  fi
  # A persistent, warmed server: each process starts fast, and Wine's
  # background services are up before any test runs.
  wineserver -p >/dev/null 2>&1 || true
  timeout 120 wine cmd /c exit >/dev/null 2>&1 || true
  export WINE_ENV_UP=1
}

# True when DISPLAY names a server we can reach.
xdpyinfo_ok() {
  local n="${DISPLAY#:}"
  n="${n%%.*}"
  [ -n "$n" ] && [ -e "/tmp/.X11-unix/X$n" ]
}

wine_env_down() {
  if [ -n "${WINEPREFIX:-}" ]; then
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    timeout 30 wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    unset WINE_ENV_XVFB_PID
  fi
}
