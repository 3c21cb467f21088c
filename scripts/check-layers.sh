#!/bin/bash
# Keeps the layers of layers.txt: fails on an include that goes against their
# order, and on a cycle between the project's CMake libraries in each build
# tree given (read from `cmake --graphviz`).
#   scripts/check-layers.sh [BUILD_TREE...]
set -eu -o pipefail
cd "$(dirname "$0")/.."

# Prints "<rank> <layer>" of a path: the longest matching entry of layers.txt.
layer_table=$(awk '!/^#/ && NF { for (i = 2; i <= NF; ++i) print NR, $1, $i }' layers.txt)
layer_of() {
  awk -v path="$1" '
    index(path, $3) == 1 && length($3) > best { best = length($3); rank = $1; name = $2 }
    END { if (best) print rank, name }' <<<"$layer_table"
}

failures=0
declare -A rank_cache name_cache
lookup() {
  if [[ -z ${rank_cache[$1]+x} ]]; then
    read -r r n <<<"$(layer_of "$1")" || true
    rank_cache[$1]=${r:-}
    name_cache[$1]=${n:-}
  fi
}

sources=$(git ls-files -- '*.cpp' '*.h' '*.rc' | grep -v '^tests/' || true)
for file in $sources; do
  lookup "$file"
  own_rank=${rank_cache[$file]}
  own_name=${name_cache[$file]}
  [[ -n $own_rank ]] || { echo "layers: $file is in no layer of layers.txt"; failures=$((failures + 1)); continue; }
  while read -r target; do
    [[ -f $target ]] || target="$(dirname "$file")/$target"
    [[ -f $target ]] || continue
    lookup "$target"
    rank=${rank_cache[$target]}
    name=${name_cache[$target]}
    if [[ $own_name == tool ]]; then
      own_dir=${file%%/*}
      target_dir=${target%%/*}
      [[ $target_dir == "$own_dir" || $name == support ]] && continue
      if [[ $name != sequence ]] && ! grep -q '#include <windows.h>' "$target"; then continue; fi
      echo "layers: tool file $file includes $target (only support/ and pure headers)"
      failures=$((failures + 1))
    elif [[ -z $rank || $name == tool || $rank -gt $own_rank ]]; then
      echo "layers: $file ($own_name) includes $target (${name:-no layer}), which is not below it"
      failures=$((failures + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done

# No cycle between our libraries (zx*): tsort refuses a graph with a loop.
for tree in "$@"; do
  dot="$tree/layers.dot"
  cmake --graphviz="$dot" "$tree" >/dev/null
  edges=$(sed -n 's/.*\/\/ *\(zx[A-Za-z0-9_]*\) *-> *\(zx[A-Za-z0-9_]*\).*/\1 \2/p' "$dot" | sort -u)
  if ! tsort <<<"$edges" >/dev/null 2>"$tree/layers.loop"; then
    echo "layers: the CMake libraries of $tree form a cycle:"
    cat "$tree/layers.loop"
    failures=$((failures + 1))
  fi
  rm -f "$dot" "$dot".*
done

if ((failures)); then
  echo "layers: $failures violation(s) of layers.txt"
  exit 1
fi
echo "layers: every include follows layers.txt; no library cycle"
