#!/usr/bin/env bash
# Installs payloads of 100, 1,000 and 10,000 files (the same total size)
# through the installer under Wine, answering its boxes with autodrive, and
# prints the time per file at each size: growth faster than linear shows as
# a rising figure. Run after `make` (uses dist/win64).
#   bench/install.sh [TOTAL_MB]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/env.sh"
total_mb=${1:-20}
bin=$root/dist/win64
work=${ZX_BENCH_DIR:-$root/build}/bench-install
export WINEPREFIX=$work/prefix
rm -rf "$work"; mkdir -p "$work"
"$root/tests/wine/make-prefix.sh" "$WINEPREFIX" >/dev/null

printf '%8s %10s %10s %12s %14s\n' files "total MB" "seconds" "ms per file" "MB per second"
for files in 100 1000 10000; do
  payload=$work/payload-$files
  mkdir -p "$payload"
  size=$(( total_mb * 1024 * 1024 / files ))
  python3 - "$payload" "$files" "$size" <<'PY'
import os, sys
root, files, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
block = os.urandom(size)
for i in range(files):
    folder = os.path.join(root, "group%03d" % (i // 100))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "file%05d.dat" % i), "wb") as f:
        f.write(block[i % 7:] + block[:i % 7])
PY
  cat > "$work/bench-$files.script" <<SCRIPT
APPNAME = Bench $files
INSTALLDIR = C:\\Bench$files
PROMPTINSTALLDIR = No
CHECKPREVVERSION = No
CHECKDELPHI = No
SUCCESSMESSAGE = Yes
SCRIPT
  "$WINELOADER" "$bin/mksetup.exe" --store "$(winpath "$work/bench-$files.script")" "$(winpath "$payload")" \
    "$(winpath "$work/bench-$files.exe")" >/dev/null
  start=$(date +%s.%N)
  "$WINELOADER" "$bin/autodrive.exe" "$(winpath "$work/bench-$files.exe")" >"$work/run-$files.log"
  end=$(date +%s.%N)
  python3 -c "import sys; f,t,mb=int(sys.argv[1]),float(sys.argv[3])-float(sys.argv[2]),float(sys.argv[4]); print('%8d %10.1f %10.2f %12.3f %14.1f' % (f, mb, t, t*1000/f, mb/t))" \
    "$files" "$start" "$end" "$total_mb"
done
