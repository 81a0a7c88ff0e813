#!/usr/bin/env python3
"""`tacconf get` on a large document against `grep -m1` of the line it reads.

Usage: bench/get.py BIN_DIR [RUNS] [MIB] [OTHER_TACCONF]

Writes a document of about MIB MiB (default 100) into a temporary folder: the catalogued section
[TACInfo] first, then sections the catalogues do not describe (one every ~300 bytes, CR LF line
endings, as in files shared with another application), the catalogued [General] near the end.
Then runs, alternating, RUNS times each (default 21):
  - get General.Beep (a key near the end) and grep -m1 of its line;
  - get TACInfo.Version (a key of the first section) and grep -m1 of its line;
  - get TACInfo.Author, a non-ASCII value of the first section in a document without a byte-order
    mark: the whole document is read to decide its encoding;
and prints the median wall time and the peak resident memory of each, with the ratios.
OTHER_TACCONF, when given, is run too on the key near the end (an older build).

Peak memory is ru_maxrss from wait4 of the command run under GNU time (/usr/bin/time), which forks
it from a small process: a command started straight from Python counts Python's own resident
memory (about 15 MiB) in its peak, since the child shares Python's memory until it executes.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time


def write_document(path, mib):
    target = mib * 1024 * 1024
    with open(path, "wb") as out:
        out.write(b"[TACInfo]\r\nVersion=1.0\r\nAuthor=Zo\xc3\xab\r\n"
                  b"Updated=06/12/2026 (21:24:00)\r\n")
        written = 0
        n = 0
        block = []
        while written < target - 4096:
            section = (b"[Station%06d]\r\nHost=host%06d.example.net\r\nPort=%d\r\n"
                       b"Path=C:\\Program Files\\TAV\\Stations\\%06d\\queue\r\n"
                       b"Retry=3\r\nTimeout=30\r\nUser=operator%d\r\n"
                       b"Comment=installed by the roll-out of week %d; do not edit\r\n"
                       b"Enabled=1\r\n\r\n") % (n, n, 1000 + n % 5000, n, n % 97, n % 52)
            block.append(section)
            written += len(section)
            n += 1
            if len(block) == 1024:
                out.write(b"".join(block))
                block = []
        out.write(b"".join(block))
        out.write(b"[General]\r\nBeep=1\r\nStartMinimised=0\r\n\r\n"
                  b"[Station999999]\r\nHost=last.example.net\r\n")


def run(command):
    """The wall time of `command`, in seconds."""
    start = time.perf_counter()
    with open(os.devnull, "wb") as null:
        process = subprocess.Popen(command, stdout=null)
        _, status, _ = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{' '.join(command)}: exit status {os.waitstatus_to_exitcode(status)}")
    return elapsed


def peak_memory(command):
    """The peak resident memory of `command`, in KiB (GNU time's wait4 of it)."""
    result = subprocess.run(["/usr/bin/time", "-f", "%M"] + command, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, check=True, text=True)
    return int(result.stderr.strip().splitlines()[-1])


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    bin_dir = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    mib = int(sys.argv[3]) if len(sys.argv) > 3 else 100
    other = sys.argv[4] if len(sys.argv) > 4 else None
    tacconf = os.path.join(bin_dir, "tacconf")
    with tempfile.TemporaryDirectory() as folder:
        doc = os.path.join(folder, "large.tac")
        write_document(doc, mib)
        size = os.path.getsize(doc)
        commands = {
            "get, key near the end": [tacconf, "get", doc, "General.Beep"],
            "grep -m1, that line": ["grep", "-m1", "Beep=1", doc],
            "get, key of the first section": [tacconf, "get", doc, "TACInfo.Version"],
            "grep -m1, that line ": ["grep", "-m1", "Version=1.0", doc],
            "get, non-ASCII value of the first section": [tacconf, "get", doc, "TACInfo.Author"],
        }
        if other:
            commands["other build: get, key near the end"] = [other, "get", doc, "General.Beep"]
        run(["cat", doc])  # into the page cache
        times = {name: [] for name in commands}
        for _ in range(runs):
            for name, command in commands.items():
                times[name].append(run(command))
        memory = {name: max(peak_memory(command) for _ in range(3))
                  for name, command in commands.items()}
        print(f"document: {size / 2**20:.1f} MiB, {runs} alternating runs each, median wall time")
        for name in commands:
            print(f"  {name:45s} {statistics.median(times[name]) * 1000:8.2f} ms"
                  f"   peak RSS {memory[name] / 1024:7.1f} MiB")
        median = {name: statistics.median(values) for name, values in times.items()}
        print(f"get / grep, key near the end:        "
              f"{median['get, key near the end'] / median['grep -m1, that line']:.2f} x")
        print(f"get / grep, key of the first section: "
              f"{median['get, key of the first section'] / median['grep -m1, that line ']:.2f} x")


if __name__ == "__main__":
    main()
