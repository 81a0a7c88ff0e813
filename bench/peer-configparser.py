#!/usr/bin/env python3
"""Python's configparser as a peer of tacconf, used as its documentation shows, with strict=False
(documents may repeat sections and keys, which the default refuses):
  get FILE SECTION KEY         read the file, print one value
  set FILE SECTION KEY VALUE   read the file, set one value, write the whole file back durably
                               (a new file in the same folder, flushed to disk, renamed over FILE)
The file is read and written as Latin-1, so that every byte is carried whatever the encoding.
"""
import configparser
import os
import sys
import tempfile


def main():
    if len(sys.argv) not in (5, 6) or sys.argv[1] not in ("get", "set"):
        raise SystemExit(__doc__)
    command, path, section, key = sys.argv[1:5]
    parser = configparser.ConfigParser(strict=False)
    try:
        with open(path, encoding="latin-1") as source:
            parser.read_file(source, path)
    except (OSError, configparser.Error) as error:
        raise SystemExit(f"peer-configparser: cannot read {path}: {error}")
    if command == "get":
        print(parser.get(section, key, fallback=""))
        return
    if not parser.has_section(section):
        parser.add_section(section)
    parser.set(section, key, sys.argv[5])
    folder = os.path.dirname(os.path.abspath(path))
    fd, temp = tempfile.mkstemp(dir=folder, prefix=".peer-configparser-")
    try:
        with os.fdopen(fd, "w", encoding="latin-1") as target:
            parser.write(target)
            target.flush()
            os.fsync(target.fileno())
        os.replace(temp, path)
    except OSError as error:
        os.unlink(temp)
        raise SystemExit(f"peer-configparser: cannot write {path}: {error}")


if __name__ == "__main__":
    main()
