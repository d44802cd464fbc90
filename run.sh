#!/usr/bin/env bash
# Sets up, builds and opens TOLVEK's window, hashing FILE (optional) at start-up. Without a
# display it prints FILE's SHA-1 digest with tolvek-cli instead. Standard output carries only
# that digest line: the set-up and the build report on standard error.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-dependencies.sh >&2
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >&2

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (DISPLAY and WAYLAND_DISPLAY are empty): printing the SHA-1 digest with" \
       "tolvek-cli instead of opening the window." >&2
  if [ $# -eq 0 ]; then
    echo "usage: ./run.sh FILE" >&2
    exit 2
  fi
  # Both programs, so that `cmake --install build` works after either form.
  cmake --build build -j "$(nproc)" --target tolvek tolvek-cli >&2
  exec build/cli/tolvek-cli -a sha1 "$1"
fi

cmake --build build -j "$(nproc)" --target tolvek tolvek-cli >&2
exec build/app/qt/tolvek "$@"
