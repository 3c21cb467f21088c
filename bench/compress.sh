#!/usr/bin/env bash
# Installer sizes and times for each packing of a real tree, beside NSIS's
# (when makensis is installed) in the same run: mksetup stored, each file
# compressed, solid; NSIS stored and solid LZMA. Prints the installer's size,
# the seconds mksetup takes to pack (wall clock and CPU), the seconds the
# installer takes to install under Wine (the median of three, timed inside
# Wine by timedrun, which answers our welcome box; NSIS's install silently),
# and the load average: on a busy machine every figure grows.
#   bench/compress.sh [FOLDER]
# FOLDER defaults to a copy of /usr/x86_64-w64-mingw32 with its links
# followed (2,500 files, 169 MB). Run after `make` (uses dist/win64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/env.sh"
bin=$root/dist/win64
work=${ZX_BENCH_DIR:-$root/build}/bench-compress
export WINEPREFIX=$work/prefix
. "$root/bench/installers.sh"
rm -rf "$work"; mkdir -p "$work"
"$root/tests/wine/make-prefix.sh" "$WINEPREFIX" >/dev/null

payload=${1:-}
if [ -z "$payload" ]; then
  payload=$work/corpus
  cp -rL /usr/x86_64-w64-mingw32 "$payload" 2>/dev/null || true
fi
payload=$(realpath "$payload")  # makensis takes a relative one from its script's folder
files=$(find "$payload" -type f | wc -l)
bytes=$(find "$payload" -type f -printf '%s\n' | awk '{s+=$1} END {print s+0}')
echo "payload: $payload, $files files, $bytes bytes"
# timed COMMAND...: runs it; leaves its wall-clock seconds in $took and the
# CPU seconds its own processes used (user and system; not Wine's server) in
# $cpu: with the wall clock, how much of the machine's cores a packing kept
# busy (mksetup packs on several threads, makensis on one).
timed() {
  local TIMEFORMAT='%R %U %S' times wall user sys
  { times=$( { time "$@" >&3 2>&4; } 2>&1); } 3>&1 4>&2
  read -r wall user sys <<<"$times"
  took=$(printf '%.1f' "$wall")
  cpu=$(python3 -c "import sys; print('%.1f' % (float(sys.argv[1]) + float(sys.argv[2])))" "$user" "$sys")
}

# installed EXE FOLDER [CAPTION]: the median of three installs of EXE into
# FOLDER (a Wine path below drive_c, emptied before each), in seconds timed
# inside Wine.
installed() {
  local out times=()
  for _ in 1 2 3; do
    rm -rf "${WINEPREFIX:?}/drive_c/$2"
    out=$("$WINELOADER" "$timedrun" run "$(winpath "$1")" "${@:3}" | tr -d '\r')
    times+=("${out%% *}")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 2p | xargs printf '%.1f'
}
cmake --build "$root/build/win64" --target timedrun >/dev/null
timedrun=$root/build/win64/bin/timedrun.exe

# row INSTALLER BYTES PACK_S PACK_CPU_S INSTALL_S: a line of the table.
row() { printf '%-28s %14s %10s %10s %10s\n' "$@"; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
row installer bytes "pack s" "pack CPU s" "install s"
for packing in store compress solid; do
  option=--$packing
  ours_script "$work/$packing.script" "Bench $packing" "C:\\Bench\\$packing"
  timed "$WINELOADER" "$bin/mksetup.exe" $option "$(winpath "$work/$packing.script")" "$(winpath "$payload")" \
    "$(winpath "$work/$packing.exe")" >"$work/mksetup-$packing.log"
  pack=$took
  took=$(installed "$work/$packing.exe" "Bench/$packing" "Welcome!")
  row "mksetup $option" "$(stat -c %s "$work/$packing.exe")" "$pack" "$cpu" "$took"
  grep "bytes packed" "$work/mksetup-$packing.log" | tr -d '\r' | sed 's/^/  /'
  # Ours holds one file more: the uninstaller mksetup adds.
  diff -rq -x uninstall.exe "$payload" "$WINEPREFIX/drive_c/Bench/$packing" >/dev/null ||
    echo "  (installed files differ from the payload)"
  rm -rf "$WINEPREFIX/drive_c/Bench/$packing"
done

if command -v makensis >/dev/null; then
  for nsis in "SetCompress off" "SetCompressor /SOLID lzma"; do
    name=$([ "$nsis" = "SetCompress off" ] && echo stored || echo lzma)
    nsis_script "$work/nsis-$name.nsi" "$work/nsis-$name.exe" "C:\\Nsis\\$name" "$payload" "$nsis"
    timed makensis -V1 "$work/nsis-$name.nsi" >/dev/null
    pack=$took
    took=$(installed "$work/nsis-$name.exe" "Nsis/$name")
    row "NSIS $nsis" "$(stat -c %s "$work/nsis-$name.exe")" "$pack" "$cpu" "$took"
  done
fi
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "goals: --solid (the default) <= 12,000,000 bytes, --compress <= 18,000,000 bytes, packing <= 30 s,"
echo "       installing at most 0.9 times as long as NSIS's solid LZMA installer"
