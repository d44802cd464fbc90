#!/usr/bin/env python3
"""Puts our throughput next to the best peer's, from one run on one machine.

usage: compare.py OURS.json PEERS.tsv
OURS.json is tolvek-bench's --benchmark_format=json output; PEERS.tsv the results.tsv that
peerbench/run_peers.sh writes (its RESULT lines: in-memory library runs). Our figure for an
algorithm is its public entry point ("engine/<label>/<bytes>" or "framework/<label>/<bytes>")
over the 1 MiB message; per-path benchmarks are listed separately.
"""
import json
import sys
from collections import defaultdict

# Peer table keys by the labels our benchmarks use.
KEYS = {
    "MD2": "MD2", "MD4": "MD4", "MD5": "MD5", "SHA-1": "SHA1", "SHA-256": "SHA256",
    "SHA-384": "SHA384", "SHA-512": "SHA512", "HAVAL-256/3": "HAVAL256_3",
    "HAVAL-256/5": "HAVAL256_5", "GOST": "GOST94", "Tiger/192": "TIGER192",
    "RIPEMD-128": "RMD128", "RIPEMD-160": "RMD160", "RIPEMD-256": "RMD256",
    "RIPEMD-320": "RMD320", "CRC-32": "CRC32", "CRC-32/BZIP2": "CRC32_BZIP2",
    "Adler-32": "ADLER32", "CRC-16/XMODEM": "CRC16_XMODEM", "CRC-16/ARC": "CRC16_ARC",
    "Panama": "PANAMA", "Whirlpool": "WHIRLPOOL", "Whirlpool-T": "WHIRLPOOL",
    "Whirlpool-0": "WHIRLPOOL", "Snefru-128": "SNEFRU128", "Snefru-256": "SNEFRU256",
    "Square": "SQUARE", "Sapphire": "SAPPHIRE",
}
MESSAGE_BYTES = 1024 * 1024


def our_figures(path):
    ours = {}
    for run in json.load(open(path))["benchmarks"]:
        parts = run["name"].split("/")
        if run.get("run_type") == "aggregate" or not parts[-1].isdigit():
            continue
        if int(parts[-1]) != MESSAGE_BYTES:
            continue
        name = "/".join(parts[:-1])
        ours[name] = max(ours.get(name, 0), run["bytes_per_second"] / 1e6)
    return ours


def best_peers(path):
    best = defaultdict(lambda: (0.0, ""))
    for line in open(path):
        fields = line.rstrip("\n").split("\t")
        if fields[0] != "RESULT":
            continue
        peer, key, rate = fields[1], fields[2], float(fields[3])
        if rate > best[key][0]:
            best[key] = (rate, peer)
    return best


def is_entry_point(name):
    """True for a public entry point ("engine/SHA-1"), false for a code path ("path/SHA-1/SHA-NI")."""
    layer, _, label = name.partition("/")
    return layer in ("engine", "framework", "file") and label in KEYS


def main():
    ours, peers = our_figures(sys.argv[1]), best_peers(sys.argv[2])
    print("| ours | MB/s | best peer | MB/s | ratio |")
    print("|---|---:|---|---:|---:|")
    for name in sorted(filter(is_entry_point, ours)):
        rate, peer = peers.get(KEYS[name.partition("/")[2]], (0.0, ""))
        ratio = f"{ours[name] / rate:.2f}x" if rate else "-"
        peer_text = f"{peer} | {rate:.0f}" if rate else "- | -"
        print(f"| {name} | {ours[name]:.0f} | {peer_text} | {ratio} |")
    print("\nPer code path (MB/s, 1 MiB):")
    for name in sorted(name for name in ours if not is_entry_point(name)):
        print(f"  {name}: {ours[name]:.0f}")

if __name__ == "__main__":
    main()
