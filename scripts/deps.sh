#!/usr/bin/env bash
# Installs what the build and the tests need, once per machine: Debian packages,
# and the source packages the build compiles for Windows (libarchive).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

# The i686 programs (what ships) run under Wine's 32-bit loader, which this
# kernel cannot run itself: qemu-i386 runs it (tests/wine/make-loader.sh).
# bookworm's qemu 7.2 takes a minute and a half to start a Wine program
# (its page bookkeeping); 8.1 and later take a second, so on bookworm qemu
# comes from bookworm-backports. g++-multilib builds the pure logic's tests
# as 32-bit code too.
packages=(cmake ninja-build g++ make python3
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
          wine64 wine wine32:i386 googletest sharutils dpkg-dev xvfb imagemagick fonts-wine libarchive-dev
          libarchive-tools procps patch g++-multilib libarchive-dev:i386)

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "deps: adding the i386 architecture"
  $sudo_cmd dpkg --add-architecture i386
fi
qemu_release=()
if [ "$codename" = bookworm ]; then
  qemu_release=(-t bookworm-backports)
  if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "deps: adding bookworm-backports (for qemu-user)"
    echo "deb http://deb.debian.org/debian bookworm-backports main" | $sudo_cmd tee /etc/apt/sources.list.d/zx-backports.list >/dev/null
    fi
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
qemu_major=$( (qemu-i386 --version 2>/dev/null || true) | sed -n 's/.*version \([0-9]*\)\..*/\1/p')
if [ ${#missing[@]} -gt 0 ] || [ "${qemu_major:-0}" -lt 8 ]; then
  echo "deps: installing ${missing[*]} qemu-user"
  $sudo_cmd apt-get update -qq
  export DEBIAN_FRONTEND=noninteractive
  [ ${#missing[@]} -eq 0 ] || $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${qemu_release[@]}" qemu-user >/dev/null
fi
# (made anew when it lacks the 32-bit libraries' link of the current layout)
[ -L "$here/build/wine/lib/i386-linux-gnu" ] || "$here/tests/wine/make-loader.sh" "$here/build/wine"

# Source packages come through deb-src entries for the configured suites.
# libarchive's sources carry our patches (unrar/patches): the sources are
# fetched anew whenever the set of patches or any patch's text changes, so
# that what is built is always Debian's sources with exactly these patches.
src_dir="$here/build/src"
patches=("$here"/unrar/patches/*.patch)
want=$( (for p in "${patches[@]}"; do basename "$p"; cat "$p"; done) | sha256sum | cut -d' ' -f1)
stamp="$src_dir/libarchive/.zx-patches"
if [ -d "$src_dir/libarchive" ] && [ "$(cat "$stamp" 2>/dev/null)" != "$want" ]; then
  echo "deps: the patches changed: fetching libarchive's sources anew"
  rm -rf "$src_dir/libarchive"
fi
if [ ! -d "$src_dir/libarchive" ]; then
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    echo "deps: adding deb-src entries"
    if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
      for f in /etc/apt/sources.list.d/*.sources; do
        sed 's/^Types: deb$/Types: deb-src/' "$f" | $sudo_cmd tee "${f%.sources}-src.sources" >/dev/null
      done
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $sudo_cmd tee /etc/apt/sources.list.d/deb-src.list >/dev/null
    fi
    $sudo_cmd apt-get update -qq
  fi
  mkdir -p "$src_dir"
  tmp=$(mktemp -d "$src_dir/fetch.XXXX")
  (cd "$tmp" && apt-get source -qq libarchive >/dev/null 2>&1)
  fetched=$(echo "$tmp"/libarchive-*/)
  for p in "${patches[@]}"; do patch -s -p1 -N -d "$fetched" <"$p"; done
  # Every file newer than what an earlier build made of the old sources.
  find "$fetched" -type f -exec touch {} +
  echo "$want" >"$fetched/.zx-patches"
  mv "$fetched" "$src_dir/libarchive"
  rm -rf "$tmp"
fi
