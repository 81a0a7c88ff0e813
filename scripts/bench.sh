#!/usr/bin/env bash
# Builds the benchmarks (Release, build-bench/) and runs them: open, save and set against the cost
# of reading and writing the same bytes (those of 10 MiB nine times more), then start-up time and peak memory against a bare dialog
# (offscreen and under Xvfb), the first open of a large document in a fresh editor process, and
# `tacconf get` on a 100 MiB document against `grep -m1`. Usage: scripts/bench.sh [RUNS]
# (scripts/bench-peers.sh compares tacconf with other programs.)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ ! -f build-bench/build.ninja ]; then
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAV_BUILD_BENCH=ON \
        -DTAV_BUILD_TESTS=OFF
fi
cmake --build build-bench
build-bench/bin/bench-document --benchmark_min_time=1
# Save and set of 10 MiB against their floor in nine runs of their own: a durable write's time
# varies from run to run, and the target holds in every one.
echo "Save and set of 10 MiB, nine runs (wall time, CPU time in brackets):"
for run in 1 2 3 4 5 6 7 8 9; do
    build-bench/bin/bench-document --benchmark_filter='10MiB/|10MB/' --benchmark_min_time=0.5 \
        2>/dev/null | tail -n 2 | sed "s/^/run $run: /"
done
build-bench/bin/bench-document --memory-after-save
python3 bench/startup.py build-bench/bin "${1:-20}"

documents="$(mktemp -d "${TMPDIR:-/tmp}/tavbench.XXXXXX")"
trap 'rm -rf "$documents"' EXIT
build-bench/bin/bench-document --write-documents "$documents"
python3 bench/firstopen.py build-bench/bin "$documents" "${1:-20}"
python3 bench/get.py build-bench/bin
