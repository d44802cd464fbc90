#!/usr/bin/env python3
"""Prints one table of a reference data file (/work/shared/reference style: '#' comment lines,
whitespace-separated values) as a C++ `alignas(64) constexpr std::array` definition.

usage: reference_to_table.py FILE NAME TYPE [--section TEXT] [--per-line N]
  NAME     the C++ name, e.g. kTigerT1
  TYPE     the element type, e.g. std::uint64_t
  --section  take only the values after the first comment line that starts with '# TEXT'
             and before the next comment line (files that hold several tables)
  --per-line values per output line (default: as in the file)
Hex tokens ('0x...') are copied as written; decimal tokens are copied as numbers.
"""
import argparse


def read_rows(path, section):
    rows = []
    inside = section is None
    for line in open(path, encoding="utf-8"):
        line = line.strip()
        if not line:
            continue
        if line.startswith("#"):
            if section is not None:
                if inside and rows:
                    break
                inside = line[1:].strip().startswith(section)
            continue
        if inside:
            rows.append(line.split())
    if not rows:
        raise SystemExit(f"{path}: no values found for section {section!r}")
    return rows


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("name")
    parser.add_argument("type")
    parser.add_argument("--section")
    parser.add_argument("--per-line", type=int)
    args = parser.parse_args()

    rows = read_rows(args.file, args.section)
    if args.per_line:
        values = [value for row in rows for value in row]
        rows = [values[i:i + args.per_line] for i in range(0, len(values), args.per_line)]
    count = sum(len(row) for row in rows)
    width = max(len(value) for row in rows for value in row)
    print(f"alignas(64) constexpr std::array<{args.type}, {count}> {args.name} = {{{{")
    for row in rows:
        print("    " + " ".join(f"{value},".rjust(width + 1) for value in row))
    print("}};")


if __name__ == "__main__":
    main()
