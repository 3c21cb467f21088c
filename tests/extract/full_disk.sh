#!/usr/bin/env bash
# Runs a Wine test with a temporary folder that fills up: the installer can
# stage the RAR library but not a large payload.
#  - With the right to mount: a drive T: on a small tmpfs (ZX_FULL_DRIVE).
#  - Anywhere else (or with ZX_FULL_DISK_NO_MOUNT=1): a file-size limit put on the installer's process once it
#    shows its first box. The test asks for it by writing the installer's
#    unique name into ZX_FSIZE_REQUEST\NAME.want and waits for NAME.done. A
#    write past the limit then fails as on a full disk (SIGXFSZ is ignored,
#    and the ignoring is inherited by the processes Wine starts).
set -uo pipefail
test_exe=${1:?usage: full_disk.sh TEST.exe [args]}
shift
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:?WINEPREFIX is not set}"
mnt=$(mktemp -d /tmp/zx-fulldisk.XXXX)
library=$(dirname "$test_exe")/unrar.dll
room=$(( $( [ -f "$library" ] && stat -c %s "$library" || echo 0) + 64 * 1024 ))
drive=$WINEPREFIX/dosdevices/t:
watcher=""
if [ -z "${ZX_FULL_DISK_NO_MOUNT:-}" ] && mount -t tmpfs -o size=$room tmpfs "$mnt" 2>/dev/null; then
  ln -sfn "$mnt" "$drive"
  export ZX_FULL_DRIVE='T:\'
else
  trap '' XFSZ
  export ZX_FSIZE_REQUEST="Z:${mnt//\//\\}\\"
  (
    while :; do
      for want in "$mnt"/*.want; do
        [ -e "$want" ] || continue
        name=$(basename "$want" .want)
        pid=$(pgrep -f -- "$name" | head -1)
        [ -n "$pid" ] && prlimit --pid "$pid" --fsize="$room:$room" && mv "$want" "$mnt/$name.done"
      done
      sleep 0.1
    done
  ) &
  watcher=$!
fi
"$here/../wine/run.sh" "$test_exe" "$@"
rc=$?
[ -n "$watcher" ] && kill "$watcher" 2>/dev/null
rm -f "$drive"
mountpoint -q "$mnt" && umount "$mnt"
rm -rf "$mnt"
exit $rc
