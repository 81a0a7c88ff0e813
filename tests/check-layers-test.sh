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
    "core-beside|document/a.cpp|#include \"profiletext.h\"|pass"
    "core-to-core|document/a.h|#include \"../catalog/fileaccess.h\"|pass"
    "core-up-to-tree|catalog/a.cpp|#include \"tree/configtree.h\"|fail"
    "core-up-relative|document/a.cpp|#include \"../ui/maindialog.h\"|fail"
    "core-qt|document/a.cpp|#include <QString>|fail"
    "core-qt-spaced|catalog/a.h|  #  include <QtCore/QFile>|fail"
    "core-std|catalog/a.h|#include <string>|pass"
    "cli-core|cli/a.cpp|#include \"document/configdocument.h\"|pass"
    "cli-check|cli/a.cpp|#include \"check/findings.h\"|pass"
    "cli-tree|cli/a.cpp|#include \"tree/configtree.h\"|fail"
    "check-cli|check/a.cpp|#include \"cli/arguments.h\"|fail"
    "tree-resources|tree/a.cpp|#include \"resources/images.h\"|pass"
    "tree-help|tree/a.cpp|#include \"help/helpservice.h\"|fail"
    "help-core|help/a.h|#include \"catalog/fileaccess.h\"|pass"
    "help-tree|help/a.cpp|#include \"tree/textconv.h\"|fail"
    "help-resources|help/a.cpp|#include \"resources/images.h\"|fail"
    "help-ui|help/a.cpp|#include <ui/maindialog.h>|fail"
    "ui-help|ui/a.cpp|#include \"help/helpservice.h\"|pass"
    "ui-app|ui/a.cpp|#include \"app/configapp.h\"|fail"
    "app-ui|app/a.cpp|#include \"ui/maindialog.h\"|pass"
    "app-cli|app/a.cpp|#include \"cli/tacconf.h\"|fail"
    "ui-qt|ui/a.cpp|#include <QDialog>|pass"
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
