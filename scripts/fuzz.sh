#!/usr/bin/env bash
# Builds the libFuzzer targets with Debian's clang and runs each for a bounded
# time: ZX_FUZZ_SECONDS each (60 by default). Seeds: libarchive's RAR samples
# and the project's own inputs; what a run finds stays in build/fuzz/corpus
# and, for a crash or a hang, build/fuzz/findings. Non-zero when any target
# found one.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${ZX_FUZZ_SECONDS:-60}
build=$here/build/fuzz

"$here/scripts/deps.sh"
# clang and its runtime (libFuzzer, the sanitizers) come from Debian.
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
if ! command -v clang++ >/dev/null; then
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends clang >/dev/null
fi
rt=$(clang++ -print-resource-dir)/lib/linux/libclang_rt.fuzzer-$(uname -m).a
if [ ! -f "$rt" ]; then
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends \
    "libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev" >/dev/null
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -Wno-dev \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZX_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz_targets

# Seeds per target, gathered afresh into seeds/ (the corpus keeps what runs add).
seeds=$build/seeds
rm -rf "$seeds"
targets=(fuzz_rar_headers fuzz_entry_names fuzz_script_lists fuzz_script_file fuzz_option_lines fuzz_help_contents
         fuzz_rar_roundtrip)
for t in "${targets[@]}"; do mkdir -p "$seeds/$t"; done
samples=$here/build/src/libarchive/libarchive/test
for uu in "$samples"/test_read_format_rar*.rar.uu; do
  (cd "$seeds/fuzz_rar_headers" && uudecode -o "$(basename "${uu%.uu}")" "$uu" 2>/dev/null) || true
done
# The two archives that once made the walk loop for ever.
for hex in 526172211a070100000000000c0302efffffffffffffffff01 \
           526172211a070000007a00012900d7ffffff000000000200000000000000001d30010000000000ffffffff000000006e; do
  python3 -c 'import sys; sys.stdout.buffer.write(bytes.fromhex(sys.argv[1]))' "$hex" >"$seeds/fuzz_rar_headers/wrap-${hex:14:8}"
done
cp "$here"/demo/*.script "$seeds/fuzz_script_file/"
cp "$here"/demo/*.script "$seeds/fuzz_script_lists/"
printf 'Corvane Tabrel;Other Option\r\n' | cat - "$here/demo/payload/units/prod.inc" >"$seeds/fuzz_option_lines/prod.inc"
printf 'Corvane Tabrel Help=tabrel.hlp\r\n:Base delphi5.hlp\r\n:Title Delphi 5\r\n:Index Delphi =delphi5.hlp\r\n:Index VCL =vcl5.hlp\r\n:Link tools.hlp\r\n1 Contents\r\n' \
  >"$seeds/fuzz_help_contents/delphi5.cnt"
cp "$here"/demo/payload/*.pas "$here"/demo/payload/*.dpk "$seeds/fuzz_rar_roundtrip/"
printf '%s' 'units\prod.inc' >"$seeds/fuzz_entry_names/plain"
printf '%s' '..\a\CON.txt' >"$seeds/fuzz_entry_names/device"
printf '%s' 'C:\a.txt:s' >"$seeds/fuzz_entry_names/stream"

failed=0
summary=()
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  findings=$build/findings/$t
  mkdir -p "$corpus" "$findings"
  log=$build/$t.log
  echo "fuzz: $t for ${seconds}s"
  rc=0
  "$build/bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$seeds/$t" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $rc -ne 0 ]; then
    failed=1
    summary+=("$t: ${runs:-?} executions, FOUND: $(ls "$findings" | tr '\n' ' ')(see $log)")
  else
    summary+=("$t: ${runs:-?} executions, nothing found")
  fi
done
printf '%s\n' "${summary[@]}"
exit $failed
