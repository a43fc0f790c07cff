# Sourced by the tools: looks at a window with ImageMagick. Each check prints what it measured
# and returns 0 when the picture passes. Colours are in 0..255 per channel.

# The real converter, not a stand-in that may shadow it on the path. ImageMagick 7 (Debian 13)
# may print a stray line before a -format result: the result is the last line.
_im_convert=/usr/bin/convert
[[ -x "$_im_convert" ]] || _im_convert=convert

# grab_window WINDOW FILE.png: the window's contents as the X server holds them.
grab_window() { import -silent -window "$1" "png:$2" 2>/dev/null; }

# white_pixels FILE COL0 ROW0 COL1 ROW1 MIN: at least MIN near-white pixels (every channel 200
# or more) in the box, corners included, rows counted down from the top.
white_pixels() {
  local n
  n=$("$_im_convert" "$1" -crop "$(($4 - $2 + 1))x$(($5 - $3 + 1))+$2+$3" +repage \
        -fx 'r >= 199.5/255 && g >= 199.5/255 && b >= 199.5/255' \
        -format '%[fx:round(mean*w*h)]' info: | tail -n1) || return 2
  echo "white pixels in columns $2-$4, rows $3-$5: $n (need $6)"
  [[ "$n" =~ ^[0-9]+$ ]] && (( n >= $6 ))
}

# lit_share FILE MIN [MAX]: the share of pixels not near black (some channel above 40), over
# every fourth pixel of every fourth row, lies in MIN..MAX (MAX defaults to 1).
lit_share() {
  local share
  share=$("$_im_convert" "$1" -sample 25% -fx 'r > 40.5/255 || g > 40.5/255 || b > 40.5/255' \
            -format '%[fx:mean]' info: | tail -n1) || return 2
  echo "share of pixels not black: $share (need $2 to ${3:-1})"
  awk -v s="$share" -v lo="$2" -v hi="${3:-1}" 'BEGIN { exit !(s >= lo && s <= hi) }'
}

# red_pixels FILE MIN: at least MIN pure red pixels (red 150 or more, green and blue 60 or
# less, a hit target's flash) over every second pixel of every second row.
red_pixels() {
  local n
  n=$("$_im_convert" "$1" -sample 50% -fx 'r >= 149.5/255 && g <= 60.5/255 && b <= 60.5/255' \
        -format '%[fx:round(mean*w*h)]' info: | tail -n1) || return 2
  echo "red pixels: $n (need $2)"
  [[ "$n" =~ ^[0-9]+$ ]] && (( n >= $2 ))
}

# aim_at_blue FILE: prints "DX DY", the offset from the window centre in pixels (right and
# down positive) of a blue target in full view, big ones near the centre first; fails when
# none is seen. Every second pixel of every second row; blobs touching the edge are partly
# hidden, so their centroid is off, and are left out.
aim_at_blue() {
  local size
  size=$("$_im_convert" "$1" -format '%w %h' info:) || return 2
  "$_im_convert" "$1" -sample 50% -fx 'b >= 119.5/255 && r <= 60.5/255 && g <= 60.5/255' \
      -define connected-components:verbose=true -connected-components 4 null: |
    awk -v size="$size" '
      BEGIN { split(size, s, " "); w = s[1] / 2; h = s[2] / 2 }
      $NF ~ /255/ && $4 >= 12 {
        split($2, box, /[x+]/); split($3, c, ",")
        if (box[3] < 1 || box[4] < 1 || box[3] + box[1] >= w || box[4] + box[2] >= h) next
        dx = 2 * c[1] - w; dy = 2 * c[2] - h
        score = $4 / (1 + sqrt(dx * dx + dy * dy) / 300)
        if (score > best) { best = score; bx = dx; by = dy }
      }
      END { if (best == "") { print "no blue target in sight"; exit 1 }
            printf "%d %d\n", bx, by }'
}
