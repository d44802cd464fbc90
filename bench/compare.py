#!/usr/bin/env python3
"""Puts our throughput next to the best peer's, from one run on one machine.

usage: compare.py OURS.json PEERS.tsv
OURS.json is tolvek-bench's --benchmark_format=json output; PEERS.tsv the results.tsv that
peerbench/run_peers.sh writes (its RESULT lines: in-memory library runs). Our figure for an
algorithm is its list entry on one thread ("entry/<id>/one-thread/<bytes>") over the 1 MiB
message, paired with the peers by the label it carries: the name the peer tables give the
algorithm, from the entry's row. The other benchmarks are listed separately.
"""
import json
import sys
from collections import defaultdict

MESSAGE_BYTES = 1024 * 1024


def our_figures(path):
    """Our best MB/s by benchmark name, and the peer table's name of each labelled one."""
    ours, keys = {}, {}
    for run in json.load(open(path))["benchmarks"]:
        parts = run["name"].split("/")
        if run.get("run_type") == "aggregate" or not parts[-1].isdigit():
            continue
        if int(parts[-1]) != MESSAGE_BYTES:
            continue
        name = "/".join(parts[:-1])
        ours[name] = max(ours.get(name, 0), run["bytes_per_second"] / 1e6)
        if run.get("label"):
            keys[name] = run["label"]
    return ours, keys


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


def main():
    (ours, keys), peers = our_figures(sys.argv[1]), best_peers(sys.argv[2])
    print("| ours | MB/s | best peer | MB/s | ratio |")
    print("|---|---:|---|---:|---:|")
    for name in sorted(keys):
        rate, peer = peers.get(keys[name], (0.0, ""))
        ratio = f"{ours[name] / rate:.2f}x" if rate else "-"
        peer_text = f"{peer} | {rate:.0f}" if rate else "- | -"
        print(f"| {name} | {ours[name]:.0f} | {peer_text} | {ratio} |")
    print("\nThe other benchmarks (MB/s, 1 MiB):")
    for name in sorted(name for name in ours if name not in keys):
        print(f"  {name}: {ours[name]:.0f}")

if __name__ == "__main__":
    main()
