"""The peer tools bench/compare_tools.sh times tolvek-cli against, by our entry id."""

LEGACY = ["-provider", "legacy", "-provider", "default"]

# id: the commands of the peers that compute it (the file names follow). Ids missing from
# `tolvek-cli --list` are skipped.
PEERS = {
    "md4": [["rhash", "--md4"], ["openssl", "dgst", "-md4", *LEGACY]],
    "md5": [["md5sum"], ["openssl", "dgst", "-md5"], ["rhash", "--md5"], ["7zz", "h", "-scrcMD5"]],
    "sha1": [["sha1sum"], ["openssl", "dgst", "-sha1"], ["rhash", "--sha1"],
             ["7zz", "h", "-scrcSHA1"]],
    "sha224": [["sha224sum"], ["openssl", "dgst", "-sha224"], ["rhash", "--sha224"]],
    "sha256": [["sha256sum"], ["openssl", "dgst", "-sha256"], ["rhash", "--sha256"],
               ["7zz", "h", "-scrcSHA256"]],
    "sha384": [["sha384sum"], ["openssl", "dgst", "-sha384"], ["rhash", "--sha384"],
               ["7zz", "h", "-scrcSHA384"]],
    "sha512": [["sha512sum"], ["openssl", "dgst", "-sha512"], ["rhash", "--sha512"],
               ["7zz", "h", "-scrcSHA512"]],
    "sha512-256": [["openssl", "dgst", "-sha512-256"]],
    "sha3-224": [["openssl", "dgst", "-sha3-224"], ["rhash", "--sha3-224"]],
    "sha3-256": [["openssl", "dgst", "-sha3-256"], ["rhash", "--sha3-256"],
                 ["7zz", "h", "-scrcSHA3-256"]],
    "sha3-384": [["openssl", "dgst", "-sha3-384"], ["rhash", "--sha3-384"]],
    "sha3-512": [["openssl", "dgst", "-sha3-512"], ["rhash", "--sha3-512"]],
    "ripemd160": [["openssl", "dgst", "-ripemd160", *LEGACY], ["rhash", "--ripemd160"]],
    "gost": [["rhash", "--gost94"]],
    "tiger": [["rhash", "--tiger"]],
    "whirlpool": [["rhash", "--whirlpool"], ["openssl", "dgst", "-whirlpool", *LEGACY]],
    "snefru128": [["rhash", "--snefru128"]],
    "snefru256": [["rhash", "--snefru256"]],
    "blake2b": [["b2sum"], ["openssl", "dgst", "-blake2b512"], ["rhash", "--blake2b"]],
    "blake2s": [["openssl", "dgst", "-blake2s256"], ["rhash", "--blake2s"]],
    "blake3": [["b3sum"]],
    "xxh64": [["xxhsum", "-H1"], ["7zz", "h", "-scrcXXH64"]],
    "xxh3": [["xxhsum", "-H3"]],
    "xxh128": [["xxhsum", "-H2"]],
    "crc32": [["rhash", "--crc32"], ["7zz", "h", "-scrcCRC32"]],
    "crc32c": [["rhash", "--crc32c"]],
    "crc64": [["7zz", "h", "-scrcCRC64"]],
    "xxh32": [["xxhsum", "-H0"]],
    "ed2k": [["rhash", "--ed2k"]],
    "quickxor": [["rclone", "hashsum", "quickxor"]],
    "sm3": [["openssl", "dgst", "-sm3"]],
    "gost-cryptopro": [["rhash", "--gost94-cryptopro"]],
    "streebog256": [["rhash", "--gost12-256"]],
    "streebog512": [["rhash", "--gost12-512"]],
    "shake128": [["openssl", "dgst", "-shake128", "-xoflen", "32"]],
    "shake256": [["openssl", "dgst", "-shake256", "-xoflen", "64"]],
    "dropbox": [["rclone", "hashsum", "dropbox"]],
    "cksum": [["cksum"]],
    "sum-bsd": [["sum", "-r"]],
    "sum-sysv": [["sum", "-s"]],
    "git-sha1": [["git", "hash-object"]],
}
# Ids whose tools print the checksum and a count in decimal at a line's start ("16556     1 f",
# as sum -r prints): those numbers are the digest compared.
PRINTED_NUMBERS = {"cksum", "sum-bsd", "sum-sysv"}
# Entries no tool computes, timed against the sequential hash their design is to beat: a
# yardstick, not a peer, so its digest differs.
YARDSTICKS = {
    "blake2sp": [["openssl", "dgst", "-blake2s256"]],
    "blake2bp": [["b2sum"]],
    "k12": [["openssl", "dgst", "-sha3-256"], ["openssl", "dgst", "-shake128"]],
}
# Under 300 MB/s on one core: timed over the 256 MiB file.
SLOW = {"gost", "gost-cryptopro", "snefru128", "snefru256", "whirlpool", "md2"}
# The peers that hash many files: one process per share of the files.
MANY_FILE_PEERS = {
    "md5": ["md5sum"], "sha1": ["sha1sum"], "sha256": ["sha256sum"], "sha512": ["sha512sum"],
    "sha3-256": ["rhash", "--sha3-256"], "blake2b": ["b2sum"], "blake3": ["b3sum"],
    "xxh3": ["xxhsum", "-H3"], "xxh64": ["xxhsum", "-H1"], "crc32": ["rhash", "--crc32"],
}
# How each peer checks a list; rhash is told the algorithm, else it tries every one of the
# digest's length.
CHECK_FLAG = {"b3sum": "--check", "blake3-without-avx512": "--check"}
# The peers' fastest commands for a first, uncached read.
UNCACHED = {"crc32": ["rhash", "--crc32"], "xxh3": ["xxhsum", "-H3"],
            "sha256": ["sha256sum"], "blake3": ["b3sum"]}
FAST = ["crc32", "crc32c", "crc64", "xxh64", "xxh3", "xxh128", "blake3"]
