#!/usr/bin/env bash
# Checks every quoted #include of our sources against the dependency arrows
#   plugbase -> effect,  plugbase -> vst, vst3, clap (the adapters),  raster -> editor -> editor/<platform> -> effect
# all standing on the ground floor: abi/ (plain records, including only each other) and base/ (general
# containers). The command-line host stands on abi/ alone, in its own arrows
#   host -> cli -> system -> formats -> render -> editor -> validate -> the commands (tools/vsthost/)
# where cli/ holds what every part of the tool shares (exit codes, messages, option tables) and the
# host library (host/) uses nothing of the tool at all. Tests, fuzz targets and benchmarks share
# helpers only through tests/support and use of vsthost only the host library and formats/; the
# tool's own suite (tests/tools) may use every folder beneath the commands. Platform headers (win/,
# posix/, x11/) are included only from the same platform's folders (x11/ may also use posix/). The
# effect and the core name no plug-in format: a module is the effect plus one format's adapter,
# whose entry alone calls the effect's factory (effect/CreateEffect.h). Prints every offending
# line; exits 1 if any.
#
# --self-test: plants includes against the arrows (effect/ -> vst/, plugbase/ -> vst/ and effect/)
# in a scratch copy of the tree and succeeds only if every one is refused.
set -uo pipefail
script="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/$(basename "${BASH_SOURCE[0]}")"
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

if [ "${1:-}" = "--self-test" ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  git ls-files -z -- '*.h' '*.cpp' | (cd "$root" && xargs -0 cp --parents -t "$scratch")
  mkdir -p "$scratch/scripts" && cp "$script" "$scratch/scripts/"
  (cd "$scratch" && git init -q && git add -A) || exit 1
  if ! out=$("$scratch/scripts/check-layering.sh"); then
    echo "layering self-test: the unchanged tree is refused"; echo "$out"; exit 1
  fi
  failed=0
  for plant in "effect/VSTCLASS.h:vst/IVstPlugin.h" "effect/VSTCLASS.h:lv2/Lv2Plugin.h" \
               "plugbase/IPluginCore.h:vst/VstEntry.h" "plugbase/IPluginCore.cpp:effect/CreateEffect.h"; do
    file=${plant%%:*} inc=${plant#*:}
    cp "$root/$file" "$scratch/$file.keep"
    printf '#include "%s"\n' "$inc" >>"$scratch/$file"
    out=$("$scratch/scripts/check-layering.sh")
    if grep -q "^$file:.*\"$inc\" is against" <<<"$out"; then
      echo "layering self-test: $file -> $inc refused"
    else
      echo "layering self-test: $file -> $inc NOT refused"; failed=1
    fi
    mv "$scratch/$file.keep" "$scratch/$file"
  done
  exit $failed
fi

ground="abi/ base/"
# What the effect may use: every library but a format's adapter.
effectlibs="plugbase/ raster/ editor/ effect/ resources/ $ground"
libs="$effectlibs vst/ vst3/ lv2/"
vsthost=tools/vsthost
hostlib="$vsthost/host/ abi/ base/x11/"
cli="$vsthost/cli/"
system="$vsthost/system/ $cli $hostlib"
formats="$vsthost/formats/ $system"
render="$vsthost/render/ $formats"
hosting="$vsthost/editor/ $render"
# The validator stands on the editor hosting (its editor tests drive vsthost's editor host) and
# everything beneath it.
validate="$vsthost/validate/ $hosting"
# What other code may use of vsthost: the host library and the file formats.
published="$vsthost/host/ $vsthost/formats/"
beneath="$published $vsthost/cli/ $vsthost/system/ $vsthost/render/ $vsthost/editor/ $vsthost/validate/"

# allowed FILE: the include prefixes FILE may use (space separated).
allowed() {
  local f=$1 suite
  case "$f" in
    abi/*) echo "abi/" ;;
    base/*) echo "base/" ;;
    plugbase/*) echo "plugbase/ $ground" ;;
    vst/*) echo "vst/ plugbase/ effect/CreateEffect.h $ground" ;;
    vst3/*) echo "vst3/ plugbase/ effect/CreateEffect.h $ground" ;;
    clap/*) echo "clap/ plugbase/ effect/CreateEffect.h $ground" ;;
    # The LV2 adapter with its UI and its Turtle generator.
    lv2/*) echo "lv2/ plugbase/ effect/CreateEffect.h $ground" ;;
    raster/*) echo "raster/ $ground" ;;
    editor/*) echo "editor/ raster/ plugbase/ $ground" ;;
    effect/* | resources/*) echo "$effectlibs" ;;
    $vsthost/host/*) echo "$hostlib" ;;
    $vsthost/cli/*) echo "$cli" ;;
    $vsthost/system/*) echo "$system" ;;
    $vsthost/formats/*) echo "$formats" ;;
    $vsthost/render/*) echo "$render" ;;
    $vsthost/editor/*) echo "$hosting" ;;
    $vsthost/validate/*) echo "$validate" ;;
    $vsthost/*) echo "$vsthost/ abi/" ;;
    tests/support/*) echo "tests/support/ $libs $published" ;;
    tests/tools/*) echo "tests/tools/ tests/support/ $libs $beneath" ;;
    # The LV2 suite compares the LV2 module with vsthost's render and editor of the same effect.
    tests/lv2/*) echo "tests/lv2/ tests/support/ $libs $beneath" ;;
    tests/*)
      suite=${f#tests/}
      suite=${suite%%/*}
      echo "tests/$suite/ tests/support/ $libs $published"
      ;;
    fuzz/* | bench/*) echo "tests/support/ $libs $published" ;;
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
    # X11 is a POSIX window system: its folders may build on the POSIX ones.
    if [ -n "$theirs" ] && [ "$theirs" != "$own" ] && ! { [ "$own" = x11 ] && [ "$theirs" = posix ]; }; then ok=0; fi
    if [ $ok -eq 0 ]; then
      echo "$f:$line: #include \"$inc\" is against the layering"
      bad=1
    fi
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$f" \
             | sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/')
done < <(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp' '*.c' '*.rc')

if [ $bad -eq 0 ]; then echo "layering: every include follows the dependency arrows"; fi
exit $bad
