#!/usr/bin/env python3
"""Writes a C++ header holding one constant table read from a reference table file
(whitespace-separated 0x-prefixed values, '#' comment lines; '# box N'-style lines split sections).

usage: reference_table_to_header.py TABLE.txt NAMESPACE NAME TYPE [ROWS] > HEADER.h
With ROWS the table is std::array<std::array<TYPE, N/ROWS>, ROWS>, one inner array per section;
otherwise a flat std::array<TYPE, N>.
"""
import sys


def read_sections(path):
    header, sections = [], [[]]
    for line in open(path, encoding="utf-8"):
        line = line.strip()
        if not line:
            continue
        if line.startswith("#"):
            if sections == [[]]:
                header.append(line[1:].strip())
            elif sections[-1]:
                sections.append([])
            continue
        sections[-1].extend(line.split())
    return header, [section for section in sections if section]


def main():
    path, namespace, name, value_type = sys.argv[1:5]
    rows = int(sys.argv[5]) if len(sys.argv) > 5 else None
    header, sections = read_sections(path)
    values = [value for section in sections for value in section]
    source = next((line for line in header if line.startswith("source:")), header[0])
    print(f"// {header[0]}")
    print(f"// {source}")
    print(f"// Generated from {path.split('/')[-1]} by tools/reference_table_to_header.py; do not edit.")
    print("#pragma once\n\n#include <array>\n#include <cstdint>\n")
    print(f"namespace {namespace} {{\n")
    print("// clang-format off")
    if rows:
        if len(sections) != rows or any(len(s) != len(values) // rows for s in sections):
            raise SystemExit(f"{path}: expected {rows} sections of equal size")
        width = len(values) // rows
        print(f"alignas(64) constexpr std::array<std::array<{value_type}, {width}>, {rows}> {name} = {{{{")
        for index, section in enumerate(sections):
            print(f"    {{{{  // {index}")
            for start in range(0, width, 8):
                print("        " + " ".join(v + "," for v in section[start:start + 8]))
            print("    }},")
        print("}};")
    else:
        print(f"alignas(64) constexpr std::array<{value_type}, {len(values)}> {name} = {{")
        for start in range(0, len(values), 8):
            print("    " + " ".join(v + "," for v in values[start:start + 8]))
        print("};")
    print("// clang-format on")
    print(f"\n}}  // namespace {namespace}")


if __name__ == "__main__":
    main()
