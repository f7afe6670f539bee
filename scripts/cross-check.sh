#!/usr/bin/env bash
# Renders the built-in demo with the Linux module and host, and with the Windows DLL and host
# under Wine, then compares the two WAV files sample by sample. Prints the largest difference;
# fails when a render fails or the difference exceeds 1e-6 (or TOLERANCE).
#   scripts/cross-check.sh NATIVE_BUILD WINDOWS_BUILD [NATIVE_MODULE WINDOWS_MODULE]
# (the modules default to NATIVE_BUILD/vesmar.so and WINDOWS_BUILD/Vesmar.dll)
set -euo pipefail
usage="usage: cross-check.sh NATIVE_BUILD WINDOWS_BUILD [NATIVE_MODULE WINDOWS_MODULE]"
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
native=$(cd "${1:?$usage}" && pwd)
windows=$(cd "${2:?$usage}" && pwd)
native_module=${3:-$native/vesmar.so}
windows_module=${4:-$windows/Vesmar.dll}
tolerance=${TOLERANCE:-1e-6}  # TOLERANCE=0: the samples must be bit for bit the same
for f in "$native/vsthost" "$windows/vsthost.exe" "$native_module" "$windows_module"; do
  [ -f "$f" ] || { echo "cross-check.sh: $f not found; build it first" >&2; exit 1; }
done

work=$(mktemp -d)
server_started=0
cleanup() {
  if [ "$server_started" = 1 ]; then bash "$root/scripts/wine.sh" stop "$windows" || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

echo "Rendering the demo natively ..."
"$native/vsthost" render "$native_module" --demo -o "$work/linux.wav" --force >"$work/linux.log" 2>&1 ||
  { cat "$work/linux.log" >&2; echo "cross-check.sh: the native render failed" >&2; exit 1; }

echo "Rendering the demo under Wine ..."
# A warm Wine server for the build's prefix, started here rather than by the first wine call.
bash "$root/scripts/wine.sh" start "$windows"
server_started=1
WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES=winedbg.exe=d \
  /usr/lib/wine/wine64 "$windows/vsthost.exe" render "$windows_module" --demo -o "$work/windows.wav" --force \
  >"$work/windows.log" 2>&1 </dev/null ||
  { cat "$work/windows.log" >&2; echo "cross-check.sh: the Windows render failed" >&2; exit 1; }

"$native/vsthost" compare "$work/linux.wav" "$work/windows.wav" --tolerance "$tolerance" || {
  echo "cross-check.sh: the Linux and Windows renders differ by more than $tolerance" >&2
  exit 1
}
echo "Linux and Windows renders agree within $tolerance"
