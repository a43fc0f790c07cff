#!/usr/bin/env bash
# The Windows installer's round trip under Wine, in a fresh prefix on a private Xvfb: CPack
# makes the installer from the build; a silent install puts the game, its shortcut and its
# installed-apps entry in place; the installed game shows its title screen and ends with
# status 0 on Escape; a silent uninstall leaves nothing of the game behind.
#
#   installer_round_trip.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
root=$1
build=$2
source "$root/tools/lib/wine.sh"
source "$root/tools/lib/xvfb.sh"
source "$root/tools/lib/picture.sh"
source "$root/tools/lib/title_run.sh"

say() { echo "installer: $*"; }
fail() { echo "installer: FAILED: $*" >&2; exit 1; }

scratch=$(mktemp -d)
prefix=""
cleanup() {
  if [[ -n "$prefix" ]]; then
    stop_wine "$prefix"
    rm -rf "$prefix"
  fi
  stop_private_xvfb
  rm -rf "$scratch"
}
trap cleanup EXIT

(cd "$build" && cpack -G NSIS -B "$scratch/package" >"$scratch/cpack.log" 2>&1) \
  || { cat "$scratch/cpack.log" >&2; fail "cpack -G NSIS"; }
installers=("$scratch"/package/orbfall-*-win64.exe)
[[ -f "${installers[0]}" ]] || fail "cpack made no orbfall-*-win64.exe"
installer=${installers[0]}
say "made $(basename "$installer")"

ensure_wine_prefix || fail "cannot make a Wine prefix"
prefix=$(copy_wine_prefix) || fail "cannot copy the Wine prefix"
export WINEPREFIX=$prefix
start_private_xvfb  # NSIS opens a window even when silent

dir="$WINEPREFIX/drive_c/Program Files/Orbfall"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Orbfall"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orbfall'
# Everything of the game's: the installed files, the shortcuts and the entry.
traces() {
  find "$WINEPREFIX/drive_c" -iname '*orbfall*'
  if wine reg query "$key" >/dev/null 2>&1; then echo "$key"; fi
}

[[ -z "$(traces)" ]] || fail "the fresh prefix already holds the game: $(traces)"
# Wine waits for nothing it is not asked to: wineserver -w waits for the prefix's processes.
wine "$installer" /S || fail "the installer ended with status $?"
wineserver -w
for file in orbfall.exe LICENSE README.txt Uninstall.exe; do
  [[ -f "$dir/$file" ]] || fail "no $file in Program Files\\Orbfall: $(ls "$dir" 2>&1)"
done
[[ -f "$menu/Orbfall.lnk" ]] || fail "no Start-menu shortcut Orbfall: $(ls "$menu" 2>&1)"
entry=$(wine reg query "$key" | tr -d '\r')
for value in 'DisplayName +REG_SZ +Orbfall$' 'DisplayVersion +REG_SZ +[0-9.]+$' \
             'Publisher +REG_SZ +the Orbfall authors$' \
             'DisplayIcon +REG_SZ +C:\\Program Files\\Orbfall\\orbfall.exe$'; do
  grep -qE "^ +$value" <<<"$entry" || fail "the installed-apps entry lacks $value: $entry"
done
say "silent install: $(cd "$dir" && ls | paste -sd' ') in Program Files\\Orbfall; Start menu: $(cd "$menu" && ls | paste -sd' ')"
say "installed-apps entry: $(grep -E 'DisplayName|DisplayVersion|Publisher|DisplayIcon' <<<"$entry" | awk '{$2=""; print}' | paste -sd';')"

title_then_escape "$scratch" wine 'C:\Program Files\Orbfall\orbfall.exe' | sed 's/^/installer: installed game: /' \
  || fail "the installed game (last grab: $scratch/title.png)"

wine 'C:\Program Files\Orbfall\Uninstall.exe' /S || fail "the uninstaller ended with status $?"
wineserver -w
[[ -z "$(traces)" ]] || fail "left after the uninstall: $(traces)"
say "silent uninstall: no file, shortcut or entry of the game left"
