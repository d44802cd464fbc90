#!/bin/sh
# Runs a hashing tool that takes one file at a time over each file named after the tool's
# arguments, so that it prints one line per file in order: per_file.sh "TOOL ARGS" FILE...
tool=$1
shift
for file in "$@"; do
    $tool "$file" 2>/dev/null || exit 1
done
