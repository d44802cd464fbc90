#!/usr/bin/env bash
# Times tolvek-cli end to end against every installed peer tool (coreutils, rhash, b3sum, xxhsum,
# openssl, 7-Zip's 7zz) and prints the Markdown tables bench/README.md shows, headed by the date,
# the processor and its flags:
#   - one file of 1 GiB (256 MiB for the slow algorithms) in the page cache, once with every CPU
#     and once pinned to CPU 0 (timed by the processor time it took, which other work on a
#     shared machine does not inflate);
#   - start-up: a 3-byte file;
#   - 10 000 small files (100 B to 16 KiB) with -r and -c, and 1 000 files of 1 MiB with -r,
#     against `xargs -P <CPUs>` of the peer, its files shared evenly between the processes; under
#     each table the floor of those files (build/bench/tolvek-reader-bench files: the least any
#     tool must do per file, on every CPU) and the best ratio any tool could reach against each
#     peer;
#   - a first read of a 256 MiB file that is not in the page cache;
#   - the page cache's own ceiling: dd with 1 MiB blocks, and pread on every CPU at once; and for
#     the fast algorithms the most a core that copies and then hashes can reach, from their speed
#     in memory (build/bench/tolvek-bench).
# Each figure is the best of ROUNDS runs with the compared commands taking turns in one loop,
# since the machine may be shared; a peer whose digest differs from ours is left out. Ratio =
# peer time / our time (above 1: we are faster). Ours is tolvek-cli with its AVX-512 paths masked
# (build/bench/tolvek-cli-without-avx512), as processors without AVX-512 run it, except in rows
# marked "AVX-512", which run build/cli/tolvek-cli against a peer that uses AVX-512 here. Where
# cargo is installed, BLAKE3's rows without AVX-512 (one file and many) meet the BLAKE3 crate
# built without it (bench/peers/blake3-without-avx512, from Debian's packaged crates).
#
# Usage: bench/compare_tools.sh [--rounds N] [--sections a,b,...] [ID...]
#   sections: file, one-cpu, startup, small, mib, uncached, ceiling (default: all)
#   TOLVEK_CLI / TOLVEK_CLI_ALL: the two binaries; TOLVEK_BENCH_DIR: where the files are made
#   (default /tmp/tolvek-bench, about 3.5 GB).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${TOLVEK_CLI:-}" ]; then
    cmake --build build --target tolvek-cli tolvek-cli-without-avx512 tolvek-reader-bench \
        tolvek-bench >/dev/null
fi
if [ -z "${TOLVEK_PEER_BLAKE3_WITHOUT_AVX512:-}" ] && command -v cargo >/dev/null; then
    TOLVEK_PEER_BLAKE3_WITHOUT_AVX512=$(bench/peers/blake3-without-avx512/build.sh) || true
    export TOLVEK_PEER_BLAKE3_WITHOUT_AVX512
fi
exec python3 bench/compare_tools.py "$@"
