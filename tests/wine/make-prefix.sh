#!/usr/bin/env bash
# Makes a fresh Wine prefix for one test run: headless (null graphics driver),
# no desktop integration.
set -euo pipefail
prefix=${1:?usage: make-prefix.sh DIR}
case $prefix in /*) ;; *) prefix=$PWD/$prefix ;; esac  # Wine wants an absolute WINEPREFIX
. "$(dirname "$0")/env.sh"
export WINEPREFIX=$prefix
if [ -d "$prefix" ]; then wineserver -k 2>/dev/null || true; rm -rf "$prefix"; fi
mkdir -p "$(dirname "$prefix")"
"$WINELOADER" wineboot -i >/dev/null 2>&1
# Without the null driver every window test fails, so the setting is checked
# in the flushed registry (a loaded machine has been seen to lose it).
headless() { grep -qs '"Graphics"="null"' "$prefix/user.reg"; }
for attempt in 1 2 3; do
  "$WINELOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || true
  wineserver -w
  headless && break
done
headless || { echo "make-prefix: could not set the null graphics driver in $prefix" >&2; exit 1; }
echo "wine prefix ready: $prefix"
