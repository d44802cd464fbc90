#!/usr/bin/env bash
# ./run.sh FILE without a display prints the digest line alone on standard output, as sha1sum
# prints it; the set-up and build report go to standard error.
set -euo pipefail
source_dir=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
printf 'abc' > "$folder/abc.txt"

output=$(env -u DISPLAY -u WAYLAND_DISPLAY "$source_dir/run.sh" "$folder/abc.txt" 2>/dev/null)
expected=$(sha1sum "$folder/abc.txt")
if [ "$output" != "$expected" ]; then
  printf 'standard output:\n%s\nexpected:\n%s\n' "$output" "$expected" >&2
  exit 1
fi
