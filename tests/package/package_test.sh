#!/usr/bin/env bash
# cpack -G DEB from this build into a temporary folder, then the package is checked as apt and
# software centres see it: its files and their owners and modes, a Depends line that names
# exactly the packages of the libraries the programs link, a changelog and an AppStream file of
# this version, the latter valid, and no lintian error.
# usage: package_test.sh BUILD_FOLDER SOURCE_FOLDER VERSION
source "$(dirname "$0")/../support/shell_test.sh"
build=$1
source=$2
version=$3

# A strict umask, so that the package's modes are seen not to depend on the builder's.
log=$scratch/cpack.log
(umask 077 && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$log" 2>&1) ||
  { cat "$log" >&2; fail "cpack"; }
deb=$scratch/tolvek_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$scratch")"
root=$scratch/root
dpkg-deb -x "$deb" "$root"

# Every file, owned by root; folders and programs 0755, everything else 0644.
dpkg-deb -c "$deb" | awk '{ sub(/^\./, "", $6); print $1, $2, $6 }' >"$scratch/entries"
awk '$1 !~ /^d/ { print $3 }' "$scratch/entries" | sort |
  diff -u "$source/tests/package/files.txt" - ||
  fail "the package's files differ from tests/package/files.txt"
awk '{ expected = $1 ~ /^d/ || $3 ~ "^/usr/bin/." ? "rwxr-xr-x" : "rw-r--r--" }
     $2 != "root/root" || substr($1, 2) != expected' "$scratch/entries" | grep . &&
  fail "owner or mode of the entries above"

# Depends: exactly the packages holding the libraries the programs link, each with a lowest
# version, as dpkg-shlibdeps writes them.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
linked=$(for program in "$root"/usr/bin/*; do
           readelf -d "$program" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'
         done | sort -u | while read -r library; do
           dpkg -S "*/$multiarch/$library" | cut -d: -f1
         done)
diff -u <(sort -u <<<"$linked") <(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | sort -u) ||
  fail "Depends names other packages than those of the linked libraries"
tr ',' '\n' <<<"$depends" | grep -v '(>= ' && fail "a Depends entry above has no lowest version"

# The changelog's newest entry is this version.
changelog=$root/usr/share/doc/tolvek/changelog.gz
changelog_version=$(zcat "$changelog" | dpkg-parsechangelog -l - -S Version)
[ "$changelog_version" = "$version" ] || fail "changelog names $changelog_version"

# The AppStream file: valid and rated, its newest release this version, its screenshots those of
# docs/screenshots. Without a content rating software centres hide a program from some users,
# but the validator only mentions it: here it is an error.
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net --override=content-rating-missing=error "$metainfo" ||
  fail "appstreamcli validate"
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "the newest AppStream release is $newest"
for image in $(sed -n 's:.*<image>.*/\([^/]*\)</image>.*:\1:p' "$metainfo"); do
  [ -f "$source/docs/screenshots/$image" ] || fail "screenshot $image is not in docs/screenshots"
done

lintian --fail-on error "$deb" || fail "lintian"
