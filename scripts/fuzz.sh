#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with sanitizers) into build-fuzz/ and runs each for the given
# number of seconds (default 60), starting from the seed corpus in fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
if [ ! -f build-fuzz/build.ninja ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTAV_BUILD_FUZZ=ON -DTAV_BUILD_GUI=OFF -DTAV_BUILD_TESTS=OFF \
        -DTAV_SANITIZE=address,undefined
fi
cmake --build build-fuzz
for target in catalog document profile; do
    work="build-fuzz/corpus-$target"
    mkdir -p "$work"
    echo "fuzz-$target: ${seconds}s"
    build-fuzz/bin/fuzz-$target -max_total_time="$seconds" -max_len=4096 -print_final_stats=0 \
        -artifact_prefix=build-fuzz/ "$work" "fuzz/corpus/$target" 2>&1 | tail -n 2
done
