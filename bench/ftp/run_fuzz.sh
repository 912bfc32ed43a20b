#!/usr/bin/env bash
# Builds the parser fuzz target with clang (libFuzzer, AddressSanitizer, UndefinedBehavior-
# Sanitizer) in build-fuzz/ and runs it; first argument: seconds (default 600).
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/packages.sh
ensure_packages clang libclang-rt-14-dev
seconds="${1:-600}"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTA_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" >/dev/null
cmake --build build-fuzz -j2 --target ftp_fuzz_parsers
work="build-fuzz/ftp-fuzz"
mkdir -p "$work/corpus" "$work/artifacts"
cp -n bench/ftp/corpus/* "$work/corpus/"
build-fuzz/bench/ftp/ftp_fuzz_parsers -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus"
echo "artifacts (crashes, leaks, timeouts): $(ls "$work/artifacts" | wc -l)"
