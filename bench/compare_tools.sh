#!/usr/bin/env bash
# Times tolvek-cli against the reference command-line tools over one 1 GiB file of random bytes
# held in the page cache, best of three runs each with ours and the tools taking turns, and
# prints MB/s and the ratio to the best tool per algorithm. Usage: bench/compare_tools.sh [ID...]
# (default: every id below). BLAKE3 is timed twice: on one thread against b3sum on one, and on
# every core against b3sum's default. BLAKE2sp, BLAKE2bp and KangarooTwelve have no peer tool
# here: they are timed against the sequential hash their design is to beat (BLAKE2s, BLAKE2b,
# SHA3-256 and SHAKE128), on one thread and on every core.
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
md4|openssl dgst -md4 $legacy;rhash --md4
md5|md5sum;openssl dgst -md5;rhash --md5
sha1|sha1sum;openssl dgst -sha1;rhash --sha1
sha256|sha256sum;openssl dgst -sha256;rhash --sha256
sha384|sha384sum;openssl dgst -sha384
sha512|sha512sum;openssl dgst -sha512
ripemd160|openssl dgst -ripemd160 $legacy;rhash --ripemd160
gost|rhash --gost94
crc32|rhash --crc32
snefru128|rhash --snefru128
snefru256|rhash --snefru256
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
crc64nvme|tests/oracle/crcmod_digest.py 0x1AD93D23594C93659 0xFFFFFFFFFFFFFFFF 0xFFFFFFFFFFFFFFFF
xxh32|xxhsum -H0
ed2k|rhash --ed2k
quickxor|rclone hashsum quickxor
sm3|openssl dgst -sm3
gost-cryptopro|rhash --gost94-cryptopro
streebog256|rhash --gost12-256
streebog512|rhash --gost12-512
blake2sp --threads 1|openssl dgst -blake2s256
blake2bp --threads 1|b2sum
blake2sp|openssl dgst -blake2s256
blake2bp|b2sum
shake128|openssl dgst -shake128
shake256|openssl dgst -shake256
k12 --threads 1|openssl dgst -sha3-256;openssl dgst -shake128
k12|openssl dgst -sha3-256;openssl dgst -shake128
dropbox|rclone hashsum dropbox
"

rounds=${TOLVEK_BENCH_ROUNDS:-3}

once() {  # wall-clock seconds of one run of "$@" "$file"
    local start end
    start=$(date +%s.%N)
    "$@" "$file" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v e="$end" -v s="$start" 'BEGIN { print e - s }'
}

rate() { awk -v b="$bytes" -v s="$1" 'BEGIN { printf "%.0f", b / s / 1e6 }'; }

echo "| id | ours MB/s | best tool | tool MB/s | ratio |"
echo "|---|---:|---|---:|---:|"
while IFS='|' read -r id tools; do
    [ -n "$id" ] || continue
    if [ $# -gt 0 ] && [[ " $* " != *" ${id%% *} "* ]]; then continue; fi
    IFS=';' read -ra commands <<<"build/cli/tolvek-cli -a $id;$tools"
    best=()
    for ((round = 0; round < rounds; round++)); do
        for index in "${!commands[@]}"; do
            # shellcheck disable=SC2086
            time=$(once ${commands[index]})
            if [ -z "${best[index]:-}" ] || awk -v a="$time" -v b="${best[index]}" 'BEGIN { exit !(a < b) }'; then
                best[index]=$time
            fi
        done
    done
    ours=${best[0]} best_tool="" best_time=""
    for ((index = 1; index < ${#commands[@]}; index++)); do
        if [ -z "$best_time" ] || awk -v a="${best[index]}" -v b="$best_time" 'BEGIN { exit !(a < b) }'; then
            best_time=${best[index]} best_tool=${commands[index]%% -provider*}
        fi
    done
    ratio=$(awk -v o="$ours" -v t="$best_time" 'BEGIN { printf "%.2f", t / o }')
    echo "| $id | $(rate "$ours") | ${best_tool%% 0x*} | $(rate "$best_time") | ${ratio}x |"
done <<<"$peers"
