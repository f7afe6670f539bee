#!/usr/bin/env bash
# Vesmar in a real DAW: Debian's Ardour 7 headless (ardour7-lua, Dummy backend) scans the module
# with its own scanner, inserts it on a track and drives every stepped parameter through Ardour's
# control API, saves, reloads and loads the factory programs as presets (scripts/host-ardour.lua).
# The stereo LV2 plug-in goes on a second track by its URI and goes through the same steps.
# Installs Debian's ardour when it is missing. Ardour's settings, caches and the session live in
# OUT_DIR, so the user's own Ardour set-up is neither read nor changed.
#   scripts/host-ardour.sh VSTHOST MODULE LV2_BUNDLE OUT_DIR [VST3_BUNDLE]   (builds without sanitizers)
# With VST3_BUNDLE (Vesmar.vst3), Ardour also scans and drives the VST 3 module
# (scripts/host-ardour-vst3.lua); the summary counts all.
# Ends with "ardour: N passed, N failed"; exits 1 on any failure.
set -uo pipefail
usage="usage: host-ardour.sh VSTHOST MODULE LV2_BUNDLE OUT_DIR [VST3_BUNDLE]"
vsthost=${1:?$usage} module=${2:?$usage} bundle=${3:?$usage} out=${4:?$usage} vst3_bundle=${5:-}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
lib=/usr/lib/ardour7

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
if ! command -v ardour7-lua >/dev/null || [ ! -x "$lib/ardour-vst-scanner" ]; then
  echo "== installing: ardour"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ardour >/dev/null
fi
fail() { echo "FAIL $*"; echo "ardour: 0 passed, 1 failed"; exit 1; }
command -v ardour7-lua >/dev/null || fail "ardour7-lua is not installed"

rm -rf "$out"
mkdir -p "$out/vst" "$out/lv2" "$out/home"
out=$(cd "$out" && pwd)
# Ardour finds Linux VST modules by folder; a folder of its own holds only this one.
cp "$module" "$out/vst/vesmar.so" || fail "cannot copy $module"
# Ardour stamps its scan cache in whole seconds and takes a cache older than the module for stale:
# a copy made in the same second as the scan would not be listed. Dated two seconds back, it is.
touch -d "@$(($(date +%s) - 2))" "$out/vst/vesmar.so"
export HOME="$out/home" XDG_CONFIG_HOME="$out/home/config" XDG_CACHE_HOME="$out/home/cache"
export LXVST_PATH="$out/vst" VST_PATH="$out/vst"
export VESMAR_ARDOUR_SCRIPTS="$here"  # where the Lua scripts find their shared part
# LV2 bundles are found by folder too: ours alone, then the system's (an installed Vesmar.lv2 there
# would hold the same URIs, so it must not shadow the one under test).
cp -r "$bundle" "$out/lv2/Vesmar.lv2" || fail "cannot copy $bundle"
export LV2_PATH="$out/lv2:/usr/lib/lv2:/usr/local/lib/lv2"
# A sanitizer build cannot be measured here: Ardour is not instrumented, and with the ASan runtime
# preloaded ardour7-lua hangs before it runs the script.
for binary in "$module" "$bundle/vesmar.so"; do
  if ldd "$binary" | grep -qE 'lib(a|t|ub)san\.so'; then fail "$binary is a sanitizer build; give a Release one"; fi
done

# The reference for the presets: each factory program's values as vsthost reads them. Slots the
# plug-in leaves empty (named "- N -") take the current values when first selected, so they have
# no values of their own to compare.
programs="$out/programs.txt"
names=$("$vsthost" info --json "$module" | python3 -c 'import json, sys; print("\n".join(json.load(sys.stdin)["programs"]))') ||
  fail "vsthost cannot read the programs of $module"
n=0
: >"$programs"
while IFS= read -r name; do
  [[ "$name" =~ ^-\ [0-9]+\ -$ ]] && { n=$((n + 1)); continue; }
  values=$(env -u DISPLAY "$vsthost" editor "$module" --program "$n" |
    sed -nE '/^Parameters:/,$ s/^ +[0-9]+ +"[^"]*" +([-+.0-9eE]+) .*/\1/p' | tr '\n' ' ')
  printf '%s\t%s\n' "$name" "$values" >>"$programs"
  n=$((n + 1))
done <<<"$names"

# Ardour's own scanner, in its own process, as Ardour scans new modules.
(export LD_LIBRARY_PATH=$lib ARDOUR_DATA_PATH=/usr/share/ardour7 ARDOUR_CONFIG_PATH=/etc/ardour7 \
   ARDOUR_DLL_PATH=$lib
 timeout 60 "$lib/ardour-vst-scanner" -f "$out/vst/vesmar.so") >"$out/scan.log" 2>&1
grep -q "Found Plugin: .* Vesmar" "$out/scan.log" || { cat "$out/scan.log"; fail "Ardour's scanner did not find Vesmar"; }
echo "ok   Ardour's scanner: $(grep -m1 'Found Plugin' "$out/scan.log")"

VESMAR_ARDOUR_SESSION="$out/session" VESMAR_ARDOUR_PROGRAMS="$programs" \
  VESMAR_ARDOUR_LV2_PRESETS="$out/lv2/Vesmar.lv2/presets.ttl" \
  timeout 60 ardour7-lua "$here/host-ardour.lua" >"$out/ardour.log" 2>&1
code=$?
grep -E '^((lv2 )?param |FAIL |ardour: )' "$out/ardour.log"
line=$(grep -E '^ardour: [0-9]+ passed, [0-9]+ failed' "$out/ardour.log" | tail -n1)
if [ -z "$line" ]; then
  tail -n 20 "$out/ardour.log"
  fail "ardour7-lua ended without a summary (exit code $code)"
fi
vst2_status=0
[ "$code" -eq 0 ] && [[ "$line" == *" 0 failed" ]] || vst2_status=1
[ -z "$vst3_bundle" ] && exit "$vst2_status"

# The VST 3 bundle: Ardour's VST 3 scanner, then the same drive on a session of its own. Ardour
# finds VST 3 bundles by folder (VST3_PATH); a folder of its own holds only this one.
ardour_vst3() {
  local so="$out/vst3/Vesmar.vst3/Contents/x86_64-linux/Vesmar.so"
  mkdir -p "$out/vst3" && cp -r "$vst3_bundle" "$out/vst3/Vesmar.vst3" || { echo "FAIL cannot copy $vst3_bundle"; return 1; }
  touch -d "@$(($(date +%s) - 2))" "$so" # the scan cache must be newer, as above
  if ldd "$so" | grep -qE 'lib(a|t|ub)san\.so'; then echo "FAIL $vst3_bundle is a sanitizer build; give a Release one"; return 1; fi
  (export LD_LIBRARY_PATH=$lib ARDOUR_DATA_PATH=/usr/share/ardour7 ARDOUR_CONFIG_PATH=/etc/ardour7 \
     ARDOUR_DLL_PATH=$lib
   timeout 60 "$lib/ardour-vst3-scanner" -f "$out/vst3/Vesmar.vst3") >"$out/scan-vst3.log" 2>&1
  grep -q "Found Plugin: Vesmar" "$out/scan-vst3.log" || { cat "$out/scan-vst3.log"; echo "FAIL Ardour's VST 3 scanner did not find Vesmar"; return 1; }
  echo "ok   Ardour's VST 3 scanner: $(grep -m1 'Found Plugin' "$out/scan-vst3.log")"
  # Both modules carry the same programs: the VST 2 module's names are the ones to find.
  printf '%s\n' "$names" >"$out/vst3-programs.txt"
  VST3_PATH="$out/vst3" VESMAR_ARDOUR_SESSION="$out/session-vst3" VESMAR_ARDOUR_PROGRAMS="$out/vst3-programs.txt" \
    timeout 60 ardour7-lua "$here/host-ardour-vst3.lua" >"$out/ardour-vst3.log" 2>&1
  local vst3_code=$?
  grep -E '^(param |program |FAIL )' "$out/ardour-vst3.log"
  vst3_line=$(grep -E '^ardour: [0-9]+ passed, [0-9]+ failed' "$out/ardour-vst3.log" | tail -n1)
  [ -n "$vst3_line" ] || { tail -n 20 "$out/ardour-vst3.log"; echo "FAIL ardour7-lua (VST 3) ended without a summary (exit code $vst3_code)"; }
  [ "$vst3_code" -eq 0 ]
}
vst3_line=""
ardour_vst3
vst3_status=$?
count() {
  local n
  n=$(sed -nE "s/^ardour: ([0-9]+) passed, ([0-9]+) failed$/\\$1/p" <<<"$2")
  echo "${n:-0}"
}
passed=$(($(count 1 "$line") + $(count 1 "$vst3_line")))
failed=$(($(count 2 "$line") + $(count 2 "$vst3_line")))
[ -n "$vst3_line" ] || failed=$((failed + 1))
echo "ardour: $passed passed, $failed failed"
[ "$vst2_status" -eq 0 ] && [ "$vst3_status" -eq 0 ] && [ "$failed" -eq 0 ]
