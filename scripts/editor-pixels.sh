#!/usr/bin/env bash
# Draws Vesmar's editor in a few states with `vsthost editor` on both targets — the Linux module's
# offscreen back buffer, the Linux module's X11 window (as a Linux host embeds it, read back from
# the X server) and the Windows DLL's real window under Wine — and compares each Linux picture with
# the Windows one pixel by pixel everywhere except the six knob value texts (the only text drawn at run time, by
# FreeType on Linux and GDI on Windows; every caption is part of the artwork). Background, knob
# rings turned to their angles, caps, radio strips, shape selector and pan bar must match exactly.
# The pictures and a difference image per state stay in NATIVE_BUILD/editor-pixels.
#   scripts/editor-pixels.sh NATIVE_BUILD WINDOWS_BUILD
# Needs ImageMagick's compare; an X display for Wine and the X11 window (a private Xvfb is started
# when DISPLAY is unset).
set -euo pipefail
usage="usage: editor-pixels.sh NATIVE_BUILD WINDOWS_BUILD"
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
native=$(cd "${1:?$usage}" && pwd)
windows=$(cd "${2:?$usage}" && pwd)
for f in "$native/vsthost" "$native/vesmar.so" "$windows/vsthost.exe" "$windows/Vesmar.dll"; do
  [ -f "$f" ] || { echo "editor-pixels.sh: $f not found; build it first" >&2; exit 1; }
done
command -v compare >/dev/null || { echo "editor-pixels.sh: ImageMagick's compare is missing" >&2; exit 1; }
out="$native/editor-pixels"
mkdir -p "$out"

server_started=0
xvfb_started=0
cleanup() {
  if [ "$server_started" = 1 ]; then bash "$root/scripts/wine.sh" stop "$windows" || true; fi
  if [ "$xvfb_started" = 1 ]; then bash "$root/scripts/xvfb.sh" stop "$out" || true; fi
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  DISPLAY=$(bash "$root/scripts/xvfb.sh" start "$out")
  export DISPLAY
  xvfb_started=1
fi
bash "$root/scripts/wine.sh" start "$windows"
server_started=1

# The states, each with its vsthost editor arguments in args_NAME.
states=(default clicked shape params)
args_default=()
args_clicked=(--do "click 170 200" --do "drag 348 119 348 145")
args_shape=(--do "click 60 209" --do "click 60 209")
# Every knob at another angle than by default, none at a multiple of a quarter turn. Attack 283 ms
# is one of the angles whose single-precision sine and cosine differ in the last bit between
# glibc and mingw-w64; the rotated blit must not depend on them.
args_params=(--param "Attack=0.035375" --param "Hold=0.33" --param "Decay=0.97" --param "Pan Width=0.15"
             --param "Pan Offset=0.9" --param "Sides Vol Amplify=0.6")

# The editor is 480 x 260; the value texts are centred in the bottom 15 rows (149-163) of the knob
# rectangles, 50 pixels wide around the knob centres 60, 132, 204, 276, 348 and 420. Compared are
# the rectangles that cover everything else (WIDTHxHEIGHT+X+Y).
regions=(480x149+0+0 480x96+0+164
         35x15+0+149 22x15+85+149 22x15+157+149 22x15+229+149 22x15+301+149 22x15+373+149 35x15+445+149)

# compare's metrics go to standard error; its exit status says 1 for "different", 2 for failure.
metric() {  # metric AE|PAE REGION A B
  local value status=0
  value=$(compare -metric "$1" -extract "$2" "$3" "$4" null: 2>&1 >/dev/null) || status=$?
  [ "$status" -le 1 ] || { echo "editor-pixels.sh: compare failed: $value" >&2; exit 1; }
  echo "${value%% *}"
}

# same_parameters A.log B.log: the same script reached the same parameters on both.
same_parameters() {
  diff <(sed -n '/^Parameters:/,/^Wrote/p' "$1" | tr -d '\r' | grep -v '^Wrote') \
       <(sed -n '/^Parameters:/,/^Wrote/p' "$2" | tr -d '\r' | grep -v '^Wrote')
}

# same_pixels NAME A.png B.png DIFFERENCE.png: prints how many pixels differ outside the value
# texts; fails when any does.
same_pixels() {
  local pixels=0 peak=0 region count level
  compare "$2" "$3" "$4" 2>/dev/null || true
  for region in "${regions[@]}"; do
    count=$(metric AE "$region" "$2" "$3")
    pixels=$((pixels + ${count%.*}))
    level=$(metric PAE "$region" "$2" "$3")
    level=$(( ${level%.*} / 257 ))  # 16-bit quantum to 8-bit levels
    [ "$level" -le "$peak" ] || peak=$level
  done
  echo "$1: $pixels pixels differ outside the value texts, largest difference $peak of 255"
  [ "$pixels" -eq 0 ]
}

failed=0
for state in "${states[@]}"; do
  declare -n state_args="args_$state"
  linux="$out/linux-$state.png"
  x11="$out/x11-$state.png"
  win="$out/windows-$state.png"
  "$native/vsthost" editor "$native/vesmar.so" --offscreen "${state_args[@]}" --force -o "$linux" >"$out/linux-$state.log" 2>&1 ||
    { cat "$out/linux-$state.log" >&2; echo "editor-pixels.sh: the Linux editor failed ($state)" >&2; exit 1; }
  "$native/vsthost" editor "$native/vesmar.so" "${state_args[@]}" --force -o "$x11" >"$out/x11-$state.log" 2>&1 ||
    { cat "$out/x11-$state.log" >&2; echo "editor-pixels.sh: the X11 editor window failed ($state)" >&2; exit 1; }
  if ! grep -q 'child of a top-level X11 host window' "$out/x11-$state.log"; then
    grep '^Editor:' "$out/x11-$state.log" >&2
    echo "editor-pixels.sh: the Linux editor did not open in an X11 window ($state)" >&2
    exit 1
  fi
  WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES=winedbg.exe=d \
    /usr/lib/wine/wine64 "$windows/vsthost.exe" editor "$windows/Vesmar.dll" "${state_args[@]}" --force -o "$win" \
    >"$out/windows-$state.log" 2>&1 </dev/null ||
    { cat "$out/windows-$state.log" >&2; echo "editor-pixels.sh: the Windows editor failed ($state)" >&2; exit 1; }
  for linux_kind in linux x11; do
    if ! same_parameters "$out/$linux_kind-$state.log" "$out/windows-$state.log"; then
      echo "editor-pixels.sh: the parameters differ after the same input ($linux_kind, $state)" >&2
      failed=1
    fi
  done
  same_pixels "$state (back buffer)" "$linux" "$win" "$out/difference-$state.png" || failed=1
  same_pixels "$state (X11 window)" "$x11" "$win" "$out/difference-x11-$state.png" || failed=1
done

echo "pictures and difference images: $out"
if [ "$failed" != 0 ]; then
  echo "editor-pixels.sh: the Linux and Windows editors differ outside the value texts" >&2
  exit 1
fi
echo "Linux (back buffer and X11 window) and Windows editors agree pixel for pixel outside the value texts"
