#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: TAV Configuration Manager developers; MIT licence (see LICENSE)
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: tac_replacements
short_description: Make the replacement list of a .tac document exactly a given list
version_added: "1.0.0"
description:
  - Makes the string replacement list of a .tac document (the entries of the catalogue's
    replacement section) exactly the given list of from-text, to-text pairs, in order.
  - Runs C(tacconf) on the managed host, changing the list in one write and keeping every other
    byte of the document, its metadata and its lock as M(tavmanager.tac.tac_set) does. A list that
    is already as given writes nothing.
  - The list holds at most 13 entries; a longer one is refused with nothing written.
options:
  replacements:
    description: The entries, in order; an empty list empties the replacement list.
    type: list
    elements: dict
    required: true
    suboptions:
      from:
        description: The text to replace (it may hold commas).
        type: str
        required: true
      to:
        description: The text it is replaced by.
        type: str
        default: ""
  backup:
    description: Keep a copy of the document before a write that changes it.
    type: bool
    default: false
attributes:
  check_mode:
    support: full
  diff_mode:
    support: full
extends_documentation_fragment:
  - tavmanager.tac.tacconf
author:
  - TAV Configuration Manager developers (@tavmanager)
"""

EXAMPLES = r"""
- name: The same replacements at every site
  tavmanager.tac.tac_replacements:
    path: /srv/sites/{{ inventory_hostname }}/capture.tac
    replacements:
      - {from: "Dept, Sales", to: "Sales department"}
      - {from: "FO", to: "Front office"}
"""

RETURN = r"""
changed:
  description: Whether the document's bytes changed (in check mode, whether they would).
  type: bool
  returned: always
before:
  description: The list as it was, as from/to pairs.
  type: list
  elements: dict
  returned: always
after:
  description: The list as it is now (in check mode, as it would be).
  type: list
  elements: dict
  returned: always
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
)


def replacement_section(document):
    """The replacement section of a dump: the one with a list of replacements."""
    for section in document["sections"]:
        if "replacements" in section:
            return section
    return None


def pairs_for(section, current, wanted):
    """The SECTION.KEY VALUE pairs of tacconf set that turn `current` into `wanted`: each kept
    entry's texts set, each new entry appended (then its texts set, so commas need no escape),
    and the entries past the new end deleted from the last one back."""
    pairs = []
    for n, entry in enumerate(wanted):
        key = "%s.r%d" % (section, n)
        if n >= len(current):
            pairs += [key, "new,entry"]
        pairs += [key + ".from", entry["from"], key + ".to", entry["to"]]
    for n in reversed(range(len(wanted), len(current))):
        pairs += ["%s.r%d" % (section, n), ""]
    return pairs


def main():
    arguments = dict(COMMON_ARGUMENTS)
    arguments.update(
        replacements=dict(
            type="list",
            elements="dict",
            required=True,
            options={"from": dict(type="str", required=True), "to": dict(type="str", default="")},
        ),
        backup=dict(type="bool", default=False),
    )
    module = AnsibleModule(argument_spec=arguments, supports_check_mode=True)
    tacconf = Tacconf(module)
    path = module.params["path"]
    wanted = [{"from": e["from"], "to": e["to"]} for e in module.params["replacements"]]

    document, _ = tacconf.run_json("dump", ["--json", "--", path])
    section = replacement_section(document)
    if section is None:
        module.fail_json(msg="the catalogues have no replacement section")
    current = [{"from": e["from"], "to": e["to"]} for e in section["replacements"]]
    response = dict(changed=False, before=current, after=wanted)
    if module._diff:
        response["diff"] = dict(prepared="")
    if current == wanted:
        module.exit_json(**response)

    # tacconf entry keys beyond r9 are written r10, r11, r12 (it takes them for r:, r; and r<).
    pairs = pairs_for(section["name"], current, wanted)
    result, backup_file = tacconf.set([], pairs, module.params["backup"])
    if backup_file:
        response["backup_file"] = backup_file
    response["changed"] = result["changed"]
    if module._diff:
        response["diff"] = dict(prepared=result.get("diff", ""))
    module.exit_json(**response)


if __name__ == "__main__":
    main()
