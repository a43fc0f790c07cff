# Sourced by the tools: what apt's own configuration says about where packages come from.

# The first Debian archive (not the security one) in apt's sources, deb822 or one-line format.
mirror_from_apt() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f "$f" ]] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
      { types = ""; uris = ""; enabled = "yes"
        for (i = 1; i <= NF; i++) {
          line = $i; sub(/#.*/, "", line)
          if (line ~ /^Types:/) types = substr(line, 7)
          else if (line ~ /^URIs:/) uris = substr(line, 6)
          else if (line ~ /^Enabled:/) enabled = substr(line, 9)
        }
        split(uris, u, " ")
        if (types ~ /(^|[ \t])deb([ \t]|$)/ && enabled !~ /no/ && u[1] != "" && u[1] !~ /security/) {
          print u[1]; exit
        }
      }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f "$f" ]] || continue
    sed -e 's/#.*//' -e 's/\[[^]]*\]//' "$f" | awk '$1 == "deb" && $2 !~ /security/ { print $2 }'
  done
}
