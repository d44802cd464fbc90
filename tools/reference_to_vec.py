#!/usr/bin/env python3
"""Converts a reference vector list ("algorithm | input | digest | how checked") into the
project's .vec format: [Algorithm] sections with In (hex), optional Repeat, and Out (hex).

usage: reference_to_vec.py REFERENCE.txt [ALGORITHM...] > tests/vectors/NAME.vec
Only the named algorithms are converted when names are given.
"""
import re
import sys


def parse_input(field):
    match = re.fullmatch(r'"((?:[^"\\]|\\.)*)"(?:\s*x\s*(\d+))?', field.strip())
    if not match:
        raise ValueError(f"unreadable input: {field!r}")
    text = match.group(1).encode("latin-1").decode("unicode_escape").encode("latin-1")
    return text, int(match.group(2) or 1)


def main():
    source, wanted = sys.argv[1], set(sys.argv[2:])
    print(f"# Converted from the reference list {source.split('/')[-1]} by tools/reference_to_vec.py.")
    section = None
    for line in open(source, encoding="utf-8"):
        line = line.rstrip("\n")
        if not line.strip():
            continue
        if line.startswith("#"):
            if section is None:
                print(line)
            continue
        algorithm, field, digest, checked = (part.strip() for part in line.split("|", 3))
        if wanted and algorithm not in wanted:
            continue
        data, repeat = parse_input(field)
        if algorithm != section:
            print(f"\n[{algorithm}]")
            section = algorithm
        print(f"# {field}: {checked}")
        print(f"In = {data.hex()}")
        if repeat != 1:
            print(f"Repeat = {repeat}")
        print(f"Out = {digest}")


if __name__ == "__main__":
    main()
