#!/usr/bin/env bash
# tacconf against its floor and its peers (grep, sed, Python's configparser, Qt's QSettings, inih)
# on generated documents of every shape (spread over 1, 10 and 100 MiB, dense, 50 MB of tiny
# sections, one line of 100 MB, a section of a million keys): medians of alternating
# runs, wall time and peak memory; then what each writing peer changes in a sample besides the
# value it sets; then a 50-site Ansible task with this project's module and with
# community.general.ini_file. Usage: scripts/bench-peers.sh [RUNS]   (see docs/PERFORMANCE.md)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/bench-setup.sh
# Configured every time: the inih peer is added once the library is found.
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAV_BUILD_BENCH=ON \
    -DTAV_BUILD_TESTS=OFF >/dev/null
targets=(tacconf bench-document bench-floor bench-run peer-qsettings)
if cmake --build build-bench --target help | grep -q '^peer-inih:'; then
    targets+=(peer-inih)
fi
nice cmake --build build-bench --target "${targets[@]}"

documents="$(mktemp -d "${TMPDIR:-/tmp}/tavpeers.XXXXXX")"
trap 'rm -rf "$documents"' EXIT
build-bench/bin/bench-document --write-documents "$documents"
python3 bench/peers.py build-bench/bin "$documents" "${1:-9}"
# The 50-site Ansible task: this project's module against community.general.ini_file.
python3 bench/ansible-sites.py build-bench/bin/tacconf . 50
