#!/usr/bin/python3
"""Prints, one line per file, the CRC that crcmod computes with a CRC catalogue model's
parameters: crcmod_digest.py POLY INIT XOROUT FILE... with POLY including its top bit, INIT the
register's starting value and the model reflected (every CRC the tests compare this way is)."""
import sys

import crcmod

poly, init, xorout = (int(value, 0) for value in sys.argv[1:4])
width = poly.bit_length() - 1
for name in sys.argv[4:]:
    crc = crcmod.Crc(poly, initCrc=init ^ xorout, rev=True, xorOut=xorout)
    with open(name, "rb") as stream:
        while chunk := stream.read(1 << 20):
            crc.update(chunk)
    print(f"{crc.crcValue:0{width // 4}x}")
