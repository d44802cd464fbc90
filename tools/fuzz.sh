#!/usr/bin/env bash
# Runs the fuzz targets of a build configured with -DTOLVEK_FUZZ=ON (Clang):
#
#   tools/fuzz.sh BUILD [--runs N | --seconds S] [TARGET...]
#
# every target of tests/fuzz when none is named; by default each for ten minutes. A target
# starts from its seeds in tests/fuzz/corpus/TARGET and from what earlier runs found, kept in
# BUILD/fuzz-corpus/TARGET. An input that crashes, hangs, breaks a target's expectation or trips
# a sanitizer fails the run and is kept as BUILD/fuzz-crashes/TARGET-crash-... (or -timeout-,
# -leak-, -oom-); `BUILD/tests/fuzz/TARGET FILE` runs it again.
set -euo pipefail

source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: tools/fuzz.sh BUILD [--runs N | --seconds S] [TARGET...]}" && pwd)"
shift
limit=(-max_total_time=600)
case "${1:-}" in
  --runs) limit=(-runs="$2"); shift 2 ;;
  --seconds) limit=(-max_total_time="$2"); shift 2 ;;
esac
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for seeds in "$source_dir"/tests/fuzz/corpus/*/; do
    targets+=("$(basename "$seeds")")
  done
fi

status=0
for target in "${targets[@]}"; do
  program="$build/tests/fuzz/$target"
  found="$build/fuzz-corpus/$target"
  crashes="$build/fuzz-crashes"
  mkdir -p "$found" "$crashes"
  echo "== $target"
  # New inputs go to the first folder; the seeds in the source tree stay as they are.
  if ! "$program" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$crashes/$target-" "$found" "$source_dir/tests/fuzz/corpus/$target" \
       2> "$build/fuzz-$target.log"; then
    tail -n 60 "$build/fuzz-$target.log" >&2
    echo "$target failed; its input is kept in $crashes/" >&2
    status=1
  else
    grep -E '^(Done|#[0-9]+ *DONE)|stat::number_of_executed_units' "$build/fuzz-$target.log" || true
  fi
done
exit $status
