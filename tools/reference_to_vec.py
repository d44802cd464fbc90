#!/usr/bin/env python3
"""Converts a reference vector list ("algorithm | input | digest | how checked") into the
project's .vec format: [section] sections with In (hex), optional Repeat, and Out (hex).

usage: reference_to_vec.py [--bytes-reversed] REFERENCE.txt [ALGORITHM=SECTION...] > NAME.vec
Only the named algorithms are converted when names are given, each into the section named after
its "=": the list entry's id ("MD5=md5"), or "engine ..." for a hash of the engine that no list
entry computes. --bytes-reversed reverses each digest's bytes.
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
    arguments = sys.argv[1:]
    reversed_bytes = arguments[:1] == ["--bytes-reversed"]
    if reversed_bytes:
        arguments = arguments[1:]
    source = arguments[0]
    wanted = dict(argument.split("=", 1) for argument in arguments[1:])
    print(f"# Converted from the reference list {source.split('/')[-1]} by tools/reference_to_vec.py"
          + (" with each digest's bytes reversed." if reversed_bytes else "."))
    sections = {}  # records by algorithm, in order of first appearance
    header_done = False
    for line in open(source, encoding="utf-8"):
        line = line.rstrip("\n")
        if not line.strip():
            continue
        if line.startswith("#"):
            if not header_done and not reversed_bytes:
                print(line)
            continue
        header_done = True
        algorithm, field, digest, checked = (part.strip() for part in line.split("|", 3))
        if wanted and algorithm not in wanted:
            continue
        algorithm = wanted.get(algorithm, algorithm)
        data, repeat = parse_input(field)
        if reversed_bytes:
            digest = bytes.fromhex(digest)[::-1].hex()
        record = [f"# {field}: {checked}", f"In = {data.hex()}"]
        if repeat != 1:
            record.append(f"Repeat = {repeat}")
        record.append(f"Out = {digest}")
        sections.setdefault(algorithm, []).append(record)
    for algorithm, records in sections.items():
        print(f"\n[{algorithm}]")
        for record in records:
            print("\n".join(record))

if __name__ == "__main__":
    main()
