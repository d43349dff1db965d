# Sourced by the scripts that run Windows programs: a private Wine prefix kept
# outside the repository, the zh_CN locale (ANSI code page 936), quiet Wine,
# a display (Xvfb when there is none) and a persistent wineserver.

export WINEPREFIX="${TORRENT_FINDER_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/torrent-finder/wine64}"
export WINEARCH=win64
export WINEDEBUG=-all
# The program needs neither Mono nor Gecko: keep wineboot from offering them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# TORRENT_FINDER_LOCALE lets one test run under another code page.
export LANG="${TORRENT_FINDER_LOCALE:-zh_CN.UTF-8}" LC_ALL="${TORRENT_FINDER_LOCALE:-zh_CN.UTF-8}"
# Windows live on one Wine virtual desktop filling the X screen: without a
# window manager, Wine otherwise waits 2 s for every visible window it
# destroys. The desktop's top-left corner is the screen's.
wine_env_screen=1024x768

wine_env_scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
wine_env_loader64=/usr/lib/wine/wine64
wine_env_loader32=/usr/lib/wine/wine
wine_env_server=/usr/lib/wine/wineserver64

# Some kernels cannot execute 32-bit Linux programs, and Wine's 32-bit loader
# is one. Where it cannot start, 32-bit Windows programs cannot run here.
wine_env_can_run_32bit() {
  "$wine_env_loader32" --version >/dev/null 2>&1
}

wine_env_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  export DISPLAY="${TORRENT_FINDER_DISPLAY:-:77}"
  if xdpyinfo >/dev/null 2>&1; then return 0; fi
  local lock="/tmp/.torrent-finder-xvfb${DISPLAY#:}.lock"
  (
    flock 9
    if ! xdpyinfo >/dev/null 2>&1; then
      # Without 9>&- the server would hold the lock for its whole life, and a
      # later caller that once missed the display would wait on it for ever.
      nohup Xvfb "$DISPLAY" -screen 0 "${wine_env_screen}x24" -nolisten tcp >/dev/null 2>&1 9>&- &
      for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    fi
  ) 9>"$lock"
  xdpyinfo >/dev/null 2>&1 || { echo "wine-env: cannot start Xvfb on $DISPLAY" >&2; return 1; }
}

wine_env_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.torrent-finder-ready-2" ]; then
      echo "wine-env: creating the Wine prefix $WINEPREFIX" >&2
      "$wine_env_server" -k 2>/dev/null || true
      rm -rf "$WINEPREFIX"
      "$wine_env_loader64" wineboot -i >/dev/null 2>&1 9>&-  # its wineserver must not hold the lock
      "$wine_env_loader64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      "$wine_env_loader64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$wine_env_screen" /f >/dev/null 2>&1
      "$wine_env_server" -w
      /usr/bin/python3 "$wine_env_scripts/make-simsun-font.py" \
        "$WINEPREFIX/drive_c/windows/Fonts/simsun.ttf" || exit 1
      touch "$WINEPREFIX/.torrent-finder-ready-2"
    fi
  ) 9>"$WINEPREFIX.lock"
}

wine_env_ready() {
  wine_env_display || return 1
  wine_env_prefix || return 1
  # A persistent server saves a second or two on every program start.
  "$wine_env_server" -p300 >/dev/null 2>&1 || true
  # The first program of a session starts Wine's services, which inherit its
  # output and would keep a caller such as ctest waiting for them: start them
  # here with no output of ours (0.15 s when they already run).
  "$wine_env_loader64" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# The loader for a Windows program: the 64-bit one for PE32+ files.
wine_env_loader_for() {
  if od -An -tx1 -j"$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')" -N6 "$1" 2>/dev/null | grep -q '50 45 00 00 64 86'; then
    echo "$wine_env_loader64"
  else
    echo "$wine_env_loader32"
  fi
}
