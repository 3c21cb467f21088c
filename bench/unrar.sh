#!/usr/bin/env bash
# Extraction speed of our unrar.dll under Wine beside the speed of copying
# the same files under Wine (the limit of this machine): makes a payload
# (2,000 files, ~100 MB in 20 folders), packs it with rarpack, extracts it
# through the DLL (after a walk that skips every entry, as the installer's
# count of the sizes does) and copies the tree, each timed inside one Wine
# process.
#   bench/unrar.sh [FILES] [TOTAL_MB]
# Runs after `make` alone: every tool comes from ZX_WIN_TREE (build/win64),
# rarpack too, under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/env.sh"
files=${1:-2000}
total_mb=${2:-100}
win=${ZX_WIN_TREE:-$root/build/win64}
work=${ZX_BENCH_DIR:-$root/build}/bench-unrar
export WINEPREFIX=$work/prefix

cmake --build "$win" --target unrar unrar_bench rarpack >/dev/null
rm -rf "$work"; mkdir -p "$work"
"$root/tests/wine/make-prefix.sh" "$WINEPREFIX" >/dev/null

# Sizes vary around the mean (half to one and a half times), data does not compress.
python3 - "$work/payload" "$files" "$(( total_mb * 1024 * 1024 / files ))" <<'PY'
import os, random, sys
root, files, mean = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
random.seed(1)
block = os.urandom(mean * 2)
for i in range(files):
    folder = os.path.join(root, "group%02d" % (i % 20), "sub%d" % (i % 3))
    os.makedirs(folder, exist_ok=True)
    size = random.randint(mean // 2, mean * 3 // 2)
    start = random.randint(0, len(block) - size)
    with open(os.path.join(folder, "file%05d.dat" % i), "wb") as f:
        f.write(block[start:start + size])
PY
"$WINELOADER" "$win/bin/rarpack.exe" --store "$(winpath "$work/payload")" "$(winpath "$work/payload.rar")" >/dev/null
sync

run() { "$WINELOADER" "$win/bin/unrar_bench.exe" "$@" 2>/dev/null | tr -d '\r'; }
read -r ct_s ct_files ct_bytes < <(run count "$(winpath "$work/payload.rar")" -)
read -r ex_s ex_files ex_bytes < <(run extract "$(winpath "$work/payload.rar")" "$(winpath "$work/extracted")")
read -r cp_s cp_files cp_bytes < <(run copy "$(winpath "$work/payload")" "$(winpath "$work/copied")")
cmp -s <(cd "$work/payload" && find . -type f -print0 | sort -z | xargs -0 cat) \
       <(cd "$work/extracted" && find . -type f -print0 | sort -z | xargs -0 cat) || { echo "extracted files differ"; exit 1; }

python3 - "$ct_s" "$ct_files" "$ct_bytes" "$ex_s" "$ex_files" "$ex_bytes" "$cp_s" "$cp_files" "$cp_bytes" <<'PY'
import sys
ct_s, ct_f, ct_b, ex_s, ex_f, ex_b, cp_s, cp_f, cp_b = map(float, sys.argv[1:])
print("%-22s %8s %10s %9s %10s %10s" % ("", "files", "MB", "seconds", "MB/s", "files/s"))
for name, s, f, b in (("count (skip each)", ct_s, ct_f, ct_b), ("extract (unrar.dll)", ex_s, ex_f, ex_b),
                      ("copy (CopyFileA)", cp_s, cp_f, cp_b)):
    print("%-22s %8d %10.1f %9.3f %10.1f %10.0f" % (name, f, b / 2**20, s, b / 2**20 / s, f / s))
print("extraction takes %.2f times as long as copying" % (ex_s / cp_s))
PY
rm -rf "$work/payload" "$work/extracted" "$work/copied"
