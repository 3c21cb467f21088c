#!/usr/bin/env bash
# Makes a fresh Wine prefix for one test run: headless (null graphics driver),
# no desktop integration.
set -euo pipefail
prefix=${1:?usage: make-prefix.sh DIR}
. "$(dirname "$0")/env.sh"
export WINEPREFIX=$prefix
if [ -d "$prefix" ]; then wineserver -k 2>/dev/null || true; rm -rf "$prefix"; fi
mkdir -p "$(dirname "$prefix")"
"$WINELOADER" wineboot -i >/dev/null 2>&1
"$WINELOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
echo "wine prefix ready: $prefix"
