#!/bin/bash
# Keeps the layers of layers.txt, folder by folder: fails on an include from a
# folder to one above it, on a tool that includes more than support/ and pure
# headers, on a cycle between folders, and on a cycle between the project's
# CMake libraries in each build tree given (read from `cmake --graphviz`).
#   scripts/check-layers.sh [BUILD_TREE...]
# ZX_LAYERS_ROOT checks another tree than this one (a git work tree).
set -eu -o pipefail
cd "${ZX_LAYERS_ROOT:-$(dirname "$0")/..}"

declare -A rank tool
n=0
while read -r first rest; do
  if [[ $first == tools: ]]; then
    for t in $rest; do tool[$t]=1; done
  else
    rank[$first]=$((n += 1))
  fi
done < <(sed 's/#.*//' layers.txt | awk 'NF')
top=${rank[setup]:-$n}

failures=0
fail() { echo "layers: $*"; failures=$((failures + 1)); }
edges=""
while read -r file; do
  dir=${file%%/*}
  [[ $file == */* ]] || dir=.
  [[ -n ${rank[$dir]:-}${tool[$dir]:-} ]] || { fail "$file is in no folder of layers.txt"; continue; }
  while read -r target; do
    [[ -f $target ]] || target="$(dirname "$file")/$target"
    [[ -f $target ]] || continue
    target=$(realpath --relative-to=. "$target")
    to=${target%%/*}
    [[ $target == */* ]] || to=.
    [[ $to == "$dir" ]] && continue
    edges+="$dir $to"$'\n'
    if [[ -n ${tool[$dir]:-} ]]; then
      [[ $to == support ]] && continue
      if [[ -n ${tool[$to]:-} || ${rank[$to]:-$top} -lt $top ]] && ! grep -q '#include <windows.h>' "$target"; then
        continue
      fi
      fail "tool file $file includes $target (only support/ and pure headers)"
    elif [[ -z ${rank[$to]:-} || ${rank[$to]} -gt ${rank[$dir]} ]]; then
      fail "$file ($dir/) includes $target ($to/), which is not below it"
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files -- '*.cpp' '*.h' '*.rc' | grep -v '^tests/')

# No two folders include each other, even through others: tsort refuses a loop.
if ! tsort <<<"$edges" >/dev/null 2>/tmp/layers.$$; then
  fail "folders include each other in a circle:"
  cat /tmp/layers.$$
fi
rm -f /tmp/layers.$$

# No cycle between our libraries (zx*).
for tree in "$@"; do
  dot="$tree/layers.dot"
  cmake --graphviz="$dot" "$tree" >/dev/null
  libs=$(sed -n 's/.*\/\/ *\(zx[A-Za-z0-9_]*\) *-> *\(zx[A-Za-z0-9_]*\).*/\1 \2/p' "$dot" | sort -u)
  if ! tsort <<<"$libs" >/dev/null 2>"$tree/layers.loop"; then
    fail "the CMake libraries of $tree form a cycle:"
    cat "$tree/layers.loop"
  fi
  rm -f "$dot" "$dot".*
done

if ((failures)); then
  echo "layers: $failures violation(s) of layers.txt"
  exit 1
fi
echo "layers: every include follows layers.txt; no folder or library cycle"
