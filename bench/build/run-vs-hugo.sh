#!/usr/bin/env bash
# Builds the large project with Corvanta and the same 10,000 item texts as Markdown pages with
# Hugo, on this machine in one run, and prints both median times and their ratio.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/packages.sh
ensure_packages hugo bc
scripts/setup >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/bench/build_bench --database "$work/large.fdb" --hugo-site "$work/hugo"
corvanta=$(build/bench/build_bench --database "$work/large.fdb" --benchmark_format=json |
  python3 -c 'import json,sys; r=json.load(sys.stdin)["benchmarks"]; print(next(b["real_time"] for b in r if b["aggregate_name"]=="median"))')

times=()
for run in 1 2 3 4 5; do
  rm -rf "$work/public"
  start=$(date +%s.%N)
  hugo --quiet -s "$work/hugo" -d "$work/public" >/dev/null
  times+=("$(echo "$(date +%s.%N) - $start" | bc)")
done
pages=$(find "$work/public" -name '*.html' | wc -l)
hugo_ms=$(printf '%s\n' "${times[@]}" | python3 -c 'import sys,statistics; print(statistics.median(float(l)*1000 for l in sys.stdin))')

python3 - "$corvanta" "$hugo_ms" "$pages" <<'PY'
import sys
corvanta, hugo, pages = float(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3])
print(f"Corvanta load and build, large project: median {corvanta:.0f} ms")
print(f"Hugo {pages} pages of the same texts:      median {hugo:.0f} ms")
print(f"Corvanta / Hugo: {corvanta / hugo:.2f}")
PY
