#!/usr/bin/env bash
# Packs the release artefacts from finished builds into DIST (default dist/):
#   Vesmar-VERSION-windows-x64.zip    Vesmar.dll, Vesmar.clap, the Vesmar.vst3 bundle, vsthost.exe,
#                                      README.txt, LICENSE
#   vesmar-VERSION-linux-x86_64.tar.gz vesmar.so, Vesmar.clap, the Vesmar.vst3 bundle, Vesmar.lv2/,
#                                      vsthost, README.txt, LICENSE
#   vesmar_VERSION_amd64.deb           /usr/lib/vst/vesmar.so, /usr/lib/clap/Vesmar.clap,
#                                      /usr/lib/vst3/Vesmar.vst3, /usr/lib/lv2/Vesmar.lv2/,
#                                      /usr/bin/vsthost, its man page,
#                                      the copyright file; dependencies from dpkg-shlibdeps
#   SHA256SUMS                         of the three
#   scripts/package.sh [LINUX_BUILD [WINDOWS_BUILD [DIST]]]  (default build/release build/windows)
# VERSION is the project's version in CMakeLists.txt; the binaries must report the same one.
# The artefacts are reproducible: every time stamp is SOURCE_DATE_EPOCH (default: the time of
# the commit), members are sorted, owners are root and the binaries are stripped.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
linux=$(cd "${1:-$root/build/release}" && pwd)
windows=$(cd "${2:-$root/build/windows}" && pwd)
dist=${3:-$root/dist}
fail() { echo "package.sh: $*" >&2; exit 1; }

vst3linux=Vesmar.vst3/Contents/x86_64-linux/Vesmar.so
vst3windows=Vesmar.vst3/Contents/x86_64-win/Vesmar.vst3
for f in "$linux/vesmar.so" "$linux/Vesmar.clap" "$linux/$vst3linux" "$linux/Vesmar.lv2/vesmar.so" \
         "$linux/Vesmar.lv2/manifest.ttl" "$linux/vsthost" "$windows/Vesmar.dll" "$windows/Vesmar.clap" \
         "$windows/$vst3windows" "$windows/vsthost.exe"; do
  [ -f "$f" ] || fail "$f not found; build it first (docs/building.md)"
done
version=$(sed -n -E 's/^project\(Vesmar VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || fail "no project version in CMakeLists.txt"
built=$("$linux/vsthost" --version)
[ "$built" = "vsthost $version" ] || fail "$linux/vsthost reports '$built', the project is $version: rebuild"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
export TZ=UTC LC_ALL=C.UTF-8
umask 022

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$dist"
dist=$(cd "$dist" && pwd)

# readme PLATFORM: the read-me with the lines of that platform (their tag removed) and no others.
readme() {
  sed -e "s/@VERSION@/$version/" -e "/^\[$1\]/s/^\[$1\]//" -e '/^\[[a-z]*\]/d' "$root/packaging/README.txt"
}
# stamp DIR: every file and folder below DIR gets the fixed time.
stamp() { find "$1" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +; }

# Windows: a zip with one folder.
name=Vesmar-$version-windows-x64
mkdir -p "$work/$name"
x86_64-w64-mingw32-strip -o "$work/$name/Vesmar.dll" "$windows/Vesmar.dll"
x86_64-w64-mingw32-strip -o "$work/$name/Vesmar.clap" "$windows/Vesmar.clap"
mkdir -p "$(dirname "$work/$name/$vst3windows")"
x86_64-w64-mingw32-strip -o "$work/$name/$vst3windows" "$windows/$vst3windows"
x86_64-w64-mingw32-strip -o "$work/$name/vsthost.exe" "$windows/vsthost.exe"
readme windows | sed 's/$/\r/' >"$work/$name/README.txt"
sed 's/$/\r/' "$root/LICENSE" >"$work/$name/LICENSE.txt"
stamp "$work/$name"
rm -f "$dist/$name.zip"
(cd "$work" && find "$name" | sort | zip -X -D -q -9 "$dist/$name.zip" -@)

# Linux: a tarball with one folder.
name=vesmar-$version-linux-x86_64
mkdir -p "$work/$name"
mkdir -p "$(dirname "$work/$name/$vst3linux")"
for module in vesmar.so Vesmar.clap "$vst3linux"; do
  strip --strip-unneeded --remove-section=.comment --remove-section=.note -o "$work/$name/$module" "$linux/$module"
done
strip --remove-section=.comment --remove-section=.note -o "$work/$name/vsthost" "$linux/vsthost"
# The LV2 bundle: its module and the Turtle files the build generated.
mkdir "$work/$name/Vesmar.lv2"
strip --strip-unneeded --remove-section=.comment --remove-section=.note -o "$work/$name/Vesmar.lv2/vesmar.so" \
  "$linux/Vesmar.lv2/vesmar.so"
cp "$linux/Vesmar.lv2/"*.ttl "$work/$name/Vesmar.lv2/"
readme linux >"$work/$name/README.txt"
cp "$root/LICENSE" "$work/$name/LICENSE"
stamp "$work/$name"
tar --sort=name --owner=0 --group=0 --numeric-owner --format=gnu -C "$work" -cf - "$name" |
  gzip -9n >"$dist/$name.tar.gz"

# Debian package.
deb=$work/deb
doc=$deb/usr/share/doc/vesmar
install -d "$deb/DEBIAN" "$deb/usr/lib/vst" "$deb/usr/lib/clap" "$deb/usr/lib/vst3/$(dirname "$vst3linux")" \
  "$deb/usr/lib/lv2" "$deb/usr/bin" "$deb/usr/share/man/man1" "$doc"
install -m 644 "$work/$name/vesmar.so" "$deb/usr/lib/vst/vesmar.so"
install -m 644 "$work/$name/Vesmar.clap" "$deb/usr/lib/clap/Vesmar.clap"
install -m 644 "$work/$name/$vst3linux" "$deb/usr/lib/vst3/$vst3linux"
cp -r "$work/$name/Vesmar.lv2" "$deb/usr/lib/lv2/"
chmod 644 "$deb/usr/lib/lv2/Vesmar.lv2/"*
install -m 755 "$work/$name/vsthost" "$deb/usr/bin/vsthost"
bash "$root/scripts/vsthost-manpage.sh" "$linux/vsthost" "$version" | gzip -9n >"$deb/usr/share/man/man1/vsthost.1.gz"
{
  printf 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n'
  printf 'Upstream-Name: Vesmar\nUpstream-Contact: Darvo <vesmar@darvo.audio>\n'
  printf 'Source: https://darvo.audio/plugins/vesmar\n\nFiles: *\n'
  printf 'Copyright: %s\nLicense: Expat\n\nLicense: Expat\n' "$(sed -n -E 's/^Copyright \(c\) //p' "$root/LICENSE")"
  sed -n '3,$p' "$root/LICENSE" | sed -e 's/^$/./' -e 's/^/ /'
} >"$doc/copyright"
{
  printf 'vesmar (%s) unstable; urgency=medium\n\n  * Release %s.\n\n' "$version" "$version"
  printf ' -- Darvo <vesmar@darvo.audio>  %s\n' "$(date -R --date="@$SOURCE_DATE_EPOCH")"
} | gzip -9n >"$doc/changelog.gz"
# dpkg-shlibdeps reads the package's name from a debian/control of a source tree.
mkdir -p "$work/src/debian"
printf 'Source: vesmar\n\nPackage: vesmar\nArchitecture: amd64\n' >"$work/src/debian/control"
depends=$(cd "$work/src" && dpkg-shlibdeps -O -e"$deb/usr/lib/vst/vesmar.so" -e"$deb/usr/lib/clap/Vesmar.clap" \
  -e"$deb/usr/lib/vst3/$vst3linux" -e"$deb/usr/lib/lv2/Vesmar.lv2/vesmar.so" -e"$deb/usr/bin/vsthost" \
  2>"$work/shlibdeps.log" |
  sed -n 's/^shlibs:Depends=//p') || { cat "$work/shlibdeps.log" >&2; fail "dpkg-shlibdeps failed"; }
[ -n "$depends" ] || fail "dpkg-shlibdeps found no dependencies"
size=$(du -k -s --apparent-size "$deb/usr" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@SIZE@/$size/" -e "s/@DEPENDS@/$depends/" "$root/packaging/control" >"$deb/DEBIAN/control"
(cd "$deb" && find usr -type f | sort | xargs md5sum >DEBIAN/md5sums)
chmod 644 "$deb/DEBIAN/control" "$deb/DEBIAN/md5sums"
stamp "$deb"
dpkg-deb --root-owner-group -Zxz --build "$deb" "$dist/vesmar_${version}_amd64.deb" >/dev/null

(cd "$dist" && sha256sum "Vesmar-$version-windows-x64.zip" "$name.tar.gz" "vesmar_${version}_amd64.deb" >SHA256SUMS)
echo "package.sh: wrote into $dist:"
(cd "$dist" && ls -l "Vesmar-$version-windows-x64.zip" "$name.tar.gz" "vesmar_${version}_amd64.deb" SHA256SUMS)
