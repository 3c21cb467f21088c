#!/usr/bin/env bash
# Makes the Wine loader folder the tests run Wine from: Debian's loaders
# beside a wine-preloader of ours that runs the 32-bit loader under
# qemu-i386 (this kernel runs no 32-bit code). Both loaders are copies,
# because Wine looks for the other loader and its preloader beside the real
# path of the running one: a 32-bit program starting another needs our
# preloader as much as a 64-bit one does (where the kernel hands 32-bit
# programs to qemu by itself, a link happened to work). The folders Wine
# finds its libraries and data through relative to them are links to
# Debian's. Nothing outside DIR changes.
#   tests/wine/make-loader.sh DIR
set -euo pipefail
dir=${1:?usage: make-loader.sh DIR}
bin=$dir/lib/wine
rm -rf "$dir"
mkdir -p "$bin" "$dir/share"
cp /usr/lib/wine/wine64 /usr/lib/wine/wine "$bin/"
for f in wineserver wineserver32 wineserver64; do ln -s "/usr/lib/wine/$f" "$bin/$f"; done
ln -s /usr/lib/x86_64-linux-gnu "$dir/lib/x86_64-linux-gnu"
ln -s /usr/lib/i386-linux-gnu "$dir/lib/i386-linux-gnu"
ln -s /usr/share/wine "$dir/share/wine"
# The 32-bit process needs the whole 32-bit address space reserved (-R),
# or Wine cannot map its shared user data; WINELOADERNOEXEC stops the
# 32-bit loader from looking for a preloader again.
cat >"$bin/wine-preloader" <<'SH'
#!/bin/sh
WINELOADERNOEXEC=1 exec qemu-i386 -R 0xffff0000 -L / "$@"
SH
chmod +x "$bin/wine-preloader"
