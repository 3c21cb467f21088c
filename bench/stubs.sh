#!/usr/bin/env bash
# Two builds of the installer (setup.exe of x86_64) beside an NSIS stored
# installer of the same payload, taken in turns under one Wine server, ROUNDS
# rounds: what a change to the installer gains or costs, measured against
# the build before it in one run. Prints each one's seconds (every round and
# the median) and the ratios to NSIS stored.
#   bench/stubs.sh STUB_A STUB_B [ROUNDS] [FILES] [BYTES_EACH]
# Defaults: 7 rounds of 10,000 files of 10 KB (peer.sh's 10,000-file row).
# ZX_STUBS_CPUS=0 holds every process of the prefix to CPU 0 (see peer.sh).
# Run after `make` (uses dist/win64 and build/win64); installs Debian's nsis
# when makensis is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/env.sh"
[ $# -ge 2 ] || { sed -n '2,11s/^# \{0,1\}//p' "$0"; exit 2; }
stubs=("$(realpath "$1")" "$(realpath "$2")")
rounds=${3:-7}
files=${4:-10000}
size=${5:-10000}
bin=$root/dist/win64
timedrun=$root/build/win64/bin/timedrun.exe
work=${ZX_BENCH_DIR:-$root/build}/bench-stubs
export WINEPREFIX=$work/prefix
cpus=()
[ -z "${ZX_STUBS_CPUS:-}" ] || cpus=(taskset -c "$ZX_STUBS_CPUS")

. "$root/bench/installers.sh"
need_nsis
cmake --build "$root/build/win64" --target timedrun >/dev/null
rm -rf "$work"; mkdir -p "$work"
"$root/tests/wine/make-prefix.sh" "$WINEPREFIX" >/dev/null

python3 "$root/bench/payload.py" "$work/payload" "$files" "$size"
ours_script "$work/ours.script" "Stubs" "C:\\ours"
for i in 0 1; do
  "$WINELOADER" "$bin/mksetup.exe" --stub "$(winpath "${stubs[i]}")" "$(winpath "$work/ours.script")" \
    "$(winpath "$work/payload")" "$(winpath "$work/ours-$i.exe")" >/dev/null
done
nsis_script "$work/nsis.nsi" "$work/nsis.exe" "C:\\nsis" "$work/payload" "SetCompress off" "SetDatablockOptimize off"
makensis -V1 "$work/nsis.nsi" >/dev/null
sync

warm_server "$work/nsis.exe" "${cpus[@]}"
for (( r = 0; r < rounds; r++ )); do
  for m in ours-0 ours-1 nsis; do
    rm -rf "$WINEPREFIX/drive_c/ours" "$WINEPREFIX/drive_c/nsis"
    forget_records "Stubs" "${cpus[@]}"
    answer=(); [ "$m" = nsis ] || answer=("Welcome!")
    out=$("${cpus[@]}" "$WINELOADER" "$timedrun" run "$(winpath "$work/$m.exe")" "${answer[@]}" | tr -d '\r')
    echo "$m ${out%% *}" >>"$work/times"
  done
done
wineserver -k 2>/dev/null || true

python3 - "$work/times" "${stubs[@]}" <<'PY'
import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    method, secs = line.split()
    runs.setdefault(method, []).append(float(secs))
med = {m: statistics.median(v) for m, v in runs.items()}
names = {"ours-0": "A " + sys.argv[2], "ours-1": "B " + sys.argv[3], "nsis": "NSIS stored"}
for m in ("ours-0", "ours-1", "nsis"):
    ratio = "" if m == "nsis" else "  /NSIS %.2f" % (med[m] / med["nsis"])
    print("%-7.2f%s  (%s)  %s" % (med[m], ratio, " ".join("%.2f" % s for s in runs[m]), names[m]))
print("B/A %.2f" % (med["ours-1"] / med["ours-0"]))
PY
rm -rf "$work/payload"
