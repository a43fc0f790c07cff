# Sourced by the tools that run the Windows build under Wine. Wine is kept quiet (its own
# messages off, no wait for a Mono or Gecko installer) and unattended. Its files live in
# ORBFALL_WINE_DIR, by default build/windows/wine, which tools/windows empties on every run:
# the prefix programs run in (prefix/, made when missing) and the copies of it that each
# game and installer gets.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ORBFALL_WINE_DIR=${ORBFALL_WINE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/windows/wine}
ORBFALL_WINE_PREFIX=$ORBFALL_WINE_DIR/prefix

# make_wine_prefix DIR: a new 64-bit prefix at DIR. Programs in it draw through X11 alone,
# as the tests drive them (Wine 10 tries Wayland where X fails, and says so on stderr). An
# unhandled exception ends a program at once, with the exception's code as its status and
# Wine's one line about it on stderr, where the default debugger would hold it open or
# report status 0.
make_wine_prefix() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  WINEPREFIX=$dir wineboot -i >/dev/null 2>&1 || return 1
  WINEPREFIX=$dir wine reg add 'HKCU\Software\Wine\Drivers' \
    /v Graphics /t REG_SZ /d x11 /f >/dev/null 2>&1 || return 1
  WINEPREFIX=$dir wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d "" /f >/dev/null 2>&1 || return 1
  WINEPREFIX=$dir wineserver -w
}

# ensure_wine_prefix: makes ORBFALL_WINE_PREFIX unless it is there, and starts its Wine server
# unless it runs, to stay 10 s after its last program; one caller at a time. Programs started
# together would otherwise race to start the server, and one may lose its connection.
ensure_wine_prefix() {
  mkdir -p "$ORBFALL_WINE_DIR"
  (
    flock 9
    [[ -f "$ORBFALL_WINE_PREFIX/system.reg" ]] || make_wine_prefix "$ORBFALL_WINE_PREFIX" \
      || exit 1
    WINEPREFIX=$ORBFALL_WINE_PREFIX wineserver -p10 >/dev/null 2>&1 9>&- || true
  ) 9>"$ORBFALL_WINE_DIR/prefix.lock"
}

# copy_wine_prefix: prints the path of a new copy of ORBFALL_WINE_PREFIX, a prefix of its own
# for one program, made in a moment beside it. The libraries and programs, which Wine only
# reads, are shared with it where the disk allows; everything else is copied, since Wine
# rewrites its registry and settings files.
copy_wine_prefix() {
  local copy
  copy=$(mktemp -d "$ORBFALL_WINE_DIR/copy.XXXXXX") || return 1
  rmdir "$copy"
  if ! cp -al "$ORBFALL_WINE_PREFIX" "$copy" 2>/dev/null; then
    rm -rf "$copy"
    cp -a "$ORBFALL_WINE_PREFIX" "$copy" || return 1
  fi
  (cd "$ORBFALL_WINE_PREFIX" && find . -type f ! -iname '*.dll' ! -iname '*.exe' \
      ! -iname '*.drv' ! -iname '*.sys' ! -iname '*.ocx' ! -iname '*.acm' ! -iname '*.cpl' \
      -print0) \
    | (cd "$copy" && xargs -0 -r -I{} cp --remove-destination "$ORBFALL_WINE_PREFIX/{}" "{}")
  echo "$copy"
}

# stop_wine DIR: ends every Wine process of the prefix at DIR.
stop_wine() {
  WINEPREFIX=$1 wineserver -k >/dev/null 2>&1 || true
}
