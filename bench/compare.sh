#!/usr/bin/env bash
# Runs our benchmarks and the peers' in one go on this machine and prints the side-by-side
# table (ours, best peer, ratio). PEER_RESULTS=path/results.tsv reuses a peer run made
# moments before instead of running the peers again.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target tolvek-bench >/dev/null

peers=${PEER_RESULTS:-}
if [ -z "$peers" ]; then
  bash ../shared/peerbench/run_peers.sh >/dev/null
  peers=${PEERBENCH_DIR:-/tmp/peerbench}/results.tsv
fi
build/bench/tolvek-bench --benchmark_format=json --benchmark_min_time=0.3 \
  --benchmark_repetitions=3 >build/bench-results.json
python3 bench/compare.py build/bench-results.json "$peers"
