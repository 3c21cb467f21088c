#!/bin/bash
# The layer check on small trees: each case adds one include to a tree that
# passes and says whether the check must pass, and which words it must print.
set -eu -o pipefail
check=$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_tree() {
  rm -rf "$work/tree" && mkdir -p "$work/tree" && cd "$work/tree"
  printf 'support\nstate\nide\nrecords\nsetup\ntools: mksetup\n' >layers.txt
  mkdir support state ide records setup mksetup
  echo '#include "support/text.h"' >state/paths.h
  echo '#include <windows.h>' >state/folders.h
  echo '#include "state/paths.h"' >ide/catalogue.h
  echo '#include "ide/catalogue.h"' >records/record.h
  echo '#include "records/record.h"' >setup/setup.cpp
  echo '#include "state/paths.h"' >mksetup/main.cpp
  touch support/text.h
  git init -q . && git add .
}

failed=0
while IFS='|' read -r file include expect words; do
  make_tree
  [[ -n $file ]] && { mkdir -p "$(dirname "$file")" && echo "#include \"$include\"" >>"$file" && git add .; }
  set +e
  output=$(ZX_LAYERS_ROOT=. "$check" 2>&1)
  status=$?
  set -e
  if [[ $expect == pass && $status -ne 0 ]] || [[ $expect == fail && $status -eq 0 ]] ||
     [[ -n $words && $output != *"$words"* ]]; then
    echo "FAILED: ${file:-the plain tree} + $include: expected $expect${words:+ with \"$words\"}, got:"
    echo "$output"
    failed=1
  fi
done <<'CASES'
||pass|every include follows
records/record.h|state/paths.h|pass|
ide/catalogue.h|records/record.h|fail|ide/catalogue.h (ide/) includes records/record.h (records/), which is not below it
state/paths.h|setup/setup.cpp|fail|which is not below it
support/text.h|state/paths.h|fail|circle
lost/x.cpp|support/text.h|fail|lost/x.cpp is in no folder
mksetup/main.cpp|state/folders.h|fail|tool file mksetup/main.cpp includes state/folders.h
mksetup/main.cpp|setup/setup.cpp|fail|only support/ and pure headers
ide/catalogue.h|mksetup/main.cpp|fail|not below it
CASES
exit $failed
