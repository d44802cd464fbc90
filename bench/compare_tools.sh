#!/usr/bin/env bash
# Times tolvek-cli against the reference command-line tools over one 1 GiB file of random bytes
# held in the page cache, best of three runs each, and prints MB/s and the ratio to the best tool
# per algorithm. Usage: bench/compare_tools.sh [ID...] (default: every id below). BLAKE3 is timed
# twice: on one thread against b3sum on one, and on every core against b3sum's default.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --build build --target tolvek-cli >/dev/null
file=${TOLVEK_BENCH_FILE:-/tmp/tolvek-bench-1g}
[ -f "$file" ] || head -c 1073741824 /dev/urandom >"$file"
cat "$file" >/dev/null
bytes=$(stat -c %s "$file")
legacy="-provider legacy -provider default"

# id and any further tolvek-cli options | tool commands, separated by ";" (the file name is
# appended to each)
peers="
sha224|openssl dgst -sha224;sha224sum
sha512-256|openssl dgst -sha512-256
sha3-224|openssl dgst -sha3-224;rhash --sha3-224
sha3-256|openssl dgst -sha3-256;rhash --sha3-256
sha3-384|openssl dgst -sha3-384;rhash --sha3-384
sha3-512|openssl dgst -sha3-512;rhash --sha3-512
blake2b|b2sum;openssl dgst -blake2b512
blake2s|openssl dgst -blake2s256
blake3 --threads 1|b3sum --num-threads 1
blake3|b3sum
xxh64|xxhsum -H1
xxh3|xxhsum -H3
xxh128|xxhsum -H2
crc32c|rhash --crc32c
crc64|tests/oracle/crcmod_digest.py 0x142F0E1EBA9EA3693 0xFFFFFFFFFFFFFFFF 0xFFFFFFFFFFFFFFFF
whirlpool|openssl dgst -whirlpool $legacy;rhash --whirlpool
tiger|rhash --tiger
"

seconds() {  # best wall-clock time of three runs of "$@" "$file"
    local best=""
    for _ in 1 2 3; do
        local start end
        start=$(date +%s.%N)
        "$@" "$file" >/dev/null
        end=$(date +%s.%N)
        best=$(echo "$end $start $best" | awk '{t = $1 - $2; if ($3 == "" || t < $3) t = t; else t = $3; print t}')
    done
    echo "$best"
}

rate() { awk -v b="$bytes" -v s="$1" 'BEGIN { printf "%.0f", b / s / 1e6 }'; }

echo "| id | ours MB/s | best tool | tool MB/s | ratio |"
echo "|---|---:|---|---:|---:|"
while IFS='|' read -r id tools; do
    [ -n "$id" ] || continue
    if [ $# -gt 0 ] && [[ " $* " != *" ${id%% *} "* ]]; then continue; fi
    # shellcheck disable=SC2086
    ours=$(seconds build/cli/tolvek-cli -a $id)
    best_tool="" best_time=""
    IFS=';' read -ra commands <<<"$tools"
    for command in "${commands[@]}"; do
        # shellcheck disable=SC2086
        time=$(seconds $command)
        if [ -z "$best_time" ] || awk -v a="$time" -v b="$best_time" 'BEGIN { exit !(a < b) }'; then
            best_time=$time best_tool=${command%% -provider*}
        fi
    done
    ratio=$(awk -v o="$ours" -v t="$best_time" 'BEGIN { printf "%.2f", t / o }')
    echo "| $id | $(rate "$ours") | ${best_tool%% 0x*} | $(rate "$best_time") | ${ratio}x |"
done <<<"$peers"
