#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine in the test run's prefix.
set -euo pipefail
. "$(dirname "$0")/env.sh"
: "${WINEPREFIX:?WINEPREFIX is not set: make the prefix with tests/wine/make-prefix.sh}"
exec "$WINELOADER" "$@"
