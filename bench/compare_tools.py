#!/usr/bin/env python3
"""The program of bench/compare_tools.sh, which says what it measures and how to run it."""
import argparse, concurrent.futures, datetime, json, mmap, os, random, re, subprocess, sys, time

from peer_tools import (CHECK_FLAG, FAST, LEGACY, MANY_FILE_PEERS, PEERS, PRINTED_NUMBERS, SLOW,
                        UNCACHED, YARDSTICKS)

OURS = os.path.abspath(os.environ.get("TOLVEK_CLI", "build/bench/tolvek-cli-without-avx512"))
OURS_ALL = os.path.abspath(os.environ.get("TOLVEK_CLI_ALL", "build/cli/tolvek-cli"))
# The BLAKE3 crate built without AVX-512 (bench/peers/blake3-without-avx512), when cargo could build
# it: the like-for-like peer of our rows that run without AVX-512.
BLAKE3_WITHOUT_AVX512 = os.environ.get("TOLVEK_PEER_BLAKE3_WITHOUT_AVX512", "")
# Its `files` mode times the least any tool must do per file over a tree: the floor of the many-file
# rows.
ENGINE_BENCH = os.path.abspath(os.environ.get("TOLVEK_ENGINE_BENCH", "build/bench/tolvek-bench"))
READER_BENCH = os.path.abspath(os.environ.get("TOLVEK_READER_BENCH",
                                              "build/bench/tolvek-reader-bench"))
DATA = os.environ.get("TOLVEK_BENCH_DIR", "/tmp/tolvek-bench")
CPUS = os.cpu_count()
MIB = 1 << 20


def parse():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--sections", default="file,one-cpu,startup,small,mib,uncached,ceiling")
    parser.add_argument("ids", nargs="*")
    return parser.parse_args()


# ---- files ----

def random_file(path, size):
    if os.path.exists(path) and os.path.getsize(path) == size:
        return path
    with open(path + ".tmp", "wb") as out:
        for _ in range(size // (64 * MIB)):
            out.write(os.urandom(64 * MIB))
        out.write(os.urandom(size % (64 * MIB)))
    os.rename(path + ".tmp", path)
    return path


def tree(path, count, sizes, folders):
    """A folder of `count` random files in `folders` subfolders; gives the sorted relative names."""
    names = [f"d{index % folders:02d}/f{index:05d}.bin" for index in range(count)]
    if not os.path.exists(os.path.join(path, ".made")):
        generator = random.Random(7)
        for name in names:
            os.makedirs(os.path.join(path, os.path.dirname(name)), exist_ok=True)
            with open(os.path.join(path, name), "wb") as out:
                out.write(generator.randbytes(sizes(generator)))
        open(os.path.join(path, ".made"), "w").close()
    return sorted(names)


def cache(paths):
    for path in paths:
        with open(path, "rb") as stream:
            while stream.read(16 * MIB):
                pass


def uncache(path):
    descriptor = os.open(path, os.O_RDONLY)
    os.posix_fadvise(descriptor, 0, 0, os.POSIX_FADV_DONTNEED)
    os.close(descriptor)


# ---- timing ----

def once(argv, pin=False, cwd=None, before=None):
    """Seconds of one run, output thrown away. Pinned to CPU 0 when `pin`, and then the
    processor time the run took (user and system, every thread): on one CPU a run from the page
    cache never waits, so this is its wall time on an idle machine, which the other work of a
    shared one does not inflate. Else the wall time."""
    if before:
        before()
    every = os.sched_getaffinity(0)
    if pin:
        os.sched_setaffinity(0, {0})
    actions = [(os.POSIX_SPAWN_OPEN, 0, "/dev/null", os.O_RDONLY, 0),
               (os.POSIX_SPAWN_OPEN, 1, "/dev/null", os.O_WRONLY, 0),
               (os.POSIX_SPAWN_OPEN, 2, "/dev/null", os.O_WRONLY, 0)]
    here = os.getcwd()
    try:
        if cwd:
            os.chdir(cwd)
        start = time.perf_counter()
        child = os.posix_spawnp(argv[0], argv, os.environ, file_actions=actions)
        usage = os.wait4(child, 0)[2]
        if pin:
            return usage.ru_utime + usage.ru_stime
        return time.perf_counter() - start
    finally:
        os.chdir(here)
        os.sched_setaffinity(0, every)


def best_times(commands, rounds, repeat=1, **options):
    """The best time of each command over `rounds` rounds, the commands taking turns; each
    round's time is the median of `repeat` runs in a row. A command is an argv, or a function
    that runs and gives the seconds it measured itself."""
    best = [float("inf")] * len(commands)
    for _ in range(rounds):
        for index, argv in enumerate(commands):
            times = sorted(argv() if callable(argv) else once(argv, **options)
                           for _ in range(repeat))
            best[index] = min(best[index], times[len(times) // 2])
    return best


def output_of(argv, cwd=None):
    result = subprocess.run(argv, capture_output=True, text=True, cwd=cwd, stdin=subprocess.DEVNULL)
    return result.returncode, result.stdout.lower()


def installed(argv):
    return subprocess.run(["sh", "-c", 'command -v "$1"', "-", argv[0]],
                          capture_output=True).returncode == 0


def digests(text, printed_numbers=False):
    """The digests in a tool's output: hex runs, or with `printed_numbers` the checksum and count
    each line starts with, as cksum and sum print them ("00294     1" is "294 1")."""
    if printed_numbers:
        pairs = re.findall(r"^\s*(\d+)\s+(\d+)(?:\s|$)", text, re.M)
        return {f"{int(checksum)} {int(count)}" for checksum, count in pairs}
    return set(re.findall(r"[0-9a-f]{8,}", text))


# ---- rows ----

class Table:
    def __init__(self, title):
        self.title, self.rows, self.after = title, [], []

    def add(self, job, ours, peer_name, peer, size=None, floor=None):
        """Times in seconds; with a size, the figures are shown as MB/s."""
        self.rows.append((job, ours, peer_name, peer, size, floor))
        print(self.line(self.rows[-1]), file=sys.stderr, flush=True)

    @staticmethod
    def figure(seconds, size):
        if size is not None:
            return f"{size / seconds / 1e6:.0f} MB/s"
        return f"{seconds * 1000:.1f} ms" if seconds < 0.1 else f"{seconds:.3f} s"

    def line(self, row):
        job, ours, peer_name, peer, size, _ = row
        if peer_name is None:
            return f"| {job} | {self.figure(ours, size)} | (no peer) | | |"
        return (f"| {job} | {self.figure(ours, size)} | {peer_name} | "
                f"{self.figure(peer, size)} | {peer / ours:.2f} |")

    def print(self):
        if self.rows:
            print(f"\n### {self.title}\n\n| job | ours | best peer | peer | ratio |")
            print("|---|---:|---|---:|---:|")
            print("\n".join(self.line(row) for row in self.rows))
            for text in self.after:
                print(f"\n{text}")


def shown(argv):
    """The command as the table names it: no file names, no options of xargs but -P."""
    if argv[0] == "xargs":
        command = argv[argv.index("-n") + 2:]
        return f"xargs -P {CPUS} {shown(command)}"
    text = " ".join([os.path.basename(argv[0])] + [word for word in argv[1:]
                                                    if not word.startswith("/")])
    return text.replace(" " + " ".join(LEGACY), "")


def compare(table, job, ours, peers, rounds, size=None, check=None, floor=None, **options):
    """Times `ours` against the peers that pass `check` (their output against ours), and the
    `floor` function in turn with them if given, and adds the row with the fastest peer."""
    peers = [peer for peer in peers if installed(peer)]
    if check:
        peers = [peer for peer in peers if check(peer)]
    times = best_times([ours, *peers] + ([floor] if floor else []), rounds, **options)
    least = times.pop() if floor else None
    if not peers:
        table.add(job, times[0], None, None, size, least)
        return
    fastest = min(range(1, len(times)), key=times.__getitem__)
    table.add(job, times[0], shown(peers[fastest - 1]), times[fastest], size, least)


CHECKED = {}


def agrees(ours, peer):
    """Whether `peer` prints every digest `ours` prints (both commands end with the file)."""
    key = (" ".join(ours[1:]), " ".join(peer))
    if key not in CHECKED:
        numbers = ours[2] in PRINTED_NUMBERS
        wanted = digests(output_of(ours)[1], numbers)
        code, text = output_of(peer)
        CHECKED[key] = code == 0 and bool(wanted) and wanted <= digests(text, numbers)
    return CHECKED[key]


def variants(id, peers):
    """(what the job's name adds, our binary, its peers) for each row of `id`. b3sum uses AVX-512
    where the processor has it, so ours with AVX-512 meets it; ours masked meets the BLAKE3 crate
    built without AVX-512 where cargo could build it, as a processor without AVX-512 runs both."""
    if id != "blake3":
        return [("", OURS, peers)]
    masked = (", both without AVX-512", OURS, [[BLAKE3_WITHOUT_AVX512]])
    return [masked if BLAKE3_WITHOUT_AVX512 else ("", OURS, peers), (", AVX-512", OURS_ALL, peers)]


def file_rows(table, ids, files, rounds, pin):
    big, small = files
    for id in ids:
        file = small if id in SLOW else big
        if "," in id:
            peers = [["rhash"] + [f"--{part}" for part in id.split(",")]]
        else:
            peers = PEERS.get(id) or YARDSTICKS[id]
        name = id if id in PEERS else f"{id} (yardstick: other function)"
        for addition, binary, its_peers in variants(id, peers):
            job = name + addition
            ours = [binary, "-a", id, file]
            check = (lambda peer: agrees(ours, peer)) if id not in YARDSTICKS else None
            compare(table, job, ours, [peer + [file] for peer in its_peers], rounds,
                    size=os.path.getsize(file), check=check, pin=pin)


def shares(names, parts):
    return [names[index::parts] for index in range(parts)]


def xargs(names_file, command, per_process):
    return ["xargs", "-a", names_file, "-P", str(CPUS), "-n", str(per_process), *command]


def floor_run(root, folders, way):
    """A function that times the least any tool must do over every file of the folders, on every
    core (`tolvek-reader-bench files`, one run), and gives its seconds: with `way` "open", each
    file opened within its folder, fstat, read whole, passed over once and closed; with "fstatat",
    a look at the name before the open instead of the fstat. None without the reader bench."""
    if not os.path.exists(READER_BENCH):
        return None

    def run():
        text = subprocess.run([READER_BENCH, "files", "--rounds", "1", *folders],
                              capture_output=True, text=True, cwd=root, check=True).stdout
        found = dict(re.findall(r"^\| (open|fstatat)\b.*\| ([\d.]+) \|$", text, re.M))
        return float(found[way]) / 1e3
    return run


def floor_notes(table):
    """Under the table: each row's floor, and the best ratio any tool could reach against its
    peer."""
    if not os.path.exists(READER_BENCH):
        table.after.append(f"No floor: {READER_BENCH} is not built.")
        return
    lines = ["The floor of each row (`tolvek-reader-bench files` over the same files on every "
             "CPU, the names listed beforehand, timed in turn with the row's commands): open, "
             "fstat, read, one pass over the bytes, close for -r; for -c a look at the name "
             "(fstatat) instead of the fstat, before the open, as a checker of a list needs so as "
             "not to open a FIFO ahead of its turn. No tool can beat it, so peer / floor is the "
             "best ratio any tool could reach:\n",
             "| job | peer | floor | best reachable ratio | floor / ours |",
             "|---|---:|---:|---:|---:|"]
    for job, ours, peer_name, peer, _, least in table.rows:
        if peer_name is None:
            continue
        lines.append(f"| {job} | {Table.figure(peer, None)} | {Table.figure(least, None)} | "
                     f"{peer / least:.2f} | {least / ours:.2f} |")
    table.after.append("\n".join(lines))


def many_file_rows(table, ids, root, names, label, rounds, with_check):
    names_file = os.path.join(root, ".names")
    with open(names_file, "w") as out:
        # Each process's files spread over the list, so that the shares are alike.
        out.write("\n".join(name for share in shares(names, CPUS) for name in share) + "\n")
    for id in ids:
        if id not in MANY_FILE_PEERS:
            continue
        for addition, binary, (peer,) in variants(id, [MANY_FILE_PEERS[id]]):
            if installed(peer):
                many_file_row(table, f"{id}{addition}, {label}", binary, id, peer, root, names,
                              rounds, with_check)
    floor_notes(table)


def many_file_row(table, job, binary, id, peer, root, names, rounds, with_check):
    per_process = -(-len(names) // CPUS)
    folders = sorted({name.split("/")[0] for name in names})
    names_file = os.path.join(root, ".names")
    ours = [binary, "-a", id, "-r", *folders]
    compare(table, f"{job}, -r", ours, [xargs(names_file, peer, per_process)], rounds,
            floor=floor_run(root, folders, "open"), cwd=root)
    if not with_check:
        return
    # Each checks a list it wrote itself, its files in the same order.
    tool = os.path.basename(peer[0])
    ours_list = os.path.join(root, f".ours.{id}")
    with open(ours_list, "w") as out:
        out.write(subprocess.run(ours, capture_output=True, text=True, cwd=root).stdout)
    parts = []
    for index, share in enumerate(shares(names, CPUS)):
        part = os.path.join(root, f".{id}.{tool}.part{index}")
        listed = subprocess.run(peer + share, capture_output=True, text=True, cwd=root).stdout
        with open(part, "w") as out:
            out.write("".join(line + "\n" for line in listed.splitlines()
                              if not line.startswith(";")))
        parts.append(part)
    parts_file = os.path.join(root, f".{id}.{tool}.parts")
    with open(parts_file, "w") as out:
        out.write("\n".join(parts) + "\n")
    checking = [*peer, CHECK_FLAG.get(tool, "-c")]
    compare(table, f"{job}, -c", [binary, "-c", ours_list],
            [["xargs", "-a", parts_file, "-P", str(CPUS), "-n", "1", *checking]],
            rounds, floor=floor_run(root, folders, "fstatat"), cwd=root)


def ceiling(big, rounds):
    size = os.path.getsize(big)

    def pread_all():
        descriptor = os.open(big, os.O_RDONLY)
        offsets = list(range(0, size, MIB))

        def work(first):
            buffer = mmap.mmap(-1, MIB)  # page-aligned
            for offset in offsets[first::CPUS]:
                os.preadv(descriptor, [buffer], offset)
        start = time.perf_counter()
        with concurrent.futures.ThreadPoolExecutor(CPUS) as pool:
            list(pool.map(work, range(CPUS)))
        elapsed = time.perf_counter() - start
        os.close(descriptor)
        return elapsed

    dd = min(best_times([["dd", f"if={big}", "of=/dev/null", "bs=1M"]], rounds))
    preads = min(pread_all() for _ in range(rounds))
    return size / dd / 1e6, size / preads / 1e6


def one_core_rates(ids):
    """Each id's MB/s in memory on one core, over 1 MiB as our masked binary runs it
    (`tolvek-bench`'s path/<id>/no-AVX-512, the best of three); empty without the bench."""
    if not ids or not os.path.exists(ENGINE_BENCH):
        return {}
    pattern = "^path/(" + "|".join(re.escape(id) for id in ids) + ")/no-AVX-512/1048576$"
    text = subprocess.run([ENGINE_BENCH, f"--benchmark_filter={pattern}",
                           "--benchmark_format=json", "--benchmark_repetitions=3"],
                          capture_output=True, text=True).stdout
    rates = {}
    for run in json.loads(text or "{}").get("benchmarks", []):
        if run.get("run_type") == "iteration":
            id = run["name"].split("/")[1]
            rates[id] = max(rates.get(id, 0.0), run["bytes_per_second"] / 1e6)
    return rates


def print_ceiling(tables, preads):
    """The fast algorithms from a file against the page cache's ceiling, and the most each could
    reach there: every core copies a block out of the page cache and then hashes it, so at the
    copy's rate C per core and the hash's rate H in memory a core gets through H / (C + H) of
    what it copies alone."""
    every_cpu = [table for table in tables if table.title.endswith("every CPU")]
    rows = [row for row in (every_cpu[0].rows if every_cpu else []) if row[0] in FAST]
    rates = one_core_rates([row[0] for row in rows])
    copy = preads / CPUS
    print("| id | ours | of the pread ceiling | in memory, one core | most a core copying, "
          "then hashing, reaches |\n|---|---:|---:|---:|---:|")
    for job, ours, _, _, size, _ in rows:
        rate = size / ours / 1e6
        hash_rate = rates.get(job)
        bound = (f"| {hash_rate:.0f} MB/s | {hash_rate / (copy + hash_rate):.2f} |" if hash_rate
                 else "| | |")
        print(f"| {job} | {rate:.0f} MB/s | {rate / preads:.2f} {bound}")


def machine():
    model = flags = ""
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name") and not model:
                model = line.split(":", 1)[1].strip()
            if line.startswith("flags") and not flags:
                flags = line.split(":", 1)[1].split()
    wanted = ["sse4_1", "ssse3", "pclmulqdq", "avx2", "bmi1", "bmi2", "sha_ni", "vaes",
              "vpclmulqdq", "avx512f", "avx512bw", "avx512vl"]
    return model, [flag for flag in wanted if flag in flags]


def main():
    options = parse()
    sections = set(options.sections.split(","))
    listed = subprocess.run([OURS, "--list"], capture_output=True, text=True).stdout.split("\n")
    known = [line.split("\t")[0] for line in listed if line]
    ids = [id for id in known if id in PEERS or id in YARDSTICKS] + ["md5,sha1,sha256"]
    if options.ids:
        ids = [id for id in ids if id in options.ids]
    os.makedirs(DATA, exist_ok=True)
    model, flags = machine()
    print(f"## tolvek-cli against the peer tools, {datetime.date.today()}\n")
    print(f"{model}, {CPUS} CPUs, shared with other work (load average "
          f"{os.getloadavg()[0]:.2f} at the start); flags: {' '.join(flags)}. Best of "
          f"{options.rounds} runs, taking turns; ratio = peer time / our time. Ours runs with "
          "its AVX-512 paths masked unless the row says AVX-512.")
    big = random_file(os.path.join(DATA, "big-1g"), 1024 * MIB)
    small = random_file(os.path.join(DATA, "big-256m"), 256 * MIB)
    tables = []
    if sections & {"file", "one-cpu", "ceiling"}:
        cache([big, small])
    if "file" in sections:
        tables.append(Table("One file in the page cache, every CPU"))
        file_rows(tables[-1], ids, (big, small), options.rounds, pin=False)
    if "one-cpu" in sections:
        tables.append(Table("One file in the page cache, one CPU (pinned to CPU 0; processor time)"))
        file_rows(tables[-1], ids, (big, small), options.rounds, pin=True)
    if "startup" in sections:
        tables.append(Table("Start-up: a 3-byte file, each figure the median of 20 runs"))
        three = os.path.join(DATA, "three")
        with open(three, "w") as out:
            out.write("abc")
        compare(tables[-1], "sha256 of 3 bytes", [OURS, "-a", "sha256", three],
                [[peer[0], *peer[1:], three] for peer in PEERS["sha256"][:3]],
                options.rounds * 3, repeat=20)
    if "small" in sections:
        root = os.path.join(DATA, "tree-10k")
        names = tree(root, 10000, lambda generator: generator.randint(100, 16384), 50)
        cache(os.path.join(root, name) for name in names)
        tables.append(Table(f"10 000 files of 100 B to 16 KiB; peers: xargs -P {CPUS}"))
        many_file_rows(tables[-1], ids, root, names, "10 000 files", options.rounds, True)
    if "mib" in sections:
        root = os.path.join(DATA, "tree-1m")
        names = tree(root, 1000, lambda generator: MIB, 10)
        cache(os.path.join(root, name) for name in names)
        tables.append(Table(f"1 000 files of 1 MiB; peers: xargs -P {CPUS}"))
        many_file_rows(tables[-1], [id for id in ids if id in ("md5", "sha256", "blake3", "xxh3",
                                                               "crc32")],
                       root, names, "1 000 x 1 MiB", options.rounds, False)
    if "uncached" in sections:
        tables.append(Table("First read of a 256 MiB file not in the page cache "
                            "(dropped with POSIX_FADV_DONTNEED before each run)"))
        for id in [id for id in ids if id in UNCACHED]:
            peers = [UNCACHED[id]] + ([[BLAKE3_WITHOUT_AVX512]] if id == "blake3" and
                                      BLAKE3_WITHOUT_AVX512 else [])
            compare(tables[-1], f"{id}, uncached", [OURS, "-a", id, small],
                    [peer + [small] for peer in peers], options.rounds, size=os.path.getsize(small),
                    before=lambda: uncache(small))
        cache([small])
    for table in tables:
        table.print()
    if "ceiling" in sections:
        cache([big])
        dd, preads = ceiling(big, options.rounds)
        print(f"\n### The page cache's ceiling, 1 GiB\n\ndd bs=1M: {dd:.0f} MB/s; pread of 1 MiB "
              f"blocks into page-aligned buffers on {CPUS} threads: {preads:.0f} MB/s. From a "
              "file, the fast algorithms (every CPU, from the first table):\n")
        print_ceiling(tables, preads)

main()
