#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine in the test run's prefix.
set -euo pipefail
. "$(dirname "$0")/env.sh"
: "${WINEPREFIX:?WINEPREFIX is not set: make the prefix with tests/wine/make-prefix.sh}"
# Not exec: a program that ends before it writes anything (it never started,
# or died at once) still leaves a line saying how it ended.
rc=0
"$WINELOADER" "$@" || rc=$?
if [ "$rc" -ne 0 ]; then
  how="status $rc"
  [ "$rc" -gt 128 ] && how="$how (signal $((rc - 128)))"
  echo "run.sh: ${1##*/} ended with $how" >&2
fi
exit "$rc"
