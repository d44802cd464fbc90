#!/usr/bin/env bash
# Every figure of the file reader in one go, as Markdown tables on standard output: the chunk
# sizes, each entry over a 1 GiB cached file against memory, all entries in one read, tolvek-cli
# beside the reference tools, and the window's UI thread and memory while it hashes. Each run
# is the best of several with the compared runs taking turns (the machine may be shared).
# Usage: bench/reader_figures.sh [ROUNDS] (default 3).
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}

cmake --build build --target tolvek-reader-bench tolvek-window-bench tolvek-cli >/dev/null
echo "## Chunk size and threads (file MB/s, ratio to memory)"
build/bench/tolvek-reader-bench chunks --rounds "$rounds"
echo "## Each entry: file against memory"
build/bench/tolvek-reader-bench entries --rounds "$rounds"
echo "## The list's first thirty entries in one read"
# shellcheck disable=SC2046
build/bench/tolvek-reader-bench together --rounds "$rounds" $(build/cli/tolvek-cli --list | head -30 | cut -f1)
echo "## Every entry in one read"
build/bench/tolvek-reader-bench together --rounds "$rounds"
echo "## tolvek-cli beside the reference tools, 1 GiB"
bench/compare_tools.sh --rounds "$rounds"
echo "## The window while it hashes"
sparse=/tmp/tolvek-bench-sparse-5g
[ -f "$sparse" ] || truncate -s 5G "$sparse"
for file in "${TOLVEK_BENCH_DIR:-/tmp/tolvek-bench}/big-1g" "$sparse"; do
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} build/bench/tolvek-window-bench "$file" sha1 \
        2>/dev/null | head -3
done
