#!/usr/bin/env bash
# Builds the benchmarks (Release, build-bench/) and runs them: open and save against the cost of
# reading and writing the same bytes, then start-up time and peak memory against a bare dialog,
# offscreen and under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ ! -f build-bench/build.ninja ]; then
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAV_BUILD_BENCH=ON \
        -DTAV_BUILD_TESTS=OFF
fi
cmake --build build-bench
build-bench/bin/bench-document --benchmark_min_time=1
python3 bench/startup.py build-bench/bin "${1:-20}"
