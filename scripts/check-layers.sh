#!/usr/bin/env bash
# Checks that includes point down the layers only, so that each folder's library links only the
# ones below it:
#   base  <  catalog, profile, storage  <  document  <  check  <  cli           (the core, no Qt)
#   base  <  qtbridge  <  help;   the core, qtbridge, resources  <  tree  <  ui  <  app
#   base  <  translations  <  cli (tacconf's main only, through a Qt-free header), app
# catalog, profile and storage know only base, not each other; help knows only base and the
# Qt bridge; only cli knows check. resources/ (the images) may be used by tree, ui and app. The
# core and cli include no Qt header.
# What the operating system offers is used only in a platform half: a folder's posix/ subfolder
# for POSIX (its headers, such as <unistd.h>, <fcntl.h>, <sys/...>, <dlfcn.h>, and the POSIX
# calls the standard headers also declare, such as localtime_r or readlink), its win32/ subfolder
# for Windows (<windows.h> and the other SDK headers). No file outside a half includes a half's
# header, so the rest of every folder builds on both platforms.
# Every offending include is printed as file:line: text; the exit status is 1 when there is any.
# The folder checked is the argument (default: the source tree this script belongs to).
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

# Which project folders the files of each folder may include (besides their own).
declare -A allowed=(
    [base]=""
    [catalog]="base"
    [profile]="base"
    [storage]="base"
    [document]="base catalog profile storage"
    [check]="base catalog profile storage document"
    [cli]="base catalog profile storage document check translations"
    [qtbridge]="base"
    [translations]="base"
    [resources]=""
    [tree]="base catalog profile storage document qtbridge resources"
    [help]="base qtbridge"
    [ui]="base catalog profile storage document qtbridge resources tree help"
    [app]="base catalog profile storage document qtbridge resources tree help ui translations"
)
# The folders whose files may include no Qt header.
core="base catalog profile storage document check cli"
folders="${!allowed[*]}"

status=0
for folder in "${!allowed[@]}"; do
    [ -d "$folder" ] || continue
    files=$(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.cc' \) | sort)
    [ -n "$files" ] || continue
    # shellcheck disable=SC2086  # file names without blanks, one word each
    awk -v self="$folder" -v allowed="${allowed[$folder]}" -v folders="$folders" -v core="$core" '
        BEGIN {
            split(folders, f, " ");
            for (i in f) known[f[i]] = 1;
            split(allowed, a, " ");
            for (i in a) ok[a[i]] = 1;
            ok[self] = 1;
            split(core, c, " ");
            qtfree = 0;
            for (i in c) if (c[i] == self) qtfree = 1;
            posixheaders = "^(unistd|fcntl|pwd|grp|dirent|dlfcn|poll|termios|pthread|spawn|syslog|glob|fnmatch|libgen|utime|sched|semaphore|netdb|signal|ftw|wordexp|sys/.*|netinet/.*|arpa/.*)\\.h$";
            windowsheaders = "^(windows|winbase|winnt|winreg|winerror|fileapi|handleapi|processenv|aclapi|sddl|accctrl|shlobj|shellapi|knownfolders|io|direct|conio|winioctl|ntdef|ntstatus|restartmanager|lmcons)\\.h$";
            posixcalls = "(^|[^A-Za-z0-9_])(localtime_r|gmtime_r|readlink|readlinkat|realpath|strerror_r|fileno|popen|pclose|mkstemp|mkdtemp|setenv|unsetenv|geteuid|getuid|getpid|isatty|flock|fsync|pread|pwrite|openat|fstatat|dlopen|dlsym)[ \t]*\\(";
        }
        FNR == 1 {
            inposix = FILENAME ~ /(^|\/)posix\//;
            inwin32 = FILENAME ~ /(^|\/)win32\//;
            comment = 0;
        }
        {
            code = $0;
            if (comment) {
                if (index(code, "*/") == 0) next;
                code = substr(code, index(code, "*/") + 2);
                comment = 0;
            }
            sub(/\/\/.*$/, "", code);
            gsub(/"([^"\\]|\\.)*"/, "\"\"", code);
            if (index(code, "/*") > 0) {
                if (index(substr(code, index(code, "/*")), "*/") == 0) comment = 1;
                code = substr(code, 1, index(code, "/*") - 1);
            }
            if (!inposix && code !~ /^[ \t]*#/ && code ~ posixcalls) {
                print FILENAME ":" FNR ": " $0 "   (a POSIX call outside a posix/ folder)";
                bad = 1;
            }
        }
        /^[ \t]*#[ \t]*include[ \t]*[<"]/ {
            line = $0;
            sub(/^[ \t]*#[ \t]*include[ \t]*/, "", line);
            angle = substr(line, 1, 1) == "<";
            name = substr(line, 2);
            sub(/[>"].*$/, "", name);
            if (qtfree && angle && name ~ /^Q/) {
                print FILENAME ":" FNR ": " $0 "   (no Qt in the core)";
                bad = 1;
                next;
            }
            # <fcntl.h> is also a header of the Windows C runtime (_O_BINARY, for _setmode).
            if (angle && !inposix && name ~ posixheaders && !(inwin32 && name == "fcntl.h")) {
                print FILENAME ":" FNR ": " $0 "   (a POSIX header outside a posix/ folder)";
                bad = 1;
                next;
            }
            if (angle && !inwin32 && tolower(name) ~ windowsheaders) {
                print FILENAME ":" FNR ": " $0 "   (a Windows header outside a win32/ folder)";
                bad = 1;
                next;
            }
            if (!angle && !inposix && name ~ /(^|\/)posix\//) {
                print FILENAME ":" FNR ": " $0 "   (the POSIX half is included only by itself)";
                bad = 1;
                next;
            }
            if (!angle && !inwin32 && name ~ /(^|\/)win32\//) {
                print FILENAME ":" FNR ": " $0 "   (the Windows half is included only by itself)";
                bad = 1;
                next;
            }
            while (name ~ /^\.\.?\//) sub(/^\.\.?\//, "", name);
            if (index(name, "/") == 0) next;  # beside the including file
            top = substr(name, 1, index(name, "/") - 1);
            if ((top in known) && !(top in ok)) {
                print FILENAME ":" FNR ": " $0 "   (" self "/ may not include " top "/)";
                bad = 1;
            }
        }
        END { exit bad }
    ' $files || status=1
done
if [ "$status" -ne 0 ]; then
    echo "check-layers: includes that point up the layers, or platform code outside its half" \
        "(see scripts/check-layers.sh)" >&2
fi
exit "$status"
