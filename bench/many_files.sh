#!/usr/bin/env bash
# Times tolvek-cli against sha256sum and md5sum where lists are made and checked: a tree of
# 10 000 small files (100 B to 16 KiB, 50 folders) hashed with -r and checked with -c (also
# from a list whose name does not say the algorithm), and one 4 GiB file. Files are in the page cache; each figure is the best of ROUNDS runs with ours and
# the tool taking turns. Prints a Markdown table with the ratio tool time / our time (above 1:
# we are faster). Usage: bench/many_files.sh [ROUNDS] (default 5).
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-5}
cli=$PWD/build/cli/tolvek-cli
cmake --build build --target tolvek-cli >/dev/null

tree=${TOLVEK_BENCH_TREE:-/tmp/tolvek-bench-tree}
if [ ! -f "$tree/.made" ]; then
    rm -rf "$tree"
    python3 - "$tree" <<'EOF'
import os, random, sys
root = sys.argv[1]
random.seed(7)
for index in range(10000):
    folder = os.path.join(root, "d%02d" % (index % 50))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "f%05d.bin" % index), "wb") as file:
        file.write(random.randbytes(random.randint(100, 16384)))
open(os.path.join(root, ".made"), "w").close()
EOF
fi
big=${TOLVEK_BENCH_BIG:-/tmp/tolvek-bench-4g}
[ -f "$big" ] || head -c 4294967296 /dev/urandom >"$big"
cd "$tree"
find d* -type f | sort >names
for tool in sha256 md5; do xargs -a names "${tool}sum" >"${tool^^}SUMS"; done
# A name that says nothing: the digests' length alone tells md5 from the nine other entries of
# 16 bytes.
cp MD5SUMS lengths.txt
cat d*/* "$big" >/dev/null

best() {  # the best wall-clock seconds of `rounds` runs of "$@"
    local run start end fastest=
    for ((run = 0; run < rounds; run++)); do
        start=$(date +%s.%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s.%N)
        fastest=$(awk -v s="$start" -v e="$end" -v b="$fastest" \
            'BEGIN { t = e - s; print (b == "" || t < b) ? t : b }')
    done
    echo "$fastest"
}

echo "| run | tolvek-cli s | coreutils s | coreutils / tolvek-cli |"
echo "|---|---:|---:|---:|"
row() {  # label | our command | their command
    local label=$1 ours theirs
    IFS='|' read -r -a ourCommand <<<"$2"
    IFS='|' read -r -a theirCommand <<<"$3"
    ours=$(best "${ourCommand[@]}")
    theirs=$(best "${theirCommand[@]}")
    awk -v l="$label" -v o="$ours" -v t="$theirs" \
        'BEGIN { printf "| %s | %.2f | %.2f | %.2fx |\n", l, o, t, t / o }'
}
for tool in sha256 md5; do
    row "$tool, 10 000 files (-r; xargs ${tool}sum)" "$cli|-a|$tool|-r|$(echo d* | tr " " "|")" \
        "xargs|-a|names|${tool}sum"
    row "-c ${tool^^}SUMS" "$cli|-c|${tool^^}SUMS" "${tool}sum|-c|${tool^^}SUMS"
    row "$tool, one 4 GiB file" "$cli|-a|$tool|$big" "${tool}sum|$big"
done
row "-c lengths.txt (MD5SUMS by another name)" "$cli|-c|lengths.txt" "md5sum|-c|lengths.txt"
