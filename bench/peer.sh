#!/usr/bin/env bash
# Our installer beside NSIS installers of the same payload, all in one run
# under the same 64-bit Wine and taken in turns (ours, NSIS stored, NSIS solid
# LZMA, a plain CopyFileA of the tree), RUNS rounds; prints the medians of
# the whole process's wall seconds and the ratios ours/NSIS, the time per
# file at 1,000 and 10,000 files of 10 KB, the peak working set of our
# installer (read by the benchmark while it runs) and the i686 sizes of
# setup.exe and unrar.dll. Payloads: 100 MB of incompressible data in 100,
# 1,000 and 10,000 files, 1,000 files of 10 KB, and a real tree (Debian's
# mingw-w64 x86_64 target folder, links followed: 2,500 files, 169 MB),
# which ours installs solid (mksetup's default packing) and each file
# compressed alone ("ours-each").
# Prints the ratio against each goal, and whether it is met.
# Every turn runs twice: as the machine runs programs (two CPUs), and with
# every process of the prefix, Wine's server included, held to one CPU. On
# these virtual machines each call a program makes into Wine's server wakes
# the server on the other CPU, which was halted: about 50 us a call, where
# on one CPU the call is a plain switch of process (5 us), as a Windows
# system call never leaves its CPU either. Wine's cost is then not the
# installers' own; both sets of figures are printed and judged.
#   bench/peer.sh [RUNS] [TOTAL_MB]
# ZX_PEER_LZMA=no leaves the LZMA installers of the generated payloads out
# (they take long to build); ZX_PEER_TREE=no leaves the real tree out.
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

. "$root/bench/installers.sh"
need_nsis
cmake --build "$root/build/win64" --target timedrun unrar_bench >/dev/null
rm -rf "$work"; mkdir -p "$work"
"$root/tests/wine/make-prefix.sh" "$WINEPREFIX" >/dev/null
drive_c=$WINEPREFIX/drive_c

# name files size: the payloads, incompressible, 100 files to a folder.
payloads=("p100 100 $(( total / 100 ))" "p1000 1000 $(( total / 1000 ))" "p10000 10000 $(( total / 10000 ))")
payloads+=("k1000 1000 10000")
[ "$(( total / 10000 ))" -eq 10000 ] || payloads+=("k10000 10000 10000")
[ "${ZX_PEER_TREE:-yes}" = no ] || payloads+=("tree 0 0")
# The methods timed for a payload.
methods_of() {
  if [ "$1" = tree ]; then echo ours ours-each nsis-stored nsis-lzma copy
  elif [ "$lzma" = no ]; then echo ours nsis-stored copy
  else echo ours nsis-stored nsis-lzma copy; fi
}

for p in "${payloads[@]}"; do
  read -r name files size <<<"$p"
  if [ "$name" = tree ]; then
    cp -rL /usr/x86_64-w64-mingw32 "$work/$name" 2>/dev/null || true
  else
    python3 "$root/bench/payload.py" "$work/$name" "$files" "$size"
  fi
  ours_script "$work/$name.script" "Peer $name" "C:\\ours-$name"
  for packing in default each; do
    [ "$packing" = each ] && [ "$name" != tree ] && continue
    out=ours-$name; option=()
    [ "$packing" = each ] && { out=ours-each-$name; option=(--compress); }
    t0=$(date +%s.%N)
    "$WINELOADER" "$bin/mksetup.exe" "${option[@]}" "$(winpath "$work/$name.script")" "$(winpath "$work/$name")" \
      "$(winpath "$work/$out.exe")" >/dev/null
    echo "$out $(stat -c %s "$work/$out.exe") $(python3 -c "import sys,time; print('%.1f' % (time.time() - float(sys.argv[1])))" "$t0")" >>"$work/sizes"
  done
  for kind in stored lzma; do
    [ "$kind" = stored ] && compress="SetCompress off" || compress="SetCompressor /SOLID lzma"
    [ "$kind" = lzma ] && [ "$lzma" = no ] && [ "$name" != tree ] && continue
    nsis_script "$work/nsis-$kind-$name.nsi" "$work/nsis-$kind-$name.exe" "C:\\nsis-$kind-$name" "$work/$name" \
      "$compress" "SetDatablockOptimize off"
    makensis -V1 "$work/nsis-$kind-$name.nsi" >/dev/null
    echo "nsis-$kind-$name $(stat -c %s "$work/nsis-$kind-$name.exe") 0" >>"$work/sizes"
  done
done
sync

# The CPUs of this turn: empty for all, else taskset's prefix.
cpus=()
# One timed run: "seconds peak" into $work/times.
clean() {
  rm -rf "$drive_c/$1-$2" "$drive_c/copy-$2"
  if [ "${1%-each}" = ours ]; then
    forget_records "Peer $2" "${cpus[@]}"
  fi
}
measure() {
  local method=$1 name=$2 out dir=${1%-each}  # both of ours install into ours-NAME
  clean "$dir" "$name"
  case $method in
    ours*) out=$("${cpus[@]}" "$WINELOADER" "$timedrun" run "$(winpath "$work/$method-$name.exe")" "Welcome!" | tr -d '\r') ;;
    copy) out="$("${cpus[@]}" "$WINELOADER" "$copier" copy "$(winpath "$work/$name")" "C:\\copy-$name" | tr -d '\r' | cut -d' ' -f1) 0" ;;
    *) out=$("${cpus[@]}" "$WINELOADER" "$timedrun" run "$(winpath "$work/$method-$name.exe")" | tr -d '\r') ;;
  esac
  local installed
  installed=$(find "$drive_c/$dir-$name" -type f 2>/dev/null | wc -l)
  echo "$mode $method $name $out $installed" >>"$work/times"
  clean "$dir" "$name"  # the next runs find a registry of the usual size
}
for (( r = 0; r < runs; r++ )); do
  for mode in two one; do
    [ "$mode" = one ] && cpus=(taskset -c 0) || cpus=()
    # A server of this turn's CPUs, kept up through the turn.
    warm_server "$work/nsis-stored-${payloads[0]%% *}.exe" "${cpus[@]}"
    for p in "${payloads[@]}"; do
      read -r name _ <<<"$p"
      for m in $(methods_of "$name"); do measure "$m" "$name"; done
    done
  done
done
wineserver -k 2>/dev/null || true
rm -rf "$drive_c"/ours-* "$drive_c"/nsis-* "$drive_c"/copy-*

python3 - "$work/times" "$work/sizes" "$root/dist/win32" "${payloads[@]}" <<'PY'
import os, statistics, sys
times, sizes_file, win32 = sys.argv[1], sys.argv[2], sys.argv[3]
payloads = [p.split() for p in sys.argv[4:]]
rows, sizes = {}, {}
for line in open(times):
    mode, method, name, secs, peak, installed = line.split()
    rows.setdefault((mode, method, name), []).append((float(secs), int(peak), int(installed)))
for line in open(sizes_file):
    exe, size, pack = line.split()
    sizes[exe] = (int(size), float(pack))
order = ("ours", "ours-each", "nsis-stored", "nsis-lzma", "copy")
methods = [m for m in order if any(k[1] == m for k in rows)]
by_shape = {(int(f), int(s)): n for n, f, s in payloads if n != "tree"}
cell = lambda v: "%12.2f" % v if v is not None else "%12s" % "-"

def report(mode, title):
    med = lambda m, n: statistics.median(s for s, _, _ in rows[(mode, m, n)]) if (mode, m, n) in rows else None
    peak = lambda n: statistics.median(p for _, p, _ in rows[(mode, "ours", n)])
    print("%s: medians of %d runs, seconds of the whole process (all in this one run, taken in turns):"
          % (title, len(rows[(mode, "ours", payloads[0][0])])))
    print("%7s %9s " % ("files", "MB") + " ".join("%12s" % m for m in methods) + "  ours/stored  ours/lzma  ours peak WS MB")
    for name, files, size in payloads:
        files, size = int(files), int(size)
        label = "%7s %9s " % ("tree", "169 real") if name == "tree" else "%7d %9.1f " % (files, files * size / 1e6)
        ratio = lambda other: "%11.2f" % (med("ours", name) / med(other, name)) if med(other, name) else "%11s" % "-"
        print(label + " ".join(cell(med(m, name)) for m in methods) + "  " + ratio("nsis-stored") + ratio("nsis-lzma")
              + "  %15.1f" % (peak(name) / 2**20))
        for m in methods:
            # Ours installs the uninstaller mksetup adds beside the payload's files.
            if (mode, m, name) in rows and m != "copy" and files and any(i < files for _, _, i in rows[(mode, m, name)]):
                print("   (%s did not install every file of %s)" % (m, name))
    k1, k10 = by_shape[(1000, 10000)], by_shape[(10000, 10000)]
    per1, per10 = med("ours", k1) / 1000 * 1000, med("ours", k10) / 10000 * 1000
    print("ours, files of 10 KB: %.3f ms per file at 1,000, %.3f ms at 10,000: ratio %.2f (goal <= 1.2)"
          % (per1, per10, per10 / per1))
    few, many = by_shape[min(by_shape)], [n for n, f, s in payloads if int(f) == 10000][0]
    print("ours, peak working set: %.1f MB at 10,000 files, %.1f MB at 100: ratio %.2f (goal <= 1.5)"
          % (peak(many) / 2**20, peak(few) / 2**20, peak(many) / peak(few)))
    goals = []
    for name, limit in ((few, 1.3), (by_shape.get((1000, 100000)), 1.2), (many, 1.1)):
        if name and med("nsis-stored", name):
            goals.append(("%s files ours/NSIS stored" % dict((n, f) for n, f, s in payloads)[name],
                          med("ours", name) / med("nsis-stored", name), limit))
    if med("ours", "tree"):
        goals.append(("real tree install ours (solid)/NSIS solid LZMA", med("ours", "tree") / med("nsis-lzma", "tree"), 0.9))
        goals.append(("real tree install ours each file/NSIS solid LZMA", med("ours-each", "tree") / med("nsis-lzma", "tree"), 0.9))
    print("goals (%s):" % title)
    for what, value, limit in goals:
        print("  %-48s %6.2f (goal <= %.2f) %s" % (what, value, limit, "met" if value <= limit else "NOT met"))
    print()

report("two", "Two CPUs, as the machine runs programs")
report("one", "One CPU for every process of the prefix, Wine's server included")
if "ours-tree" in sizes:
    print("real tree installers (bytes, seconds to pack):")
    for exe, limit in (("ours-tree", 12e6), ("ours-each-tree", 18e6), ("nsis-lzma-tree", None), ("nsis-stored-tree", None)):
        if exe in sizes:
            size, pack = sizes[exe]
            goal = "" if limit is None else "  (goal <= %.1f MB%s, %s)" % (
                limit / 1e6, ", packing <= 30 s" if exe.startswith("ours") else "",
                "met" if size <= limit and pack <= 30 else "NOT met")
            print("  %-18s %11d %6.1f%s" % (exe, size, pack, goal))
for f, limit in (("setup.exe", 200 * 1024), ("unrar.dll", 320 * 1024)):
    path = os.path.join(win32, f)
    size = os.path.getsize(path) if os.path.exists(path) else 0
    print("i686 %-9s %8d bytes (goal <= %d)" % (f, size, limit))
PY
for p in "${payloads[@]}"; do read -r name _ <<<"$p"; rm -rf "${work:?}/$name"; done
