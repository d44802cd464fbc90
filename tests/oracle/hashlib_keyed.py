#!/usr/bin/python3
"""Prints, one line per file, python's keyed digests:
hashlib_keyed.py hmac NAME KEYFILE FILE...         HMAC with hashlib's NAME
hashlib_keyed.py NAME BYTES KEYFILE FILE...        blake2b or blake2s, BYTES long, keyed
hashlib_keyed.py NAME BYTES - FILE...              shake_128, shake_256 or unkeyed BLAKE2"""
import hashlib
import hmac
import sys

mode, parameter, key_file = sys.argv[1:4]
key = b"" if key_file == "-" else open(key_file, "rb").read()


def start():
    if mode == "hmac":
        return hmac.new(key, digestmod=parameter)
    if mode.startswith("shake"):
        return hashlib.new(mode)
    return hashlib.new(mode, key=key, digest_size=int(parameter))


for file_name in sys.argv[4:]:
    digest = start()
    with open(file_name, "rb") as stream:
        while chunk := stream.read(1 << 20):
            digest.update(chunk)
    print(digest.hexdigest(int(parameter)) if mode.startswith("shake") else digest.hexdigest())
