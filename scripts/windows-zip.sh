#!/usr/bin/env bash
# Makes the Windows zip, build-windows/tacconf-VERSION-windows-x64.zip: tacconf.exe (cross-built
# with the windows preset), the example catalogues, the help file taca.chm (from the Linux build,
# whose chmcmd compiles it), tacconf's reference and a README.txt, the text files with CR LF line
# ends. Extra arguments go to the Windows configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ ! -f build-windows/build.ninja ]; then
    cmake --preset windows "$@"
fi
cmake --build build-windows --target tacconf
if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja
fi
cmake --build build --target tavhelp

version=$(sed -n 's/^project(TavManager VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
zip=$PWD/build-windows/tacconf-$version-windows-x64.zip
stage=$(mktemp -d "${TMPDIR:-/tmp}/tacconf-zip.XXXXXX")
trap 'rm -rf "$stage"' EXIT
folder=$stage/tacconf-$version

mkdir "$folder"
cp build-windows/bin/tacconf.exe build/bin/taca.chm "$folder/"
# Without the debugging information the build keeps (a thirtieth of the size).
x86_64-w64-mingw32-strip "$folder/tacconf.exe"
# Text files as Windows editors expect them (the catalogues read the same either way).
for text in examples/Sections.txt examples/Fields.txt docs/tacconf.md packaging/windows/README.txt; do
    sed 's/\r$//; s/$/\r/' "$text" >"$folder/$(basename "$text")"
done
rm -f "$zip"
(cd "$stage" && zip -q -r -X "$zip" "tacconf-$version")
echo "$zip"
