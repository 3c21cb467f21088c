#!/usr/bin/env bash
# Runs a Wine test with a drive T: that is nearly full: a small tmpfs with
# room for the RAR library but not for a large payload. Without the right to
# mount, the test runs without the drive and skips what needs it.
set -uo pipefail
test_exe=${1:?usage: full_disk.sh TEST.exe [args]}
shift
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:?WINEPREFIX is not set}"
mnt=$(mktemp -d /tmp/zx-fulldisk.XXXX)
library=$(dirname "$test_exe")/unrar.dll
room=$(( $( [ -f "$library" ] && stat -c %s "$library" || echo 0) + 64 * 1024 ))
drive=$WINEPREFIX/dosdevices/t:
if mount -t tmpfs -o size=$room tmpfs "$mnt" 2>/dev/null; then
  ln -sfn "$mnt" "$drive"
  export ZX_FULL_DRIVE='T:\'
fi
"$here/../wine/run.sh" "$test_exe" "$@"
rc=$?
rm -f "$drive"
mountpoint -q "$mnt" && umount "$mnt"
rmdir "$mnt"
exit $rc
