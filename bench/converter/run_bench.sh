#!/usr/bin/env bash
# Converter throughput (MB of RTF per second) on the RTF corpus and on generated documents of
# 1, 4 and 16 MB, side by side with `unrtf --html` on the same inputs.
# Usage: bench/converter/run_bench.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" unrtf
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target converter_throughput corvanta-cli >/dev/null

tool=build/bench/converter/converter_throughput
cli=build/cli/corvanta-cli
data=build/bench/converter/data
mkdir -p "$data"
for mb in 1 4 16; do
  [ -f "$data/generated-$mb.rtf" ] || "$tool" --generate "$mb" "$data/generated-$mb.rtf"
done
corpus=(../shared/corpus/rtf/*.rtf)

# Seconds for COUNT runs of a command over the files, each run a new process.
seconds_for() {
  local count=$1; shift
  local start end
  start=$(date +%s.%N)
  for ((i = 0; i < count; i++)); do
    for f in "${files[@]}"; do "$@" "$f" >/dev/null 2>&1 || true; done
  done
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

mb_of() { du -cb "$@" | tail -1 | awk '{print $1 / 1048576}'; }

report() {
  local name=$1 count=$2
  local size ours cli_s theirs
  size=$(echo "$(mb_of "${files[@]}") * $count" | bc -l)
  ours=$("$tool" --repeat "$count" "${files[@]}" | awk '/^TOTAL/ {print $NF == "MB/s" ? $(NF-1) : $NF}')
  cli_s=$(seconds_for "$count" "$cli" convert)
  theirs=$(seconds_for "$count" unrtf --html)
  printf '%-14s %8.2f MB  converter in-process %8.2f MB/s | corvanta-cli convert %8.2f MB/s | unrtf --html %8.2f MB/s | ratio cli/unrtf %5.2f\n' \
    "$name" "$size" "$ours" "$(echo "$size / $cli_s" | bc -l)" "$(echo "$size / $theirs" | bc -l)" \
    "$(echo "$theirs / $cli_s" | bc -l)"
}

files=("${corpus[@]}"); report corpus 20
for mb in 1 4 16; do
  files=("$data/generated-$mb.rtf"); report "generated-$mb" 1
done
