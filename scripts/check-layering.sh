#!/usr/bin/env bash
# Checks every quoted #include of our sources against the dependency arrows
#   plugbase -> vst -> effect,  raster -> editor -> editor/<platform> -> effect
# plus: the VST 2 record header stands alone; the tools see only their own folder and the record
# header (they link the host library and nothing of the plug-in); tests, fuzz targets and
# benchmarks share helpers only through tests/support. Platform headers (win/, posix/, x11/) are
# included only from the same platform's folders. Prints every offending line; exits 1 if any.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

records="vst/VstAbi.h"
libs="plugbase/ vst/ raster/ editor/ effect/ resources/"

# allowed FILE: the include prefixes FILE may use (space separated).
allowed() {
  local f=$1 suite
  case "$f" in
    "$records" | plugbase/OffscreenEditor.h) echo "" ;;
    plugbase/*) echo "plugbase/" ;;
    vst/*) echo "vst/ plugbase/" ;;
    # The growable buffer behind every list is the one piece of the plug-in base raster shares.
    raster/*) echo "raster/ plugbase/GrowBuffer.h" ;;
    editor/*) echo "editor/ raster/ plugbase/" ;;
    effect/* | resources/*) echo "$libs" ;;
    # Besides the VST 2 records, the host speaks our plug-ins' offscreen-editor extension, a
    # header of plain records like them.
    tools/vsthost/*) echo "tools/vsthost/ $records plugbase/OffscreenEditor.h" ;;
    tests/support/*) echo "tests/support/ $libs tools/vsthost/" ;;
    tests/*)
      suite=${f#tests/}
      suite=${suite%%/*}
      echo "tests/$suite/ tests/support/ $libs tools/vsthost/"
      ;;
    fuzz/* | bench/*) echo "tests/support/ $libs tools/vsthost/" ;;
    *) echo "" ;;
  esac
}

# platform FILE: win, posix or x11 when FILE lies in such a folder, else empty.
platform() {
  local p
  for p in win posix x11; do
    case "/$1" in */$p/*) echo $p; return ;; esac
  done
}

bad=0
while IFS= read -r f; do
  [ -f "$f" ] || continue
  allow=$(allowed "$f")
  own=$(platform "$f")
  while IFS=: read -r line inc; do
    [ -n "$inc" ] || continue
    ok=0
    case "$inc" in
      ../* | */../* | ./*) ok=0 ;;
      *)
        for prefix in $allow; do
          case "$prefix" in
            */) [[ "$inc" == "$prefix"* ]] && ok=1 ;;
            *) [[ "$inc" == "$prefix" ]] && ok=1 ;;
          esac
        done
        ;;
    esac
    theirs=$(platform "$inc")
    if [ -n "$theirs" ] && [ "$theirs" != "$own" ]; then ok=0; fi
    if [ $ok -eq 0 ]; then
      echo "$f:$line: #include \"$inc\" is against the layering"
      bad=1
    fi
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$f" \
             | sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/')
done < <(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp' '*.c' '*.rc')

if [ $bad -eq 0 ]; then echo "layering: every include follows the dependency arrows"; fi
exit $bad
