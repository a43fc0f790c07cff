# Sourced by the tools: start_private_xvfb [WxHxD] starts an Xvfb on a display number it picks
# itself (screen 1280x1024x24 unless given), exports DISPLAY for it, and stops it when the
# calling script exits; a script with an EXIT trap of its own calls stop_private_xvfb from it.
stop_private_xvfb() {
  [[ -n "${_orbfall_xvfb:-}" ]] && kill "$_orbfall_xvfb" 2>/dev/null || true
  _orbfall_xvfb=""
}

start_private_xvfb() {
  local displayfile
  displayfile=$(mktemp)
  Xvfb -displayfd 5 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 5>"$displayfile" >/dev/null 2>&1 &
  _orbfall_xvfb=$!
  [[ -n "$(trap -p EXIT)" ]] || trap stop_private_xvfb EXIT
  for _ in $(seq 100); do
    [[ -s "$displayfile" ]] && break
    sleep 0.1
  done
  if [[ ! -s "$displayfile" ]]; then
    rm -f "$displayfile"
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(head -n1 "$displayfile")"
  rm -f "$displayfile"
}
