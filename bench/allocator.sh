#!/usr/bin/env bash
# What the free-notification wrapper costs per release: the same blocks
# released with free(), through the memory manager without the wrapper, and
# through the wrapper (nothing watched, as in the installer; and 1,000 blocks
# watched), natively (built here with -O2) and as the installer's x86_64
# build under Wine.
#   bench/allocator.sh [BLOCKS] [ROUNDS]
# Tree: ZX_WIN_TREE (default build/win64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/env.sh"
blocks=${1:-20000}
rounds=${2:-200}
win=${ZX_WIN_TREE:-$root/build/win64}
work=${ZX_BENCH_DIR:-$root/build}/bench-allocator
export WINEPREFIX=$work/prefix
mkdir -p "$work"

"${CXX:-c++}" -O2 -std=c++17 -I"$root" -o "$work/allocator_bench" "$root/tests/support/allocator_bench.cpp" \
  "$root"/support/{sorted_list,memory_manager,free_notification}.cpp
cmake --build "$win" --target allocator_bench >/dev/null
[ -d "$WINEPREFIX" ] || "$root/tests/wine/make-prefix.sh" "$WINEPREFIX" >/dev/null

echo "== native (C library heap, -O2)"
"$work/allocator_bench" "$blocks" "$rounds"
echo "== x86_64 Windows build under Wine (MinSizeRel, as the installer)"
"$WINELOADER" "$win/bin/allocator_bench.exe" "$blocks" "$rounds" 2>/dev/null | tr -d '\r'
