#!/usr/bin/env bash
# The strictness table of `vsthost validate` as Markdown, read from the one place that holds it,
# tools/vsthost/validate/Strictness.cpp (each knob's ten values, and the level from which each
# kind of finding fails or a harsher input begins), with each knob's meaning from its comment in
# Strictness.h (its name in words where it has none).
#   scripts/strictness-table.sh            prints the tables
#   scripts/strictness-table.sh --update   writes them into docs/validate.md between the markers
#   scripts/strictness-table.sh --check    fails when docs/validate.md's copy is out of date
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source_dir=$root/tools/vsthost/validate
doc=$root/docs/validate.md
begin='<!-- strictness table: written by scripts/strictness-table.sh --update; do not edit -->'
end='<!-- end of strictness table -->'

table() {
  awk '
    # Strictness.h: "int name = 0;  // meaning", continued on comment-only lines below it.
    FNR == NR {
      if (match($0, /^ *[a-z0-9_]+ +[a-zA-Z]+ = [^;]*; *\/\/ */)) {
        name = $0; sub(/ = .*/, "", name); sub(/.* /, "", name)
        meaning[name] = substr($0, RSTART + RLENGTH); last = name
      } else if (last != "" && $0 ~ /^         +\/\/ /) {
        line = $0; sub(/^ +\/\/ */, "", line); meaning[last] = meaning[last] " " line
      } else last = ""
      next
    }
    # Strictness.cpp: "s.name = At<T>(level, {v1, ..., v10});" or "s.name = N;".
    /^ *s\.[a-zA-Z]+ *= / && !/= level;/ {
      name = $0; sub(/^ *s\./, "", name); sub(/ .*/, "", name)
      what = (name in meaning) ? meaning[name] : words(name)
      if (match($0, /\{[^}]*\}/)) {
        values = substr($0, RSTART + 1, RLENGTH - 2); gsub(/ /, "", values)
        if (split(values, v, ",") != 10) { print "strictness-table.sh: " name " has not ten values" > "/dev/stderr"; exit 1 }
        gsub(/,/, " | ", values)
        knobs[++k] = "| `" name "` | " what " | " values " |"
      } else {
        level = $0; sub(/.*= */, "", level); sub(/;.*/, "", level)
        fails[++f] = "| `" name "` | " what " | " level " |"
      }
    }
    function words(name) { gsub(/[A-Z]/, " &", name); return tolower(name) }
    END {
      print "| knob | what | 1 | 2 | 3 | 4 | 5 | 6 | 7 | 8 | 9 | 10 |"
      print "|---|---|---|---|---|---|---|---|---|---|---|---|"
      for (i = 1; i <= k; i++) print knobs[i]
      print ""
      print "| knob | what | from level |"
      print "|---|---|---|"
      for (i = 1; i <= f; i++) print fails[i]
    }
  ' "$source_dir/Strictness.h" "$source_dir/Strictness.cpp"
}

# The document with the block between the markers replaced by the table.
updated() {
  local generated
  generated=$(table)
  if ! grep -qxF "$begin" "$doc" || ! grep -qxF "$end" "$doc"; then
    echo "strictness-table.sh: no markers in $doc" >&2
    exit 1
  fi
  awk -v begin="$begin" -v end="$end" -v table="$generated" '
    $0 == begin { print; print ""; print table; print ""; skip = 1; next }
    $0 == end { skip = 0 }
    !skip
  ' "$doc"
}

case ${1:-} in
  "") table ;;
  --update)
    new=$(updated)
    printf '%s\n' "$new" >"$doc" ;;
  --check)
    if ! updated | diff -u "$doc" - >&2; then
      echo "strictness-table.sh: docs/validate.md's strictness table differs from Strictness.cpp; run scripts/strictness-table.sh --update" >&2
      exit 1
    fi
    echo "docs/validate.md's strictness table matches Strictness.cpp" ;;
  *) echo "usage: strictness-table.sh [--update|--check]" >&2; exit 2 ;;
esac
