#!/usr/bin/env bash
# Renders the built-in demo (stereo test signal + MIDI note pattern, 8 s at 44100 Hz) through the
# Linux plug-in with vsthost and prints where the WAV file is.
#   scripts/demo.sh BUILD_DIR OUT_DIR [MODULE]     (MODULE defaults to BUILD_DIR/vesmar.so)
set -euo pipefail
usage="usage: demo.sh BUILD_DIR OUT_DIR [MODULE]"
build=${1:?$usage}
out=${2:?$usage}
module=${3:-$build/vesmar.so}
host=$build/vsthost
[ -x "$host" ] || { echo "demo.sh: $host not found; build the vsthost target first" >&2; exit 1; }
[ -f "$module" ] || { echo "demo.sh: $module not found; build the plug-in first" >&2; exit 1; }
mkdir -p "$out"
wav=$(cd "$out" && pwd)/vesmar-demo.wav
"$host" render "$module" --demo -o "$wav" --force
echo "Demo audio: $wav"
