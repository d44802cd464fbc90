# Sourced by the tests written in bash: strict mode, `fail MESSAGE` to end the test, and
# $scratch, a temporary folder removed when the test ends.
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
