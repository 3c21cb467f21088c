#!/usr/bin/env bash
# Counts the requests each installer makes of Wine's server for every file it
# installs: ours and an NSIS stored installer of the same payload (files of
# 10 KB), each run at 1,000 and 3,000 files under a server that traces them;
# the difference per 2,000 files leaves the start-up out. On two CPUs each
# request wakes the server on the other one (see peer.sh): the count, not the
# bytes, is what a payload of many small files costs there.
# Run after `make` (uses dist/win64 and build/win64); installs Debian's nsis
# when makensis is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/env.sh"
bin=$root/dist/win64
timedrun=$root/build/win64/bin/timedrun.exe
work=${ZX_BENCH_DIR:-$root/build}/bench-requests
export WINEPREFIX=$work/prefix

. "$root/bench/installers.sh"
need_nsis
cmake --build "$root/build/win64" --target timedrun >/dev/null
rm -rf "$work"; mkdir -p "$work"
"$root/tests/wine/make-prefix.sh" "$WINEPREFIX" >/dev/null

for n in 1000 3000; do
  python3 "$root/bench/payload.py" "$work/p$n" "$n" 10000
  ours_script "$work/p$n.script" "Requests $n" "C:\\ours-$n"
  "$WINELOADER" "$bin/mksetup.exe" --store "$(winpath "$work/p$n.script")" "$(winpath "$work/p$n")" \
    "$(winpath "$work/ours-$n.exe")" >/dev/null
  nsis_script "$work/nsis-$n.nsi" "$work/nsis-$n.exe" "C:\\nsis-$n" "$work/p$n" "SetCompress off" "SetDatablockOptimize off"
  makensis -V1 "$work/nsis-$n.nsi" >/dev/null
done

# One traced run: the requests by name (replies left out) into count-METHOD-N.
traced() {
  local method=$1 n=$2 extra=()
  [ "$method" = ours ] && extra=("Welcome!")
  wineserver -k 2>/dev/null || true
  # The prefix's services start beside the first program: untraced.
  "$WINELOADER" "$timedrun" run "$(winpath "$work/nsis-1000.exe")" >/dev/null
  rm -rf "$WINEPREFIX/drive_c/nsis-1000"
  wineserver -k; sleep 1
  wineserver -f -d1 -p 2>"$work/trace" &
  sleep 1
  "$WINELOADER" "$timedrun" run "$(winpath "$work/$method-$n.exe")" "${extra[@]}" >/dev/null
  sleep 2; wineserver -k; wait || true
  # The next run finds no records of this one (their counts would be read).
  forget_records "Requests $n"
  grep -v '^[0-9a-f]*: [a-z_]*() = ' "$work/trace" | grep -o '^[0-9a-f]*: [a-z_]*(' | sed 's/^[0-9a-f]*: //; s/($//' |
    sort | uniq -c >"$work/count-$method-$n"
  rm -f "$work/trace"
}
for m in ours nsis; do for n in 1000 3000; do traced "$m" "$n"; done; done

python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
def counts(m, n):
    return {name: int(c) for c, name in (line.split() for line in open("%s/count-%s-%d" % (work, m, n)))}
def per_file(m):
    a, b = counts(m, 1000), counts(m, 3000)
    return {k: (b.get(k, 0) - a.get(k, 0)) / 2000 for k in set(a) | set(b)}
per = {m: per_file(m) for m in ("ours", "nsis")}
names = sorted({k for m in per for k, v in per[m].items() if abs(v) >= 0.05}, key=lambda k: -per["ours"].get(k, 0))
print("Wine server requests per installed file (3,000 files less 1,000, per 2,000):")
print("%-24s %8s %8s" % ("request", "ours", "NSIS"))
for k in names:
    print("%-24s %8.2f %8.2f" % (k, per["ours"].get(k, 0), per["nsis"].get(k, 0)))
print("%-24s %8.2f %8.2f" % ("all", sum(per["ours"].values()), sum(per["nsis"].values())))
PY
rm -rf "$work"
