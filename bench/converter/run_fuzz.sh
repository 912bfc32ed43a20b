#!/usr/bin/env bash
# Fuzzes the converter's Convert with libFuzzer (ASan + UBSan, leak detection on), seeded with
# the RTF corpus. Usage: bench/converter/run_fuzz.sh [SECONDS]   (default 600)
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

seconds="${1:-600}"
build=build-fuzz
sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g -O1"
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTA_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j2 --target converter_fuzz

work="$build/fuzz-work"
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
cp ../shared/corpus/rtf/*.rtf "$work/corpus/"
cd "$work"
# One process, so that the run leaves the second core to the other builds on this machine.
../bench/converter/converter_fuzz corpus -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=16384 -detect_leaks=1 -artifact_prefix=artifacts/ -print_final_stats=1 2>&1 | tee fuzz.log | tail -40
echo "crash, leak, timeout and oom files (none expected):"
ls artifacts/
