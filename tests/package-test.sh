#!/usr/bin/env bash
# Makes the Debian package from the build tree (cpack, no second build: the package's paths and
# dependencies do not depend on the build type) and checks its fields and contents: what
# scripts/package.sh makes from a Release build has the same layout.
# Usage: package-test.sh BUILD_DIR SCRATCH_DIR
set -euo pipefail
build=$1
scratch=$2
id=org.tavmanager.TavManager

fail() {
    echo "package-test: $*" >&2
    exit 1
}
command -v dpkg-shlibdeps >/dev/null || fail "dpkg-shlibdeps is missing: run scripts/setup.sh"

rm -rf "$scratch"
mkdir -p "$scratch"
cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$scratch/cpack.log")"
debs=("$scratch"/tavmanager_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single tavmanager_*.deb in $scratch"
deb=${debs[0]}

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tavmanager ] || fail "Package: $(field Package)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
for library in libqt6widgets6 libqt6gui6 libqt6core6 libchm1 libc6 libstdc++6; do
    [[ ", $depends," == *", $library "* ]] || fail "Depends lacks $library: $depends"
done

dpkg-deb --contents "$deb" | awk '{ print $6 }' >"$scratch/contents"
while read -r path; do
    [[ $path == ./usr/* || $path == ./ ]] || fail "the package installs $path outside /usr"
done <"$scratch/contents"
for file in bin/tavmanager bin/tacconf share/tavmanager/taca.chm \
    share/tavmanager/translations/tavmanager_de.qm \
    share/tavmanager/examples/Sections.txt share/tavmanager/examples/front-office.tac \
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
    share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/256x256/apps/$id.png \
    share/icons/hicolor/16x16/apps/$id.png \
    share/man/man1/tavmanager.1.gz share/man/man1/tacconf.1.gz \
    share/doc/tavmanager/copyright share/doc/tavmanager/changelog.gz \
    share/bash-completion/completions/tacconf; do
    grep -qx "./usr/$file" "$scratch/contents" || fail "the package lacks /usr/$file"
done
# Triggers refresh the caches: a package with maintainer scripts would be a mistake here.
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'postinst|prerm|postrm|preinst' &&
    fail "the package has maintainer scripts"
echo "package-test: $(basename "$deb") has the fields and files expected"
