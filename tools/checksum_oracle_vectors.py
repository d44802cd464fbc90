#!/usr/bin/python3
"""Prints long checksum vectors in the reference list format ("algorithm | input | digest |
how checked"), computed by third-party code: python's zlib and binascii and the crcmod package
(Debian python3-crcmod; run with the system python3). Inputs are long enough to reach every
folding width of the accelerated CRC paths, with lengths that leave each kind of remainder.

usage: /usr/bin/python3 tools/checksum_oracle_vectors.py > oracle.txt
       tools/reference_to_vec.py oracle.txt >> tests/vectors/checksums.vec
"""
import binascii
import zlib

import crcmod.predefined

INPUTS = [
    ("123456789", 8),  # 72 bytes
    ("123456789", 29),  # 261 bytes
    ("The quick brown fox jumps over the lazy dog", 1000),  # 43000 bytes
    ("a", 1000000),
]


def main():
    crc32 = crcmod.predefined.mkCrcFun("crc-32")
    xmodem = crcmod.predefined.mkCrcFun("xmodem")
    algorithms = [
        ("CRC-32", 8, zlib.crc32, "python zlib.crc32; crcmod crc-32"),
        ("CRC-32/BZIP2", 8, crcmod.predefined.mkCrcFun("crc-32-bzip2"), "crcmod crc-32-bzip2"),
        ("CRC-16/XMODEM", 4, xmodem, "crcmod xmodem; python binascii.crc_hqx"),
        ("CRC-16/ARC", 4, crcmod.predefined.mkCrcFun("crc-16"), "crcmod crc-16"),
        ("Adler-32", 8, zlib.adler32, "python zlib.adler32"),
    ]
    for name, digits, function, checked in algorithms:
        for text, repeat in INPUTS:
            data = text.encode("ascii") * repeat
            assert crc32(data) == zlib.crc32(data)
            assert xmodem(data) == binascii.crc_hqx(data, 0)
            print(f'{name} | "{text}" x {repeat} | {function(data):0{digits}x} | {checked}')

if __name__ == "__main__":
    main()
