#!/usr/bin/env bash
# The writer's archives read back by libarchive's own tool: rarpack packs
# trees in every packing, bsdtar lists and extracts them, and the extracted
# tree must equal the original byte for byte.
#   bsdtar_roundtrip.sh RARPACK SOURCE_ROOT OBJECT_FOLDER
set -euo pipefail
rarpack=$1 root=$2 objects=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The edge inputs of an LZ coder and its filter, beside real trees.
mkdir -p "$work/edge/sub"
python3 - "$work/edge" <<'PY'
import os, random, sys
d = sys.argv[1]
random.seed(5)
noise = bytes(random.getrandbits(8) for _ in range(300000))
words = b"".join(random.choice([b"tar ", b"rar ", b"window ", b"match\r\n"]) for _ in range(120000))
files = {"empty": b"", "one": b"x", "run": b"a" * 50000, "noise": noise[:70000],
         "far-repeat": noise[:4000] + noise[4000:262100] + noise[:4000], "words": words,
         "sub/words-again": words[:100000] + b"\0" * 9000}
# A Windows program with calls (the x86 filter).
image = bytearray(noise[:20000])
image[0:2], image[0x3c:0x40], image[0x40:0x46] = b"MZ", (0x40).to_bytes(4, "little"), b"PE\0\0\x4c\x01"
for at in range(0x100, len(image) - 5, 23):
    image[at] = 0xE8
    image[at + 1:at + 5] = ((0x1000 + (at % 50) * 0x40 - (at + 5)) & 0xFFFFFFFF).to_bytes(4, "little")
files["calls.exe"] = bytes(image)
for name, data in files.items():
    with open(os.path.join(d, name), "wb") as f:
        f.write(data)
PY
status=0
for tree in "$work/edge" "$root/rarwriter" "$root/unrar" "$root/tests" "$objects"; do
  for packing in --store "" --solid; do
    rm -rf "$work/out"; mkdir "$work/out"
    "$rarpack" $packing "$tree" "$work/t.rar" >/dev/null
    bsdtar -tf "$work/t.rar" >/dev/null
    bsdtar -xf "$work/t.rar" -C "$work/out"
    if ! diff -r "$tree" "$work/out" >/dev/null; then
      echo "FAILED: $tree ${packing:---compress}"
      status=1
    fi
  done
done
[ $status -eq 0 ] && echo "all trees read back by bsdtar"
exit $status
