#!/usr/bin/python3
"""Writes the vector files of the hashes other programs hand users (CRC-64/NVME, Streebog,
BLAKE2sp/bp, KT128, XXH32, ED2K, QuickXorHash, SM3, GOST R 34.11-94 CryptoPro, SHAKE, the cloud
content hash, cksum, sum, git blob ids) and of the keyed and any-length forms, from published
examples and from third-party programs only: the published values are written here with their
source, everything else is what the named program prints. Run with the system python3 and the
tools of tools/install-dependencies.sh plus rclone (Debian rclone) installed:

usage: /usr/bin/python3 tools/third_party_vectors.py OUTPUT_FOLDER   (tests/vectors)
"""
import hashlib
import os
import subprocess
import sys
import tempfile

import crcmod

REFERENCE = os.environ.get("TOLVEK_REFERENCE", "/work/shared/reference/vectors")


def pattern(length, modulus=251):
    return bytes(index % modulus for index in range(length))


def xxhash_sanity(length):
    """xxHash's sanity buffer: byte i is the top byte of 2654435761 * 11400714785074694797^i."""
    generator = 2654435761
    data = bytearray()
    for _ in range(length):
        data.append(generator >> 56)
        generator = (generator * 11400714785074694797) % (1 << 64)
    return bytes(data)


def run(command, data, stdin=b""):
    """The first word of `command`'s output for a file holding `data`."""
    with tempfile.NamedTemporaryFile() as file:
        file.write(data)
        file.flush()
        output = subprocess.run(command + [file.name], input=stdin, check=True,
                                capture_output=True).stdout
    return output.split()[0].decode()


def rhash(name):
    return lambda data: run(["rhash", f"--printf=%{{{name}}}\\n"], data)


def rclone(name):
    return lambda data: run(["rclone", "hashsum", name], data)


def crc64_nvme(data):
    crc = crcmod.Crc(0x1AD93D23594C93659, initCrc=0, rev=True, xorOut=0xFFFFFFFFFFFFFFFF)
    crc.update(data)
    return f"{crc.crcValue:016x}"


def coreutils_sum(option, digits):
    return lambda data: f"{int(run(['sum', option], data)):0{digits}x}"


def git_blob(object_format):
    folder = tempfile.mkdtemp()
    subprocess.run(["git", "init", "-q", f"--object-format={object_format}", folder], check=True)
    return lambda data: run(["git", f"--git-dir={folder}/.git", "hash-object"], data)


class VecFile:
    def __init__(self, path, header):
        self.stream = open(path, "w", encoding="utf-8")
        for line in header.strip().splitlines():
            self.stream.write(f"# {line}".rstrip() + "\n")

    def section(self, name):
        self.stream.write(f"\n[{name}]\n")

    def vector(self, data, out, comment=None, fields=()):
        if comment:
            self.stream.write(f"# {comment}\n")
        for key, value in fields:
            self.stream.write(f"{key} = {value}\n")
        if len(data) > 600:
            # Long inputs as the 251-byte pattern cycled to their length.
            assert data == pattern(len(data))
            self.stream.write(f"In = {pattern(251).hex()}\nLength = {len(data)}\n")
        else:
            self.stream.write(f"In = {data.hex()}\n")
        self.stream.write(f"Out = {out}\n")


def pattern_vectors(vec, function, lengths):
    for length in lengths:
        vec.vector(pattern(length), function(pattern(length)), f"{length} bytes of i mod 251")


def edges(*blocks):
    lengths = {0, 1, 3}
    for block in blocks:
        lengths |= {block - 1, block, block + 1, 2 * block + 1}
    return sorted(lengths)


def checksum_like(folder):
    vec = VecFile(f"{folder}/crc64nvme_xxh32.vec", """
CRC-64/NVME: the CRC catalogue's check value over "123456789", then python3-crcmod 1.7 with the
catalogue's parameters. XXH32 with seed 0 over the first N bytes of xxHash's sanity buffer (byte
i = top byte of 2654435761 * 11400714785074694797^i mod 2^64), as xxhsum 0.8.1 -H0 prints it.""")
    vec.section("crc64nvme")
    vec.vector(b"123456789", "ae8b14860a799888", "the catalogue's check value")
    pattern_vectors(vec, crc64_nvme, edges(8, 64, 256) + [1000, 4099])
    vec.section("xxh32")
    for length in [0, 1, 4, 15, 16, 17, 31, 32, 33, 100, 222]:
        data = xxhash_sanity(length)
        vec.vector(data, run(["xxhsum", "-H0"], data), f"sanity buffer, {length} bytes")


def national(folder):
    vec = VecFile(f"{folder}/streebog_sm3_gost.vec", """
Streebog (GOST R 34.11-2012): RFC 6986 section 10's messages M1 and M2 with the digests written
there (bytes reversed, as tools print them), then rhash 1.4.3 --gost12-256/--gost12-512.
SM3: GB/T 32905-2016 appendix A's two examples, then openssl 3.0 dgst -sm3.
GOST R 34.11-94 with the CryptoPro S-boxes: the published digests of "" and "abc", then
rhash 1.4.3 --gost94-cryptopro.""")
    m1 = b"012345678901234567890123456789012345678901234567890123456789012"
    m2 = "Се ветри, Стрибожи внуци, веютъ с моря стрелами на храбрыя плъкы Игоревы".encode("cp1251")
    published = {
        "streebog256": ["9d151eefd8590b89daa6ba6cb74af9275dd051026bb149a452fd84e5e57b5500",
                        "9dd2fe4e90409e5da87f53976d7405b0c0cac628fc669a741d50063c557e8f50"],
        "streebog512": ["1b54d01a4af5b9d5cc3d86d68d285462b19abc2475222f35c085122be4ba1ffa"
                        "00ad30f8767b3a82384c6574f024c311e2a481332b08ef7f41797891c1646f48",
                        "1e88e62226bfca6f9994f1f2d51569e0daf8475a3b0fe61a5300eee46d961376"
                        "035fe83549ada2b8620fcd7c496ce5b33f0cb9dddc2b6460143b03dabac9fb28"],
    }
    for entry, oracle in [("streebog256", "gost12-256"), ("streebog512", "gost12-512")]:
        vec.section(entry)
        for name, message, digest in zip(["M1", "M2"], [m1, m2], published[entry]):
            assert rhash(oracle)(message) == digest
            vec.vector(message, digest, f"RFC 6986 {name}")
        pattern_vectors(vec, rhash(oracle), edges(64) + [1000])
    vec.section("sm3")
    for message, digest in [
            (b"abc", "66c7f0f462eeedd9d1f2d46bdc10e4e24167c4875cf2f7a2297da02b8f4ba8e0"),
            (b"abcd" * 16, "debe9ff92275b8a138604889c18e5a4d6fdb70e5387e5765293dcba39c0c5732")]:
        assert run(["openssl", "dgst", "-sm3", "-r"], message) == digest
        vec.vector(message, digest, "GB/T 32905-2016 appendix A")
    pattern_vectors(vec, lambda data: run(["openssl", "dgst", "-sm3", "-r"], data),
                    edges(64) + [1000])
    vec.section("gost-cryptopro")
    for message, digest in [
            (b"", "981e5f3ca30c841487830f84fb433e13ac1101569b9c13584ac483234cd656c0"),
            (b"abc", "b285056dbf18d7392d7677369524dd14747459ed8143997e163b2986f92fd42c")]:
        assert rhash("gost94-cryptopro")(message) == digest
        vec.vector(message, digest, "published CryptoPro-parameter digest")
    pattern_vectors(vec, rhash("gost94-cryptopro"), edges(32) + [1000])


def pieces(folder):
    vec = VecFile(f"{folder}/ed2k_quickxor_dropbox.vec", """
ED2K: rhash 1.4.3 --ed2k (a file of whole 9500 KiB chunks ends with the MD4 of an empty chunk).
QuickXorHash and the cloud content hash: rclone 1.60 hashsum quickxor / dropbox; the content
hash of nothing is the SHA-256 of nothing, as the drive's API documentation says.""")
    chunk = 9500 * 1024
    vec.section("ed2k")
    pattern_vectors(vec, rhash("ed2k"), [0, 3, 1000, chunk - 1, chunk, chunk + 1])
    vec.section("quickxor")
    pattern_vectors(vec, rclone("quickxor"), edges(20, 160) + [1000, 4099])
    vec.section("dropbox")
    block = 4 * 1024 * 1024
    pattern_vectors(vec, rclone("dropbox"), [0, 3, 1000, block - 1, block, block + 1])


def sponges(folder):
    vec = VecFile(f"{folder}/shake_k12.vec", """
SHAKE128 (32 bytes) and SHAKE256 (64 bytes): NIST's digests of the empty message, then python
3.11 hashlib.shake_128/shake_256; the sections "shake128 xof" and "shake256 xof" hold other
output lengths (Out's length).
KT128: RFC 9861 section 5 (the designers' KangarooTwelve.txt, copied in
/work/shared/reference/vectors/kangarootwelve.txt); "k12 xof" holds those with a customization
string (Custom) or another output length; of a 10032-byte output only the last 32 bytes are
published (OutputTail).""")
    for bits, function, rate in [(128, hashlib.shake_128, 168), (256, hashlib.shake_256, 136)]:
        size = bits // 4
        vec.section(f"shake{bits}")
        pattern_vectors(vec, lambda data: function(data).hexdigest(size), edges(rate) + [1000])
        vec.section(f"shake{bits} xof")
        for length in [0, 3, rate + 1]:
            for output in [1, 16, rate, rate + 1, 2 * rate + 5]:
                vec.vector(pattern(length), function(pattern(length)).hexdigest(output),
                           f"{length} bytes of i mod 251, {output} output bytes")
    plain, extended = read_k12()
    vec.section("k12")
    for message, digest, comment in plain:
        vec.vector(message, digest, comment)
    vec.section("k12 xof")
    for message, custom, digest, tail, comment in extended:
        fields = [("Custom", custom.hex())]
        if tail:
            fields.append(("OutputLength", str(tail)))
        vec.vector(message, digest, comment, fields)


def read_k12():
    """The RFC's vectors: (message, digest, comment) of the plain ones, (message, custom,
    digest, output length when only a tail is given, comment) of the others."""
    plain, extended = [], []
    lines = [line.strip() for line in open(f"{REFERENCE}/kangarootwelve.txt", encoding="utf-8")
             if line.strip() and not line.startswith("#")]
    for title, digest in zip(lines[::2], lines[1::2]):
        digest = digest.replace(" ", "").lower()
        spec = title[title.index("(") + 1:title.rindex(")")]
        message_part, custom_part, length_part = [part.strip() for part in spec.split(",")]
        message = parse_k12_input(message_part.split("=", 1)[1])
        custom = parse_k12_input(custom_part.split("=", 1)[1])
        output = int(length_part.split()[0])
        comment = "RFC 9861: " + title.rstrip(":")
        if custom or output != 32 or "last" in title:
            extended.append((message, custom, digest, output if "last" in title else 0, comment))
        else:
            plain.append((message, digest, comment))
    return plain, extended


def parse_k12_input(text):
    text = text.strip()
    if text == "empty":
        return b""
    if text.startswith("pattern"):
        base, power = text.split(" for ")[1].split(" bytes")[0].split("^")
        return pattern(int(base) ** int(power))
    count = int(text.split(" times")[0])
    return bytes([0xFF]) * count


def blake(folder):
    vec = VecFile(f"{folder}/blake2_parallel_keyed.vec", """
BLAKE2sp and BLAKE2bp, unkeyed and keyed (key 00 01 02 ... of 32 or 64 bytes), over the first N
bytes of 00 01 02 ...: the BLAKE2 designers' blake2-kat.json (copied in
/work/shared/reference/vectors/blake2sp_bp.txt).
BLAKE2b and BLAKE2s keyed and of other lengths (Key, Out's length): python 3.11 hashlib.blake2b
and blake2s (b2sum -l computes the unkeyed ones too).
BLAKE3 keyed (Key), derive-key (Context, as hex) and of other lengths (Out's length): b3sum
1.3 --keyed, --derive-key and --length.""")
    kat = {}
    for line in open(f"{REFERENCE}/blake2sp_bp.txt", encoding="utf-8"):
        if line.startswith("#"):
            continue
        name, length, key, digest = [part.strip() for part in line.split("|")]
        kat.setdefault((name.lower(), key != "none"), []).append((int(length), digest))
    for name, key_size in [("blake2sp", 32), ("blake2bp", 64)]:
        for keyed in [False, True]:
            vec.section(f"{name} keyed" if keyed else name)
            for length, digest in kat[(name, keyed)]:
                if length in edges(32, 64, 128, 256, 512) or length % 37 == 0:
                    fields = [("Key", bytes(range(key_size)).hex())] if keyed else []
                    vec.vector(bytes(range(length)), digest, f"blake2-kat.json, {length} bytes",
                               fields)
    for name, function, block in [("blake2b", hashlib.blake2b, 128),
                                  ("blake2s", hashlib.blake2s, 64)]:
        vec.section(f"{name} keyed")
        top = function.MAX_DIGEST_SIZE
        for key_size, output in [(0, 1), (0, 20), (0, top - 1), (1, top), (top, top),
                                 (top, 16), (7, 33 % top or 1)]:
            key = pattern(key_size)[::-1]
            for length in [0, 3, block, block + 1]:
                digest = function(pattern(length), key=key, digest_size=output).hexdigest()
                vec.vector(pattern(length), digest,
                           f"{length} bytes, {key_size}-byte key, {output} output bytes",
                           [("Key", key.hex())])
    vec.section("blake3 keyed")
    key = bytes(range(100, 132))
    for length in [0, 1, 1024, 1025, 5000]:
        digest = run(["b3sum", "--keyed", "--no-names"], pattern(length), stdin=key)
        vec.vector(pattern(length), digest, f"{length} bytes, key 64 65 ... 83",
                   [("Key", key.hex())])
    vec.section("blake3 derive-key")
    context = b"tolvek 2026-12-07 test vectors: derive-key"
    for length in [0, 1, 1024, 1025, 5000]:
        digest = run(["b3sum", "--no-names", "--derive-key", context.decode()],
                     pattern(length))
        vec.vector(pattern(length), digest, f"{length} bytes", [("Context", context.hex())])
    vec.section("blake3 xof")
    for length in [0, 1, 1025, 5000]:
        for output in [1, 31, 33, 64, 65, 200]:
            digest = run(["b3sum", "--no-names", f"--length={output}"], pattern(length))
            vec.vector(pattern(length), digest, f"{length} bytes, {output} output bytes")


def identities(folder):
    vec = VecFile(f"{folder}/cksum_sum_git.vec", """
The POSIX cksum CRC (as 8 hex digits) and the BSD and System V sums (as 4 hex digits): GNU
coreutils 9.1 cksum, sum -r and sum -s, whose decimal output is converted here. Git blob ids of
the SHA-1 and SHA-256 object formats: git 2.39 hash-object.""")
    cksum = lambda data: f"{int(run(['cksum'], data)):08x}"
    for name, function in [("cksum", cksum), ("sum-bsd", coreutils_sum("-r", 4)),
                           ("sum-sysv", coreutils_sum("-s", 4)),
                           ("git-sha1", git_blob("sha1")), ("git-sha256", git_blob("sha256"))]:
        vec.section(f"engine {name}")
        pattern_vectors(vec, function, [0, 1, 3, 7, 8, 9, 63, 64, 65, 255, 256, 257, 1000, 4099])


def main():
    folder = sys.argv[1]
    for write in [checksum_like, national, pieces, sponges, blake, identities]:
        write(folder)


if __name__ == "__main__":
    main()
