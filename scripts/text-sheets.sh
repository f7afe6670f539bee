#!/usr/bin/env bash
# Draws the text sample sheet with the Linux build and with the Windows build under Wine, then
# compares them: the layout (line heights, advances, pen positions) must agree exactly; the
# pixels are compared and reported (largest per-pixel difference, share of differing pixels),
# since the two rasterisers give different coverage. The sheets stay in NATIVE_BUILD/text-sheets.
#   scripts/text-sheets.sh NATIVE_BUILD WINDOWS_BUILD
set -euo pipefail
usage="usage: text-sheets.sh NATIVE_BUILD WINDOWS_BUILD"
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
native=$(cd "${1:?$usage}" && pwd)
windows=$(cd "${2:?$usage}" && pwd)
sheet=tests/raster/vesmar_text_sheet
for f in "$native/$sheet" "$windows/$sheet.exe"; do
  [ -f "$f" ] || { echo "text-sheets.sh: $f not found; build it first" >&2; exit 1; }
done
out="$native/text-sheets"
mkdir -p "$out"

server_started=0
cleanup() { if [ "$server_started" = 1 ]; then bash "$root/scripts/wine.sh" stop "$windows" || true; fi; }
trap cleanup EXIT

"$native/$sheet" draw "$out/linux.png" "$out/linux-layout.txt" 2>/dev/null ||
  { echo "text-sheets.sh: the Linux sheet failed" >&2; exit 1; }
bash "$root/scripts/wine.sh" start "$windows"
server_started=1
(cd "$out" && WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES=winedbg.exe=d \
  /usr/lib/wine/wine64 "$windows/$sheet.exe" draw windows.png windows-layout.txt </dev/null) ||
  { echo "text-sheets.sh: the Windows sheet failed" >&2; exit 1; }

echo "sheets: $out/linux.png $out/windows.png"
"$native/$sheet" compare "$out/linux.png" "$out/windows.png" 2>/dev/null
# Measured boxes include faint ink, where the rasterisers differ; they are reported, not required.
ink_lines=$(diff <(grep '    ink:' "$out/linux-layout.txt") <(grep '    ink:' "$out/windows-layout.txt") | grep -c '^<' || true)
echo "measured boxes that differ (ink only): $ink_lines"
if ! diff <(grep -v '    ink:' "$out/linux-layout.txt") <(grep -v '    ink:' "$out/windows-layout.txt"); then
  echo "text-sheets.sh: the Linux and Windows text layouts differ" >&2
  exit 1
fi
echo "Linux and Windows text layouts agree"
