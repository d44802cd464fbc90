#!/usr/bin/env bash
# Times tolvek-cli and the reference tools over one 1 GiB file in page cache, in the same run,
# and prints MB/s (10^6 bytes per second, best of three) and the ratio to the best tool.
# usage: bench/tools.sh [ID...]   (default: every id below)
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target tolvek-cli >/dev/null

file=${BENCH_FILE:-/tmp/tolvek-bench-1g}
size=$((1 << 30))
if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" -ne "$size" ]; then
  head -c "$size" /dev/urandom >"$file"
fi
cat "$file" >/dev/null  # into the page cache

# The tools per entry id, "|"-separated.
declare -A tools=(
  [blake2b]="b2sum|openssl dgst -blake2b512"
  [blake2s]="openssl dgst -blake2s256"
  [blake3]="b3sum --num-threads 1|b3sum"
  [xxh64]="xxhsum -H1"
  [xxh3]="xxhsum -H3"
  [xxh128]="xxhsum -H2"
)

seconds() {
  local best=""
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" "$file" >/dev/null
    end=$(date +%s.%N)
    best=$(python3 -c "print(min(float('${best:-1e9}'), $end - $start))")
  done
  echo "$best"
}

rate() { python3 -c "print(f'{$size / $1 / 1e6:.0f}')"; }

echo "| id | tolvek-cli MB/s | tool | tool MB/s | ratio |"
echo "|---|---:|---|---:|---:|"
for id in "${@:-blake2b blake2s blake3 xxh64 xxh3 xxh128}"; do
  for one in $id; do
    ours=$(seconds build/cli/tolvek-cli -a "$one")
    IFS='|' read -ra list <<<"${tools[$one]}"
    for tool in "${list[@]}"; do
      # shellcheck disable=SC2086
      theirs=$(seconds $tool)
      ratio=$(python3 -c "print(f'{$theirs / $ours:.2f}x')")
      echo "| $one | $(rate "$ours") | $tool | $(rate "$theirs") | $ratio |"
    done
  done
done
