#!/usr/bin/env bash
# Installs what is missing, builds every target (native, Windows) and runs every test:
# native suites under ASan+UBSan, lv2_validate over the LV2 bundle, the validator against its fault
# modules, the same suites cross-compiled for Windows under Wine, Vesmar through vsthost validate at
# the highest strictness on both targets, the concurrency stress tests under ThreadSanitizer, each fuzz target for
# FUZZ_SECONDS under ASan+UBSan, the Linux/Windows render comparison, the text sample sheets
# and the editor's pixels on both targets, Vesmar in Ardour 7, and the release artefacts (reproducible,
# installable, the zip under Wine). Ends with one summary line.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
builds=${VESMAR_BUILD_ROOT:-$root/build}
fuzz_seconds=${FUZZ_SECONDS:-60}
jobs=${JOBS:-$(nproc)}

bash scripts/deps.sh || { echo "dependency installation failed" >&2; exit 1; }
libpng=$(cat build/_src/libpng-path.txt)

passed=0
failed=0
failures=()
record() {  # record NAME PASSED FAILED
  passed=$((passed + $2)); failed=$((failed + $3))
  [ "$3" -eq 0 ] || failures+=("$1")
}
stage() { printf '\n==== %s ====\n' "$*"; }

# ctest_stage NAME BUILD_DIR [ctest args...]: runs ctest and adds its counts to the summary.
ctest_stage() {
  local name=$1 dir=$2; shift 2
  local log="$dir/ctest.log"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" "$@" 2>&1 | tee "$log"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
  if [ -z "$line" ]; then
    if grep -q 'No tests were found' "$log"; then return 0; fi
    record "$name (ctest did not finish)" 0 1; return
  fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  record "$name" $((total - bad)) "$bad"
}

# validate_stage NAME LOG COMMAND...: runs "vsthost validate", adds its test counts (warnings
# and skips count as passed) and fails on a FAIL, a crash or a missing summary line; prints the
# time it took. The seed is printed in the summary line, to replay a failure with --seed.
validate_stage() {
  local name=$1 log=$2; shift 2
  local start=$SECONDS rc line
  "$@" >"$log" 2>&1; rc=$?
  grep -v '^PASS ' "$log" | tail -n 40
  echo "$name: exit status $rc in $((SECONDS - start)) s"
  line=$(grep -E '^validate: [0-9]+ tests: ' "$log" | tail -n1)
  if [ -z "$line" ]; then record "$name (no summary)" 0 1; return; fi
  local ok bad
  ok=$(sed -E 's/.*: ([0-9]+) passed, ([0-9]+) warned, ([0-9]+) failed, ([0-9]+) skipped.*/\1 + \2 + \4/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) failed,.*/\1/' <<<"$line")
  if [ "$rc" -ne 0 ] && [ "$bad" -eq 0 ]; then bad=1; fi
  record "$name" $((ok)) "$bad"
}
# The same seed for both targets in one run; VALIDATE_SEED replays a run.
validate_seed=${VALIDATE_SEED:-$((RANDOM * 32768 + RANDOM))}

# build_stage NAME BUILD_DIR [cmake args...]: configures and builds; a failure counts as one.
build_stage() {
  local name=$1 dir=$2; shift 2
  stage "build: $name"
  mkdir -p "$dir"
  if ! cmake -S "$root" -B "$dir" -G Ninja "$@" >"$dir/configure.log" 2>&1; then
    tail -n 40 "$dir/configure.log"; record "configure $name" 0 1; return 1
  fi
  if ! cmake --build "$dir" -j "$jobs" >"$dir/build.log" 2>&1; then
    grep -E -A8 'error|FAILED' "$dir/build.log" | head -n 80; record "build $name" 0 1; return 1
  fi
  # Our own code must build without warnings (third-party sources are compiled as SYSTEM).
  if grep -E '(^|/)(base|plugbase|vst|vst3|clap|lv2|abi|effect|editor|raster|resources|tools|tests|fuzz|bench)/[^ :]+:[0-9]+:[0-9]+: warning:' \
       "$dir/build.log" | grep -v '/_deps/'; then
    record "warnings in $name" 0 1
  fi
  echo "built $name"
}

mkdir -p "$builds"

# with_display DIR COMMAND...: runs COMMAND with DISPLAY on a private X server of its own (the
# X11 editor window tests need one; they skip without), stopped afterwards.
with_display() {
  local dir=$1 display rc
  shift
  if ! display=$(scripts/xvfb.sh start "$dir"); then
    record "Xvfb for $dir" 0 1
    "$@"
    return
  fi
  DISPLAY=$display "$@"
  rc=$?
  scripts/xvfb.sh stop "$dir"
  return $rc
}

# 0. One code style everywhere, so it cannot drift; includes follow the dependency arrows.
stage "style: clang-format, layering, generated docs"
# The findings are collected first: under pipefail clang-format's own failing status would otherwise
# make the whole test read as "nothing found".
style=$(git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror 2>&1)
if [ -n "$style" ]; then
  printf '%s\n' "$style" | head -n 20
  record "clang-format" 0 1
else
  echo "all sources formatted"; record "clang-format" 1 0
fi
if scripts/check-layering.sh; then record "layering" 1 0; else record "layering" 0 1; fi
# The validator's strictness table in docs/validate.md is generated from its source.
if scripts/strictness-table.sh --check; then record "strictness table" 1 0; else record "strictness table" 0 1; fi
# The check itself: includes planted against the arrows (effect/ into vst/...) must be refused.
if scripts/check-layering.sh --self-test; then record "layering refuses" 1 0; else record "layering refuses" 0 1; fi

# 1. Native, ASan + UBSan.
native="$builds/native-asan"
if build_stage native-asan "$native" -DCMAKE_BUILD_TYPE=Debug -DVESMAR_SANITIZE=address; then
  stage "tests: native (ASan+UBSan)"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    with_display "$native" ctest_stage native "$native" -LE validate
  # The validator's own tests, timed on their own: each of our fault modules must be caught by the
  # validate test meant for its fault and by no other, and the clean module must pass everything.
  stage "validator: fault modules (vsthost validate)"
  started=$SECONDS
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest_stage validate-faults "$native" -L validate
  echo "fault modules: $((SECONDS - started)) s"
  # The plug-in through vsthost validate at the highest strictness, both instrumented: a leak at
  # a group's exit, a sanitizer report or any FAIL fails the stage.
  stage "validate: vesmar.so"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    with_display "$native" validate_stage "validate vesmar.so" "$native/validate.log" \
    "$native/vsthost" validate "$native/vesmar.so" --strictness 10 --seed "$validate_seed"
fi

# 1a. The LV2 bundle's generated description against the schemas of the LV2 vocabularies.
if [ -d "$native/Vesmar.lv2" ]; then
  stage "lv2_validate: Vesmar.lv2"
  if lv2_validate "$native/Vesmar.lv2"/*.ttl 2>&1 | grep -v '^Skipping' | tee "$native/lv2-validate.log" | tail -n 20 &&
     grep -q '^Found 0 errors' "$native/lv2-validate.log"; then
    record lv2_validate 1 0
  else
    record lv2_validate 0 1
  fi
fi

# 1b. vsthost against third-party modules from Debian (DPF, LSP, ZaMaxx), with the ASan build:
# a crash, hang or sanitizer report of vsthost's own fails it; a module's own crash is reported.
interop_modules=(
  /usr/lib/vst/3BandEQ-vst.so /usr/lib/vst/Kars-vst.so /usr/lib/vst/MVerb-vst.so
  /usr/lib/vst/lsp-plugins/compressor-stereo.so /usr/lib/vst/lsp-plugins/limiter-stereo.so
  /usr/lib/vst/ZaMaximX2-vst.so /usr/lib/vst/ZamDelay-vst.so
)
if [ -x "$native/vsthost" ]; then
  stage "interoperability: vsthost against third-party modules"
  existing=()
  for m in "${interop_modules[@]}"; do [ -e "$m" ] && existing+=("$m") || echo "missing module: $m"; done
  scripts/interop.sh "$native/vsthost" "$native/interop" "${existing[@]}" | tee "$native/interop.log"
  line=$(grep -E '^interop: [0-9]+ passed, [0-9]+ failed' "$native/interop.log" | tail -n1)
  if [ -z "$line" ] || [ ${#existing[@]} -ne ${#interop_modules[@]} ]; then
    record "interop (did not finish or modules missing)" 0 1
  else
    record interop "$(sed -E 's/interop: ([0-9]+) passed.*/\1/' <<<"$line")" \
      "$(sed -E 's/.*passed, ([0-9]+) failed.*/\1/' <<<"$line")"
  fi
fi

# 1c. Vesmar in a real DAW: Ardour 7 headless scans, inserts and drives the VST 2 module, the
# LV2 plug-in and the VST 3 module, saves, reloads and loads their presets. A Release build, as a
# musician installs it: Ardour is not instrumented and hangs with the ASan runtime preloaded. Only
# these targets are built.
release="$builds/release"
stage "host: Ardour 7 (headless, Dummy backend)"
if cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESMAR_TESTS=OFF -DVESMAR_BENCH=OFF \
     >"$builds/ardour-build.log" 2>&1 &&
   cmake --build "$release" -j "$jobs" --target vesmar_plugin vesmar_vst3_plugin vsthost vesmar_lv2_bundle \
     >>"$builds/ardour-build.log" 2>&1; then
  scripts/host-ardour.sh "$release/vsthost" "$release/vesmar.so" "$release/Vesmar.lv2" "$release/ardour" \
    "$release/Vesmar.vst3" | tee "$release/ardour.log"
  line=$(grep -E '^ardour: [0-9]+ passed, [0-9]+ failed' "$release/ardour.log" | tail -n1)
  if [ -z "$line" ]; then
    record "ardour (did not finish)" 0 1
  else
    record ardour "$(sed -E 's/ardour: ([0-9]+) passed.*/\1/' <<<"$line")" \
      "$(sed -E 's/.*passed, ([0-9]+) failed.*/\1/' <<<"$line")"
  fi
else
  tail -n 20 "$builds/ardour-build.log"; record "build release (for Ardour)" 0 1
fi

# 2. Windows, cross-compiled, run under Wine with a warm server.
windows="$builds/windows"
if build_stage windows "$windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
     -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESMAR_LIBPNG_SOURCE="$libpng"; then
  stage "tests: Windows under Wine"
  # The editor window tests open real windows: a private X server for this stage.
  if display=$(scripts/xvfb.sh start "$windows"); then export DISPLAY=$display; else record "Xvfb" 0 1; fi
  scripts/wine.sh start "$windows"
  trap 'scripts/wine.sh stop "$windows"; scripts/xvfb.sh stop "$windows"' EXIT
  # Now and then a Wine process dies before the test program starts (no output at all, 0.01 s);
  # a second try tells that apart from a real failure, which fails again.
  ctest_stage windows "$windows" --repeat until-pass:2
  stage "validate: Vesmar.dll under Wine"
  WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES=winedbg.exe=d \
    validate_stage "validate Vesmar.dll" "$windows/validate.log" \
    /usr/lib/wine/wine64 "$windows/vsthost.exe" validate "$windows/Vesmar.dll" --strictness 10 --seed "$validate_seed"
fi

# 3. ThreadSanitizer: the concurrency stress tests.
tsan="$builds/native-tsan"
if build_stage native-tsan "$tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESMAR_SANITIZE=thread -DVESMAR_BENCH=OFF; then
  stage "tests: stress under ThreadSanitizer"
  TSAN_OPTIONS=halt_on_error=1 with_display "$tsan" ctest_stage tsan "$tsan" -L stress
fi

# 4. Fuzz targets, each for FUZZ_SECONDS under ASan + UBSan.
fuzz="$builds/fuzz"
if build_stage fuzz "$fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESMAR_FUZZ=ON -DVESMAR_TESTS=OFF \
     -DVESMAR_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++; then
  while read -r target; do
    [ -n "$target" ] || continue
    stage "fuzz: $target for ${fuzz_seconds}s"
    # New inputs go to the build's corpus; the committed seeds (fuzz/corpus/TARGET) start it.
    corpus="$fuzz/corpus/$target"
    mkdir -p "$corpus"
    seeds=()
    [ -d "$root/fuzz/corpus/$target" ] && seeds=("$root/fuzz/corpus/$target")
    if (cd "$fuzz" && "./$target" -max_total_time="$fuzz_seconds" -print_final_stats=1 \
          -artifact_prefix="$fuzz/$target-" "$corpus" "${seeds[@]}" 2>&1 | tail -n 12); then
      record "fuzz $target" 1 0
    else
      record "fuzz $target" 0 1
    fi
  done < "$fuzz/fuzzers.txt"
fi

# 5. The demo rendered by the Linux module and by the Windows DLL must agree.
if [ -x scripts/cross-check.sh ] && [ -e "$native/vesmar.so" ] && [ -e "$windows/Vesmar.dll" ]; then
  stage "cross-check: Linux and Windows renders"
  if scripts/cross-check.sh "$native" "$windows"; then record cross-check 1 0; else record cross-check 0 1; fi
fi

# 6. The text sample sheets of both targets: the layout must agree, the pixels are reported.
if [ -e "$native/tests/raster/vesmar_text_sheet" ] && [ -e "$windows/tests/raster/vesmar_text_sheet.exe" ]; then
  stage "text sheets: Linux and Windows"
  if scripts/text-sheets.sh "$native" "$windows"; then record text-sheets 1 0; else record text-sheets 0 1; fi
fi

# 7. Vesmar's editor drawn by both targets: the same pixels everywhere but the knob value texts.
if [ -e "$native/vesmar.so" ] && [ -e "$windows/Vesmar.dll" ]; then
  stage "editor pixels: Linux and Windows"
  if scripts/editor-pixels.sh "$native" "$windows"; then record editor-pixels 1 0; else record editor-pixels 0 1; fi
fi

# 8. Release artefacts (scripts/package.sh). The Linux release binaries are built twice and the
# Windows ones once more beside the test build, in other directories; both sets packed must give
# byte-identical files. The .deb must run from a throw-away root and pass lintian without errors
# (scripts/check-package.sh); the zip's Vesmar.dll, rendered by the zip's vsthost.exe under Wine,
# must match the tarball's render bit for bit.
release="$builds/release"
release_again="$builds/release-again"
windows_again="$builds/windows-again"
release_args=(-DVESMAR_TESTS=OFF -DVESMAR_BENCH=OFF)
if build_stage release "$release" -DCMAKE_BUILD_TYPE=Release "${release_args[@]}" &&
   build_stage release-again "$release_again" -DCMAKE_BUILD_TYPE=Release "${release_args[@]}" &&
   build_stage windows-again "$windows_again" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
     -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESMAR_LIBPNG_SOURCE="$libpng" "${release_args[@]}" &&
   [ -e "$windows/Vesmar.dll" ]; then
  stage "release artefacts: packed twice"
  dist="$builds/dist"
  rm -rf "$dist" "$builds/dist-again"
  if scripts/package.sh "$release" "$windows" "$dist" &&
     scripts/package.sh "$release_again" "$windows_again" "$builds/dist-again" &&
     cmp "$dist/SHA256SUMS" "$builds/dist-again/SHA256SUMS"; then
    echo "the two packings are byte-identical"; record release-reproducible 1 0
  else
    diff "$dist/SHA256SUMS" "$builds/dist-again/SHA256SUMS"; record release-reproducible 0 1
  fi
  stage "release artefacts: the Debian package installed"
  if scripts/check-package.sh "$dist"/vesmar_*_amd64.deb; then record release-deb 1 0; else record release-deb 0 1; fi
  stage "release artefacts: the zip under Wine against the tarball"
  unpacked="$dist/unpacked"
  mkdir -p "$unpacked"
  if (cd "$unpacked" && unzip -q -o "$dist"/Vesmar-*-windows-x64.zip && tar -xzf "$dist"/vesmar-*-linux-x86_64.tar.gz); then
    zip_dir=$(echo "$unpacked"/Vesmar-*-windows-x64)
    # The test run's Wine prefix, already set up, rather than a new one.
    [ -d "$windows/wineprefix" ] && ln -sfn "$windows/wineprefix" "$zip_dir/wineprefix"
    if TOLERANCE=0 scripts/cross-check.sh "$unpacked"/vesmar-*-linux-x86_64 "$zip_dir"; then
      record release-zip 1 0
    else
      record release-zip 0 1
    fi
  else
    record "release-zip (unpacking)" 0 1
  fi
fi

stage summary
for f in "${failures[@]}"; do echo "failed: $f"; done
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
