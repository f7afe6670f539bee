#!/usr/bin/env bash
# Installs what the build needs from Debian's packages (only what is missing) and unpacks the
# libpng source the Windows build compiles statically. Safe to re-run; no prompts.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

packages=(
  cmake ninja-build g++ pkg-config git
  clang libclang-rt-14-dev clang-format
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-liberation2
  libsndfile1-dev
  # X11 editor window and vsthost's X11 host: headers only, libxcb is loaded at run time
  libxcb1-dev libxcb-shm0-dev libxcb-xtest0-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine64 xvfb dpkg-dev imagemagick
  # release artefacts (scripts/package.sh, scripts/check-package.sh)
  zip unzip lintian man-db
  # third-party VST 2 modules for vsthost's interoperability stage (DPF, LSP, ZaMaxx)
  dpf-plugins-vst lsp-plugins-vst zam-plugins
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "== installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# libpng for the Windows build, from Debian's source package (with Debian's patches applied).
src_root="$root/build/_src"
if ! compgen -G "$src_root/libpng1.6-*/CMakeLists.txt" >/dev/null; then
  echo "== fetching the libpng source package"
  mirror=$(grep -h -m1 -E '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null \
           | grep -o -E 'https?://[^ ]+' | head -n1 || true)
  [ -n "$mirror" ] || { echo "no Debian mirror found in the apt sources" >&2; exit 1; }
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  list=/etc/apt/sources.list.d/vesmar-libpng-src.sources
  printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
    "$mirror" "$suite" "$keyring" | as_root tee "$list" >/dev/null
  trap 'as_root rm -f "$list"; as_root apt-get update -qq || true' EXIT
  as_root apt-get update -qq
  mkdir -p "$src_root"
  (cd "$src_root" && apt-get source --download-only -qq libpng1.6 >/dev/null \
     && dpkg-source -x --no-check libpng1.6_*.dsc >/dev/null && rm -f libpng1.6_*)
  as_root rm -f "$list"
  trap - EXIT
  as_root apt-get update -qq || true
fi
ls -d "$src_root"/libpng1.6-*/ | head -n1 | sed 's#/$##' > "$src_root/libpng-path.txt"
