#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: TAV Configuration Manager developers; MIT licence (see LICENSE)
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: tac_set
short_description: Set settings of a .tac configuration document, keeping every other byte
version_added: "1.0.0"
description:
  - Sets the values of catalogued settings of a .tac document, addressed as C(SECTION.KEY), all
    at once; when one value is refused, nothing is written.
  - Runs C(tacconf set) on the managed host. Only the keys named change; comments, unknown keys,
    line endings (CR LF stays CR LF), the document's encoding (UTF-8 or Windows-1252) and every
    other byte stay as they are. The file keeps its owner, group, mode, ACL, extended attributes
    and hard links; the write holds the document's lock, so an editor or another tacconf saving
    the same file loses nothing.
  - A value the document already has writes nothing, so a second run reports no change and
    leaves the file's time stamps alone.
  - Values are checked against the catalogues (Sections.txt and Fields.txt); a True/False field
    takes exactly C(True) or C(False) (YAML booleans are passed so), and the message of a refused
    value is tacconf's.
options:
  settings:
    description:
      - The values to set, by C(SECTION.KEY) (for replacement entries C(SECTION.rN),
        C(SECTION.rN.from) or C(SECTION.rN.to), as C(tacconf set) takes them).
      - Booleans are written as True and False, numbers as text, null as empty text.
    type: dict
    required: true
  create:
    description: Make the document when it does not exist, holding only the settings given.
    type: bool
    default: false
  mode:
    description: The permission bits, in octal (such as C("0640")), of a document C(create) makes.
    type: str
  backup:
    description:
      - Keep a copy of the document, with a time stamp in its name, before a write that changes it.
    type: bool
    default: false
  wait:
    description: Seconds to wait for a lock another program holds on the document.
    type: float
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
notes:
  - Needs the tavmanager package (tacconf) on the managed host.
extends_documentation_fragment:
  - tavmanager.tac.tacconf
author:
  - TAV Configuration Manager developers (@tavmanager)
"""

EXAMPLES = r"""
- name: Title and beep of every site's capture settings
  tavmanager.tac.tac_set:
    path: /srv/sites/{{ inventory_hostname }}/capture.tac
    settings:
      General.Title: "Capture {{ inventory_hostname }}"
      General.Beep: false
      Columns.FontSize: 11
    backup: true
"""

RETURN = r"""
changed:
  description: Whether the document's bytes changed (in check mode, whether they would).
  type: bool
  returned: always
created:
  description: Whether the document was made by C(create).
  type: bool
  returned: always
settings:
  description: Each setting given, with its value before and after, as C(tacconf get) prints them.
  type: list
  elements: dict
  returned: always
  sample: [{"key": "General.Beep", "before": "True", "after": "False"}]
diff:
  description: The unified diff of the lines the write changes (in diff mode).
  type: dict
  returned: when diff mode is on
backup_file:
  description: The copy C(backup) made.
  type: str
  returned: when a backup was made
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.tavmanager.tac.plugins.module_utils.tacconf import (
    COMMON_ARGUMENTS,
    Tacconf,
    setting_text,
)


def main():
    arguments = dict(COMMON_ARGUMENTS)
    arguments.update(
        settings=dict(type="dict", required=True),
        create=dict(type="bool", default=False),
        mode=dict(type="str"),
        backup=dict(type="bool", default=False),
        wait=dict(type="float"),
    )
    module = AnsibleModule(argument_spec=arguments, supports_check_mode=True)
    if not module.params["settings"]:
        module.fail_json(msg="settings names no setting")
    tacconf = Tacconf(module)
    options = []
    if module.params["create"]:
        options.append("--create")
    if module.params["mode"] is not None:
        options += ["--mode", module.params["mode"]]
    if module.params["wait"] is not None:
        options += ["--wait", str(module.params["wait"])]
    pairs = []
    for key, value in module.params["settings"].items():
        pairs += [key, setting_text(value)]
    result, backup_file = tacconf.set(options, pairs, module.params["backup"])

    response = dict(
        changed=result["changed"],
        created=result["created"],
        settings=result["settings"],
    )
    if module._diff:
        response["diff"] = dict(prepared=result.get("diff", ""))
    if backup_file:
        response["backup_file"] = backup_file
    module.exit_json(**response)


if __name__ == "__main__":
    main()
