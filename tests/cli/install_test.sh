#!/usr/bin/env bash
# cmake --install into a fresh prefix gives the programs, saying the project's version, and
# their man pages, which name that version and render without a warning; with the window also
# its icons, the checksum list types, desktop entries that validate (the files window's opening
# only those types) and the file managers' menu entries, each running an installed program.
# usage: install_test.sh BUILD_FOLDER GUI(ON|OFF) VERSION APPLICATION_ID
source "$(dirname "$0")/../support/shell_test.sh"
build=$1
gui=$2
version=$3
app_id=$4
prefix=$scratch

cmake --install "$build" --prefix "$prefix" >/dev/null
[ "$("$prefix/bin/tolvek-cli" --version)" = "tolvek-cli (TOLVEK) $version" ] ||
  fail "tolvek-cli --version does not say $version"
programs=tolvek-cli
[ "$gui" = OFF ] || programs="tolvek-cli tolvek tolvek-files"
for program in $programs; do
  page=$prefix/share/man/man1/$program.1.gz
  zcat "$page" | head -1 | grep -q "\"TOLVEK $version\"" || fail "$page does not name $version"
  warnings=$(man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
done
[ "$gui" = ON ] || exit 0

test -x "$prefix/bin/tolvek"
test -s "$prefix/share/icons/hicolor/256x256/apps/tolvek.png"
test -s "$prefix/share/icons/hicolor/32x32/apps/tolvek.png"
desktop-file-validate "$prefix/share/applications/$app_id.desktop"
desktop=$prefix/share/applications/$app_id-files.desktop
desktop-file-validate "$desktop"
types=$(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' ')
[ -n "$types" ]
for type in $types; do
  grep -q "<mime-type type=\"$type\">" "$prefix/share/mime/packages/tolvek-lists.xml" ||
    fail "MimeType $type is not defined"
done
for shim in kio/servicemenus/tolvek-files-{compute,check}.desktop \
            nemo/actions/tolvek-files-{compute,check}.nemo_action \
            file-manager/actions/tolvek-files-{compute,check}.desktop; do
  grep -qx "Exec=tolvek-files %F" "$prefix/share/$shim" || fail "$shim runs no tolvek-files"
done
python3 -m py_compile "$prefix/share/nautilus-python/extensions/tolvek-files.py"
