#!/usr/bin/env bash
# cmake --install into a fresh prefix gives the programs, the man page, and with the window its
# icon, the checksum list types and a .desktop file that validates and names only those types.
set -euo pipefail
build=$1
gui=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
"$prefix/bin/tolvek-cli" --version | grep -q '^tolvek-cli (TOLVEK) '
test -s "$prefix/share/man/man1/tolvek-cli.1"
[ "$gui" = ON ] || exit 0

test -x "$prefix/bin/tolvek"
test -s "$prefix/share/icons/hicolor/256x256/apps/tolvek.png"
test -s "$prefix/share/icons/hicolor/32x32/apps/tolvek.png"
desktop=$prefix/share/applications/tolvek.desktop
desktop-file-validate "$desktop"
types=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' ')
[ -n "$types" ]
for type in $types; do
  grep -q "<mime-type type=\"$type\">" "$prefix/share/mime/packages/tolvek-lists.xml" ||
    { echo "MimeType $type is not defined" >&2; exit 1; }
done
