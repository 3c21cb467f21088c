#!/usr/bin/env bash
# Our installer beside NSIS installers of the same payload, all in one run
# under the same 64-bit Wine and taken in turns (ours, NSIS stored, NSIS solid
# LZMA, a plain CopyFileA of the tree), RUNS rounds; prints the medians of
# the whole process's wall seconds and the ratios ours/NSIS, the time per
# file at 1,000 and 10,000 files of 10 KB, the peak working set of our
# installer (read by the benchmark while it runs) and the i686 sizes of
# setup.exe and unrar.dll. Payloads: 100 MB of incompressible data in 100,
# 1,000 and 10,000 files, and 1,000 files of 10 KB.
#   bench/peer.sh [RUNS] [TOTAL_MB]
# ZX_PEER_LZMA=no leaves the LZMA installer out (it takes long to build).
# makensis searches its data for duplicates (SetDatablockOptimize): the
# payloads have none, and the search makes building 10,000 files slow.
# Run after `make` (uses dist/win64, dist/win32 and build/win64); installs
# Debian's nsis when makensis is missing. The machine may be shared: only
# figures of one run compare.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/tests/wine/env.sh"
runs=${1:-3}
total=$(( ${2:-100} * 1000000 ))
lzma=${ZX_PEER_LZMA:-yes}
bin=$root/dist/win64
timedrun=$root/build/win64/bin/timedrun.exe
copier=$root/build/win64/bin/unrar_bench.exe  # its copy mode, timed inside the process
work=${ZX_BENCH_DIR:-$root/build}/bench-peer
export WINEPREFIX=$work/prefix

if ! command -v makensis >/dev/null; then
  sudo_cmd=""; [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends nsis >/dev/null
fi
cmake --build "$root/build/win64" --target timedrun unrar_bench >/dev/null
rm -rf "$work"; mkdir -p "$work"
"$root/tests/wine/make-prefix.sh" "$WINEPREFIX" >/dev/null
drive_c=$WINEPREFIX/drive_c

# name files size: the payloads, incompressible, 100 files to a folder.
payloads=("p100 100 $(( total / 100 ))" "p1000 1000 $(( total / 1000 ))" "p10000 10000 $(( total / 10000 ))")
payloads+=("k1000 1000 10000")
[ "$(( total / 10000 ))" -eq 10000 ] || payloads+=("k10000 10000 10000")
methods=(ours nsis-stored copy)
[ "$lzma" = no ] || methods=(ours nsis-stored nsis-lzma copy)

for p in "${payloads[@]}"; do
  read -r name files size <<<"$p"
  python3 - "$work/$name" "$files" "$size" <<'PY'
import os, sys
root, files, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for i in range(files):
    folder = os.path.join(root, "group%03d" % (i // 100))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "file%05d.dat" % i), "wb") as f:
        f.write(os.urandom(size))
PY
  cat > "$work/$name.script" <<SCRIPT
APPNAME = Peer $name
INSTALLDIR = C:\\ours-$name
PROMPTINSTALLDIR = No
CHECKPREVVERSION = No
CHECKDELPHI = No
SUCCESSMESSAGE = No
SCRIPT
  "$WINELOADER" "$bin/mksetup.exe" "$(winpath "$work/$name.script")" "$(winpath "$work/$name")" \
    "$(winpath "$work/ours-$name.exe")" >/dev/null
  for kind in stored lzma; do
    [ "$kind" = stored ] && compress="SetCompress off" || compress="SetCompressor /SOLID lzma"
    [ "$kind" = lzma ] && [ "$lzma" = no ] && continue
    cat > "$work/nsis-$kind-$name.nsi" <<NSI
Target amd64-unicode
$compress
SetDatablockOptimize off
SilentInstall silent
RequestExecutionLevel user
OutFile "$work/nsis-$kind-$name.exe"
InstallDir "C:\\nsis-$kind-$name"
Section
  SetOutPath "\$INSTDIR"
  File /r "$work/$name/*"
SectionEnd
NSI
    makensis -V1 "$work/nsis-$kind-$name.nsi" >/dev/null
  done
done
sync

# One timed run: "seconds peak" into $work/times.
clean() {
  rm -rf "$drive_c/$1-$2" "$drive_c/copy-$2"
  if [ "$1" = ours ]; then
    "$WINELOADER" reg delete "HKCU\\Software\\Corvane Company" /f >/dev/null 2>&1 || true
    "$WINELOADER" reg delete "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Peer $2" /f >/dev/null 2>&1 || true
  fi
}
measure() {
  local method=$1 name=$2 out
  clean "$method" "$name"
  case $method in
    ours) out=$("$WINELOADER" "$timedrun" run "$(winpath "$work/ours-$name.exe")" "Welcome!" | tr -d '\r') ;;
    copy) out="$("$WINELOADER" "$copier" copy "$(winpath "$work/$name")" "C:\\copy-$name" | tr -d '\r' | cut -d' ' -f1) 0" ;;
    *) out=$("$WINELOADER" "$timedrun" run "$(winpath "$work/$method-$name.exe")" | tr -d '\r') ;;
  esac
  local installed
  installed=$(find "$drive_c/${method}-$name" -type f 2>/dev/null | wc -l)
  echo "$method $name $out $installed" >>"$work/times"
}
for (( r = 0; r < runs; r++ )); do
  for p in "${payloads[@]}"; do
    read -r name _ <<<"$p"
    for m in "${methods[@]}"; do measure "$m" "$name"; done
  done
done
rm -rf "$drive_c"/ours-* "$drive_c"/nsis-* "$drive_c"/copy-*

python3 - "$work/times" "$root/dist/win32" "${payloads[@]}" <<'PY'
import os, statistics, sys
times, win32, payloads = sys.argv[1], sys.argv[2], [p.split() for p in sys.argv[3:]]
rows = {}
for line in open(times):
    method, name, secs, peak, installed = line.split()
    rows.setdefault((method, name), []).append((float(secs), int(peak), int(installed)))
methods = [m for m in ("ours", "nsis-stored", "nsis-lzma", "copy") if any(k[0] == m for k in rows)]
med = lambda m, n: statistics.median(s for s, _, _ in rows[(m, n)])
peak = lambda n: statistics.median(p for _, p, _ in rows[("ours", n)])
print("Medians of %d runs, seconds of the whole process (all in this one run, taken in turns):"
      % len(rows[("ours", payloads[0][0])]))
print("%7s %9s " % ("files", "MB") + " ".join("%12s" % m for m in methods) +
      "  ours/stored" + ("  ours/lzma" if "nsis-lzma" in methods else "") + "  ours peak WS MB")
for name, files, size in payloads:
    files, size = int(files), int(size)
    line = "%7d %9.1f " % (files, files * size / 1e6) + " ".join("%12.2f" % med(m, name) for m in methods)
    line += "  %11.2f" % (med("ours", name) / med("nsis-stored", name))
    if "nsis-lzma" in methods:
        line += "  %9.2f" % (med("ours", name) / med("nsis-lzma", name))
    print(line + "  %15.1f" % (peak(name) / 2**20))
    for m in methods:
        # Ours installs the uninstaller mksetup adds beside the payload's files.
        if m != "copy" and any(i < files for _, _, i in rows[(m, name)]):
            print("   (%s did not install every file of %s)" % (m, name))
by_shape = {(int(f), int(s)): n for n, f, s in payloads}
k1, k10 = by_shape[(1000, 10000)], by_shape[(10000, 10000)]
per1, per10 = med("ours", k1) / 1000 * 1000, med("ours", k10) / 10000 * 1000
print("ours, files of 10 KB: %.3f ms per file at 1,000, %.3f ms at 10,000: ratio %.2f (goal <= 1.2)"
      % (per1, per10, per10 / per1))
few, many = by_shape[min(by_shape)], [n for n, f, s in payloads if int(f) == 10000][0]
print("ours, peak working set: %.1f MB at 10,000 files, %.1f MB at 100: ratio %.2f (goal <= 1.5)"
      % (peak(many) / 2**20, peak(few) / 2**20, peak(many) / peak(few)))
print("goals: 10,000 files ours/stored %.2f (<= 1.0), 100 files %.2f (<= 2.0)"
      % (med("ours", many) / med("nsis-stored", many), med("ours", few) / med("nsis-stored", few)))
for f, limit in (("setup.exe", 200 * 1024), ("unrar.dll", 320 * 1024)):
    path = os.path.join(win32, f)
    size = os.path.getsize(path) if os.path.exists(path) else 0
    print("i686 %-9s %8d bytes (goal <= %d)" % (f, size, limit))
PY
for p in "${payloads[@]}"; do read -r name _ <<<"$p"; rm -rf "${work:?}/$name"; done
