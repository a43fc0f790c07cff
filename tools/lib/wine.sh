# Sourced by the tools that run the Windows build under Wine. Wine is kept quiet (its own
# messages off, no wait for a Mono or Gecko installer) and unattended; the prefix it runs in
# is ORBFALL_WINE_PREFIX, by default build/windows/wine-prefix, which tools/windows makes
# afresh on every run and the other tools make when it is missing.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ORBFALL_WINE_PREFIX=${ORBFALL_WINE_PREFIX:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/windows/wine-prefix}

# make_wine_prefix DIR: a new 64-bit prefix at DIR. In it an unhandled exception ends the
# program at once, with the exception's code as its status and Wine's one line about it on
# stderr, where the default debugger would hold it open or report status 0.
make_wine_prefix() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  WINEPREFIX=$dir wineboot -i >/dev/null 2>&1 || return 1
  WINEPREFIX=$dir wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d "" /f >/dev/null 2>&1 || return 1
  WINEPREFIX=$dir wineserver -w
}

# ensure_wine_prefix: makes ORBFALL_WINE_PREFIX unless it is there; one maker at a time.
ensure_wine_prefix() {
  mkdir -p "$(dirname "$ORBFALL_WINE_PREFIX")"
  (
    flock 9
    [[ -f "$ORBFALL_WINE_PREFIX/system.reg" ]] || make_wine_prefix "$ORBFALL_WINE_PREFIX"
  ) 9>"$ORBFALL_WINE_PREFIX.lock"
}

# copy_wine_prefix FROM TO: a prefix of its own for one program, made in a moment. The
# libraries and programs, which Wine only reads, are shared with FROM; everything else is
# copied, since Wine rewrites its registry and settings files.
copy_wine_prefix() {
  cp -al "$1" "$2" || return 1
  (cd "$1" && find . -type f ! -iname '*.dll' ! -iname '*.exe' ! -iname '*.drv' \
      ! -iname '*.sys' ! -iname '*.ocx' ! -iname '*.acm' ! -iname '*.cpl' -print0) \
    | (cd "$2" && xargs -0 -r -I{} cp --remove-destination "$1/{}" "{}")
}

# stop_wine DIR: ends every Wine process of the prefix at DIR.
stop_wine() {
  WINEPREFIX=$1 wineserver -k >/dev/null 2>&1 || true
}
