#!/usr/bin/env python3
"""Converts the HAVAL reference list (algorithm "HAVAL-<bits>/<passes> ...") into the project's
.vec format: one [haval<bits>] section per output size, the pass count as "Passes = N" in each
record. Pass counts outside 3..5 are clamped by the engine, so for one input the 3-pass values
are repeated with Passes 0 and 2, and the 5-pass values with Passes 6 and -1 (4294967295 as the
engine reads it).

usage: haval_reference_to_vec.py REFERENCE.txt > tests/vectors/haval.vec
"""
import re
import sys

from reference_to_vec import parse_input

CLAMP_INPUT = '"abc"'
CLAMPED_PASSES = {3: [0, 2], 5: [6, -1]}


def main():
    source = sys.argv[1]
    print(f"# Converted from the reference list {source.split('/')[-1]} "
          "by tools/haval_reference_to_vec.py.")
    header_done = False
    sections = {}
    for line in open(source, encoding="utf-8"):
        line = line.rstrip("\n")
        if line.startswith("#"):
            if not header_done:
                print(line)
            continue
        if not line.strip():
            continue
        header_done = True
        algorithm, field, digest, checked = (part.strip() for part in line.split("|", 3))
        bits, passes = re.match(r"HAVAL-(\d+)/(\d)\b", algorithm).groups()
        records = sections.setdefault(bits, [])
        data, repeat = parse_input(field)
        records.append((field, checked, data, repeat, int(passes), digest))
        if field == CLAMP_INPUT:
            for clamped in CLAMPED_PASSES.get(int(passes), []):
                note = f"Passes {clamped} runs as {passes} passes: the {passes}-pass value"
                records.append((field, note, data, repeat, clamped, digest))
    for bits, records in sections.items():
        print(f"\n[haval{bits}]")
        for field, checked, data, repeat, passes, digest in records:
            print(f"# {field}: {checked}")
            print(f"In = {data.hex()}")
            if repeat != 1:
                print(f"Repeat = {repeat}")
            print(f"Passes = {passes}")
            print(f"Out = {digest}")


if __name__ == "__main__":
    main()
