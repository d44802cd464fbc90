#!/bin/sh
# Prints git's blob id of each file in the SHA-256 object format, one line per file: hash-object
# takes the format from a repository made for it.
repository=$(mktemp -d) || exit 1
trap 'rm -rf "$repository"' EXIT
git init -q --object-format=sha256 "$repository" &&
    git --git-dir="$repository/.git" hash-object --no-filters "$@"
