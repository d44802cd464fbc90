#!/usr/bin/env bash
# Sets up, builds and runs TOLVEK on FILE (optional).
set -euo pipefail
cd "$(dirname "$0")"

tools/install-dependencies.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target tolvek-cli

if [ $# -eq 0 ]; then
  echo "usage: ./run.sh FILE" >&2
  exit 2
fi
exec build/cli/tolvek-cli -a sha1 "$1"
