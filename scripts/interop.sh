#!/usr/bin/env bash
# Drives vsthost against third-party VST 2 modules as a user would: scan, info (text and JSON),
# render through each audio callback the module offers, validate (strictness INTEROP_STRICTNESS,
# 4 by default), .fxp/.fxb round trips. A module that
# crashes is the module's fault (vsthost names the call, exit code 5) and is reported; what
# fails the run is vsthost's own misbehaviour: a signal, a hang, a sanitizer report, invalid
# JSON, or a state file vsthost wrote that it cannot read back.
#   scripts/interop.sh VSTHOST OUT_DIR MODULE...
# Prints one line per check and ends with "interop: N passed, N failed"; exits 1 on failures.
set -uo pipefail
vsthost=$1 out=$2; shift 2
mkdir -p "$out"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}  # leaks of third-party code are not ours
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
unset DISPLAY  # as on a build machine: nothing may ask for a window
limit=${INTEROP_TIMEOUT:-120}
passed=0 failed=0 plugin_faults=0

# check NAME ALLOWED_CODES COMMAND...: runs vsthost; passes when its exit code is allowed and it
# left no sanitizer report. Exit code 5 (the plug-in crashed) is reported, not failed.
check() {
  local name=$1 allowed=$2; shift 2
  local base code log
  base="$out/$(printf '%s' "$name" | tr -c 'A-Za-z0-9._-' _)"
  log="$base.err"
  timeout -k 5 "${CHECK_LIMIT:-$limit}" "$vsthost" "$@" >"$base.out" 2>"$log"
  code=$?
  cat "$base.out" >>"$log"
  if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$log"; then
    # A report whose first frame past the sanitizer's own interceptors lies in the module under
    # test is the module's fault (its own bug, found because vsthost runs under ASan).
    local first
    first=$(grep -E '^ +#[0-9]+ ' "$log" | grep -v -E 'sanitizer|interceptor|asan_' | head -n1)
    if [ -n "${module:-}" ] && [[ "$first" == *"($module+"* ]]; then
      echo "PLUG-IN FAULT $name: $(grep -m1 -E 'ERROR: ' "$log" | sed 's/^==[0-9]*==//') inside the module"
      plugin_faults=$((plugin_faults + 1)); return 1
    fi
    echo "FAIL $name: sanitizer report (see $log)"; grep -m3 -E 'ERROR:|runtime error:|#[0-3] ' "$log"; failed=$((failed + 1)); return 1
  fi
  if [ "$code" -eq 124 ] || [ "$code" -eq 137 ]; then
    echo "FAIL $name: no answer within ${CHECK_LIMIT:-$limit} s"; failed=$((failed + 1)); return 1
  fi
  if [ "$code" -ge 128 ]; then
    echo "FAIL $name: vsthost died of signal $((code - 128))"; tail -n 3 "$log"; failed=$((failed + 1)); return 1
  fi
  if [ "$code" -eq 5 ]; then
    echo "PLUG-IN FAULT $name: $(grep -m1 'the plug-in crashed' "$log")"; plugin_faults=$((plugin_faults + 1)); return 1
  fi
  if [[ " $allowed " != *" $code "* ]]; then
    echo "FAIL $name: exit code $code"; tail -n 3 "$log"; failed=$((failed + 1)); return 1
  fi
  echo "ok   $name"; passed=$((passed + 1))
}

# check_validate NAME MODULE: `vsthost validate` at a moderate strictness. Whatever the module's
# tests find (exit 1) or a module crashing in a group (exit 5) is the module's and is reported;
# only vsthost's own misbehaviour fails: a signal, a hang, an unexpected exit status, or a
# sanitizer report of the validating process itself (the groups' children report theirs as
# findings). The findings go to NAME.validate.txt for the table in docs/third-party.md.
check_validate() {
  local name=$1 module=$2 base code
  base="$out/$(printf '%s' "$name" | tr -c 'A-Za-z0-9._-' _)"
  timeout -k 5 "$validate_limit" "$vsthost" validate "$module" --strictness "$validate_strictness" --seed 1 \
    --timeout 20 >"$base.out" 2>"$base.err"
  code=$?
  grep -E '^(WARN|FAIL) ' "$base.out" >"$base.txt"
  if grep -qE '^==[0-9]+==ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$base.err"; then
    echo "FAIL $name: sanitizer report in vsthost (see $base.err)"; failed=$((failed + 1)); return 1
  fi
  if [ "$code" -eq 124 ] || [ "$code" -eq 137 ]; then
    echo "FAIL $name: no answer within $validate_limit s"; failed=$((failed + 1)); return 1
  fi
  if [ "$code" -ge 128 ] || { [ "$code" -ne 0 ] && [ "$code" -ne 1 ] && [ "$code" -ne 5 ]; }; then
    echo "FAIL $name: exit code $code"; tail -n 3 "$base.err"; failed=$((failed + 1)); return 1
  fi
  echo "ok   $name: $(tail -n 1 "$base.out")"; passed=$((passed + 1))
  [ "$code" -eq 0 ] || plugin_faults=$((plugin_faults + 1))
}
validate_strictness=${INTEROP_STRICTNESS:-4}
validate_limit=${INTEROP_VALIDATE_TIMEOUT:-300}

# The scan's own limit is per module; the whole scan gets that much per module.
CHECK_LIMIT=$((60 * $# + 60)) check "scan" "0 4" scan --timeout 60 "$@"
for module in "$@"; do
  name=$(basename "$module" .so)
  check "$name info" 0 info "$module" || continue
  if check "$name info --json" 0 info --json "$module"; then
    if python3 -m json.tool "$out/${name}_info_--json.out" >/dev/null 2>&1; then passed=$((passed + 1))
    else echo "FAIL $name: info --json is no valid JSON"; failed=$((failed + 1)); fi
  fi
  flags=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["flags"])' "$out/${name}_info_--json.out" 2>/dev/null || echo 0)
  check "$name render" 0 render "$module" --length 0.5 --tail 0.25 --note 0.1:60:100:0.2 --force -o "$out/$name.wav"
  # One input channel: the plug-in is offered a mono input arrangement, which many refuse.
  check "$name render mono" 0 render "$module" --length 0.25 --channels 1 --force -o "$out/$name-mono.wav"
  check "$name render block 1000" 0 render "$module" --length 0.25 --block 1000 --compensate --force -o "$out/$name-1000.wav"
  if (( flags & 0x1000 )); then
    check "$name render --double" 0 render "$module" --length 0.25 --double --force -o "$out/$name-double.wav"
  fi
  # The accumulating callback is long deprecated; "has none" (4) is a fine answer.
  check "$name render --accumulate" "0 4" render "$module" --length 0.25 --accumulate --force -o "$out/$name-acc.wav"
  check_validate "$name validate" "$module"
  for kind in fxp fxb; do
    if check "$name save .$kind" 0 chunk save "$module" --force "$out/$name.$kind"; then
      check "$name load .$kind" 0 chunk load "$module" "$out/$name.$kind"
    fi
  done
done
echo "interop: $passed passed, $failed failed ($plugin_faults plug-in faults reported)"
[ "$failed" -eq 0 ]
