#!/usr/bin/python3
"""Prints, one line per file, python hashlib's digest: hashlib_digest.py NAME LENGTH FILE...,
LENGTH being the output length of an extendable-output function (0 for the others)."""
import hashlib
import sys

name, length = sys.argv[1], int(sys.argv[2])
for file_name in sys.argv[3:]:
    digest = hashlib.new(name)
    with open(file_name, "rb") as stream:
        while chunk := stream.read(1 << 20):
            digest.update(chunk)
    print(digest.hexdigest(length) if length else digest.hexdigest())
