# Sourced by the tools (with picture.sh): title_then_escape DIR COMMAND... starts the game by
# COMMAND on $DISPLAY, waits for its window and its title screen, presses Escape, and returns
# 0 when the game ended within 15 s with status 0, printing nothing, and took its window with
# it. It prints what it saw; what fails is said on stderr, with the last grab left in
# DIR/title.png. DIR is a scratch directory of the caller's.
title_then_escape() {
  local dir=$1 game window="" title=0 status=0
  shift
  "$@" >"$dir/out" 2>&1 &
  game=$!

  for _ in $(seq 300); do  # 30 s
    kill -0 "$game" 2>/dev/null || break
    window=$(xdotool search --onlyvisible --name '^Orbfall' 2>/dev/null | head -n1 || true)
    [[ -n "$window" ]] && break
    sleep 0.1
  done
  if [[ -z "$window" ]]; then
    kill "$game" 2>/dev/null || true
    echo "no Orbfall window appeared within 30 s" >&2
    return 1
  fi

  # "ORBFALL" in white about 190-200 pixels down, columns 470-540, on black.
  for _ in $(seq 60); do  # about 60 s
    if grab_window "$window" "$dir/title.png" \
       && white_pixels "$dir/title.png" 465 180 545 210 100 >"$dir/probe" \
       && lit_share "$dir/title.png" 0 0.1 >>"$dir/probe"; then
      title=1
      break
    fi
    kill -0 "$game" 2>/dev/null || break
    sleep 1
  done
  if [[ $title -ne 1 ]]; then
    kill "$game" 2>/dev/null || true
    cat "$dir/probe" >&2 2>/dev/null || true
    echo "the title screen did not appear (last grab: $dir/title.png)" >&2
    return 1
  fi
  echo "title screen drawn: $(paste -sd';' "$dir/probe")"

  if ! timeout 10 xdotool windowfocus --sync "$window"; then
    kill "$game" 2>/dev/null || true
    echo "could not focus the window" >&2
    return 1
  fi
  xdotool key Escape
  for _ in $(seq 150); do  # 15 s
    kill -0 "$game" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$game" 2>/dev/null; then
    kill "$game" 2>/dev/null || true
    echo "the game was still running 15 s after Escape" >&2
    return 1
  fi
  wait "$game" || status=$?
  if [[ $status -ne 0 ]]; then
    echo "exit status after Escape was $status, not 0" >&2
    return 1
  fi
  if [[ -s "$dir/out" ]]; then
    echo "the game printed: $(cat "$dir/out")" >&2
    return 1
  fi
  if xdotool search --onlyvisible --name '^Orbfall' >/dev/null 2>&1; then
    echo "the game's window was still there after it ended" >&2
    return 1
  fi
  echo "Escape: exit status 0, nothing printed, the window gone"
}
