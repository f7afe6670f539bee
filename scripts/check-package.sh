#!/usr/bin/env bash
# Checks the Debian package as a user gets it: unpacked into a throw-away root, its vsthost must
# report the package's version, read its vesmar.so at /usr/lib/vst (which must answer the same
# version) and render the built-in demo; the VST 3 bundle at /usr/lib/vst3 must export exactly the
# Linux entry points, and lilv must find both LV2 plug-ins in /usr/lib/lv2; its man page must format
# without warnings, and lintian must report no errors (everything it reports is printed).
#   scripts/check-package.sh vesmar_VERSION_amd64.deb
set -euo pipefail
deb=$(realpath "${1:?usage: check-package.sh vesmar_VERSION_amd64.deb}")
fail() { echo "check-package.sh: $*" >&2; exit 1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
vsthost=$root/usr/bin/vsthost
module=$root/usr/lib/vst/vesmar.so

version=$(dpkg-deb -f "$deb" Version)
[ "$("$vsthost" --version)" = "vsthost $version" ] || fail "vsthost --version is not $version"
IFS=. read -r major minor patch <<<"$version"
decimal=$((major * 10000 + minor * 100 + patch))
"$vsthost" info "$module" | tee "$root/info.txt" | head -n 8
grep -q -E "^ *Vendor version: +$decimal\$" "$root/info.txt" || fail "the module's version is not $decimal"
"$vsthost" render "$module" --demo -o "$root/demo.wav" || fail "rendering the demo failed"
bundle=$root/usr/lib/vst3/Vesmar.vst3/Contents/x86_64-linux/Vesmar.so
exports=$(nm -D --defined-only "$bundle" | awk '{print $3}' | sort | tr '\n' ' ')
[ "$exports" = "GetPluginFactory ModuleEntry ModuleExit " ] || fail "the VST 3 bundle exports '$exports'"
# The LV2 bundle at /usr/lib/lv2: lilv finds both plug-ins described in it.
for variant in stereo mono; do
  LV2_PATH=$root/usr/lib/lv2 lv2info "https://darvo.audio/plugins/vesmar#$variant" >"$root/lv2info.txt" ||
    fail "lv2info does not find the $variant LV2 plug-in in /usr/lib/lv2/Vesmar.lv2"
done

warnings=$(man --warnings -l "$root/usr/share/man/man1/vsthost.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the man page has warnings: $warnings"

lintian -I --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' | tee "$root/lintian.txt" || true
! grep -q '^E:' "$root/lintian.txt" || fail "lintian reports errors"
echo "check-package.sh: $(basename "$deb") installs, runs and passes lintian"
