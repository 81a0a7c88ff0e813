# -*- coding: utf-8 -*-
# Running tacconf on the managed host for the modules of this collection: every read and write of
# a .tac document goes through it, so its saves' guarantees (every other byte kept, the file's
# owner, mode, ACL and links kept, the lock, no lost concurrent change) hold under Ansible too.
# Copyright: TAV Configuration Manager developers; MIT licence (see LICENSE)
from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os

# The options every module of the collection shares, for its argument_spec.
COMMON_ARGUMENTS = dict(
    path=dict(type="path", required=True, aliases=["dest"]),
    catalogues=dict(type="path"),
    encoding=dict(type="str", choices=["utf-8", "windows-1252"]),
    tacconf=dict(type="path"),
)

# The JSON format of tacconf's outputs these modules read.
JSON_FORMAT = 1


class Tacconf(object):
    """tacconf on the managed host, with the catalogue folder and encoding the task names."""

    def __init__(self, module):
        self.module = module
        given = module.params.get("tacconf")
        if given:
            self.program = given if os.access(given, os.X_OK) else None
        else:
            self.program = module.get_bin_path("tacconf")
        if not self.program:
            module.fail_json(
                msg="tacconf is not installed on the managed host%s (it is in the tavmanager "
                "package; or name the program with the tacconf option)"
                % (": no program " + given if given else "")
            )

    def _options(self):
        options = []
        if self.module.params.get("catalogues"):
            options += ["--catalogues", self.module.params["catalogues"]]
        if self.module.params.get("encoding"):
            options += ["--encoding", self.module.params["encoding"]]
        return options

    def run(self, command, arguments, expect=(0,)):
        """Runs `tacconf OPTIONS COMMAND ARGUMENTS`; fails the task on an exit status not in
        `expect`, with tacconf's own message. Returns (exit status, output, errors)."""
        words = [self.program] + self._options() + [command] + list(arguments)
        rc, out, err = self.module.run_command(words, encoding="utf-8", errors="replace")
        if rc not in expect:
            message = err.strip() or out.strip() or "exit status %d" % rc
            self.module.fail_json(msg=message, rc=rc, cmd=words)
        return rc, out, err

    def run_json(self, command, arguments, expect=(0,)):
        """As run, with the output read as one JSON object of the format these modules know."""
        rc, out, err = self.run(command, arguments, expect)
        try:
            result = json.loads(out)
        except ValueError as error:
            self.module.fail_json(msg="tacconf %s printed no JSON: %s" % (command, error), stdout=out)
        if result.get("format") != JSON_FORMAT:
            self.module.fail_json(
                msg="tacconf %s printed JSON format %s; this collection reads format %d"
                % (command, result.get("format"), JSON_FORMAT)
            )
        return result, err

    def set(self, options, pairs, backup):
        """Runs `tacconf set --json --diff OPTIONS -- PATH PAIRS` for the task's document as the
        task asks: in check mode a dry run only; with `backup`, a dry run first and, when the
        existing document is to change, a copy of it before the write. Returns the JSON result
        and the copy's name (None without one)."""
        path = self.module.params["path"]
        # Everything after "--" is the document and its pairs, whatever it looks like.
        words = ["--json", "--diff"] + list(options) + ["--", path] + list(pairs)
        if not (self.module.check_mode or backup):
            return self.run_json("set", words)[0], None
        preview, _ = self.run_json("set", ["--dry-run"] + words)
        if self.module.check_mode or not preview["changed"]:
            return preview, None
        backup_file = None if preview["created"] else self.module.backup_local(path)
        return self.run_json("set", words)[0], backup_file


def setting_text(value):
    """A task's value as tacconf takes it: booleans as True and False, nothing as empty text."""
    if isinstance(value, bool):
        return "True" if value else "False"
    if value is None:
        return ""
    return str(value)
