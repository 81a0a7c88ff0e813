#!/usr/bin/env bash
# Tests of scripts/check-layers.sh: each row writes one file with one include into an empty source
# tree and says whether the check must pass or name that file and line. Argument: the script.
set -uo pipefail
check="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
# name | file | include line | expected (pass or fail)
rows=(
    "base-beside|base/a.cpp|#include \"names.h\"|pass"
    "base-to-base|base/a.h|#include \"base/expected.h\"|pass"
    "base-up-to-catalog|base/a.cpp|#include \"catalog/catalogues.h\"|fail"
    "base-up-relative|base/a.cpp|#include \"../storage/tempfile.h\"|fail"
    "base-qt|base/a.cpp|#include <QString>|fail"
    "catalog-base|catalog/a.h|#include \"base/fileaccess.h\"|pass"
    "catalog-profile|catalog/a.h|#include \"profile/profiletext.h\"|fail"
    "catalog-qt-spaced|catalog/a.h|  #  include <QtCore/QFile>|fail"
    "catalog-std|catalog/a.h|#include <string>|pass"
    "profile-base|profile/a.cpp|#include \"base/splicedbytes.h\"|pass"
    "profile-storage|profile/a.cpp|#include \"storage/tempfile.h\"|fail"
    "profile-document|profile/a.cpp|#include \"document/configdocument.h\"|fail"
    "storage-base|storage/a.cpp|#include \"base/progress.h\"|pass"
    "storage-profile|storage/a.cpp|#include \"profile/profiletext.h\"|fail"
    "storage-catalog|storage/a.h|#include \"catalog/catalogues.h\"|fail"
    "storage-document|storage/a.h|#include \"document/configdocument.h\"|fail"
    "document-storage|document/a.cpp|#include \"storage/documentfile.h\"|pass"
    "document-profile|document/a.cpp|#include \"profile/profiletext.h\"|pass"
    "document-check|document/a.cpp|#include \"check/documentcheck.h\"|fail"
    "document-qt|document/a.cpp|#include <QString>|fail"
    "check-document|check/a.cpp|#include \"document/configdocument.h\"|pass"
    "check-cli|check/a.cpp|#include \"cli/arguments.h\"|fail"
    "cli-document|cli/a.cpp|#include \"document/configdocument.h\"|pass"
    "cli-check|cli/a.cpp|#include \"check/findings.h\"|pass"
    "cli-tree|cli/a.cpp|#include \"tree/configtree.h\"|fail"
    "cli-qt|cli/a.cpp|#include <QCoreApplication>|fail"
    "qtbridge-base|qtbridge/a.h|#include \"base/expected.h\"|pass"
    "qtbridge-qt|qtbridge/a.h|#include <QString>|pass"
    "qtbridge-document|qtbridge/a.h|#include \"document/configdocument.h\"|fail"
    "tree-document|tree/a.cpp|#include \"document/configdocument.h\"|pass"
    "tree-bridge|tree/a.cpp|#include \"qtbridge/textconv.h\"|pass"
    "tree-resources|tree/a.cpp|#include \"resources/images.h\"|pass"
    "tree-help|tree/a.cpp|#include \"help/helpservice.h\"|fail"
    "tree-check|tree/a.cpp|#include \"check/documentcheck.h\"|fail"
    "help-base|help/a.h|#include \"base/fileaccess.h\"|pass"
    "help-bridge|help/a.cpp|#include \"qtbridge/textconv.h\"|pass"
    "help-catalog|help/a.cpp|#include \"catalog/catalogues.h\"|fail"
    "help-tree|help/a.cpp|#include \"tree/configtree.h\"|fail"
    "help-resources|help/a.cpp|#include \"resources/images.h\"|fail"
    "help-ui|help/a.cpp|#include <ui/maindialog.h>|fail"
    "ui-help|ui/a.cpp|#include \"help/helpservice.h\"|pass"
    "ui-tree|ui/a.cpp|#include \"tree/configtree.h\"|pass"
    "ui-app|ui/a.cpp|#include \"app/configapp.h\"|fail"
    "ui-qt|ui/a.cpp|#include <QDialog>|pass"
    "app-ui|app/a.cpp|#include \"ui/maindialog.h\"|pass"
    "app-cli|app/a.cpp|#include \"cli/tacconf.h\"|fail"
    "translations-base|translations/a.cpp|#include \"base/translation.h\"|pass"
    "translations-document|translations/a.cpp|#include \"document/configdocument.h\"|fail"
    "translations-qt|translations/a.cpp|#include <QTranslator>|pass"
    "cli-translations|cli/a.cpp|#include \"translations/programtranslations.h\"|pass"
    "app-translations|app/a.cpp|#include \"translations/programtranslations.h\"|pass"
    "ui-translations|ui/a.cpp|#include \"translations/programtranslations.h\"|fail"
    # What the system offers stays in its platform half (posix/, win32/).
    "posix-header-in-half|storage/posix/a.cpp|#include <unistd.h>|pass"
    "posix-header-outside|storage/a.cpp|#include <unistd.h>|fail"
    "posix-sys-header-outside|document/a.cpp|#include <sys/stat.h>|fail"
    "posix-header-in-ui|ui/a.cpp|#include <dlfcn.h>|fail"
    "posix-header-in-win32|base/win32/a.cpp|#include <unistd.h>|fail"
    "crt-fcntl-in-win32|cli/win32/a.cpp|#include <fcntl.h>|pass"
    "crt-fcntl-outside|cli/a.cpp|#include <fcntl.h>|fail"
    "windows-header-in-half|base/win32/a.cpp|#include <windows.h>|pass"
    "windows-header-outside|ui/a.cpp|#include <Windows.h>|fail"
    "windows-header-in-posix|storage/posix/a.cpp|#include <aclapi.h>|fail"
    "posix-half-from-outside|document/a.h|#include \"storage/posix/safepath.h\"|fail"
    "posix-half-from-itself|storage/posix/a.cpp|#include \"storage/posix/safepath.h\"|pass"
    "win32-half-from-outside|storage/a.cpp|#include \"base/win32/widepath.h\"|fail"
    "win32-half-from-win32|storage/win32/a.cpp|#include \"base/win32/widepath.h\"|pass"
    "posix-call-outside|document/a.cpp|    localtime_r(&now, &local);|fail"
    "posix-call-qualified|cli/a.cpp|    n = ::readlink(\"/proc/self/exe\", p, size);|fail"
    "posix-call-spaced|tree/a.cpp|    if (isatty (1)) {|fail"
    "posix-call-in-half|base/posix/a.cpp|    n = ::readlink(\"/proc/self/exe\", p, size);|pass"
    "posix-call-in-comment|document/a.cpp|    x = 1;  // unlike localtime_r(), this is portable|pass"
    "posix-call-in-text|document/a.cpp|    Say(\"readlink(2) failed\");|pass"
    "posix-call-longer-name|document/a.cpp|    MyFsync(fd); my_fsync(fd);|pass"
)

for row in "${rows[@]}"; do
    IFS='|' read -r name file include expected <<<"$row"
    tree="$work/$name"
    mkdir -p "$tree/$(dirname "$file")"
    printf '// %s\n%s\n' "$name" "$include" >"$tree/$file"
    output=$("$check" "$tree" 2>&1)
    status=$?
    if [ "$expected" = pass ]; then
        if [ "$status" -ne 0 ]; then
            echo "FAIL $name: refused: $output"
            failures=$((failures + 1))
        fi
    elif [ "$status" -eq 0 ] || ! grep -qF "$file:2: $include" <<<"$output"; then
        echo "FAIL $name: status $status, output: $output"
        failures=$((failures + 1))
    fi
done

# The project's own tree keeps its layers.
if ! output=$("$check" 2>&1); then
    echo "FAIL project: $output"
    failures=$((failures + 1))
fi

echo "${#rows[@]} rows and the project checked, $failures failed"
[ "$failures" -eq 0 ]
