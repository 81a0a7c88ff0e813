#!/usr/bin/python
# -*- coding: utf-8 -*-
# Copyright: TAV Configuration Manager developers; MIT licence (see LICENSE)
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: tac_info
short_description: Read a .tac configuration document as structured data
version_added: "1.0.0"
description:
  - Returns the document as the editor shows it, in the form of C(tacconf dump --json), with every
    catalogued section with its fields (key, label, type, place in the Order list, value) and the
    replacement entries; booleans are true and false.
  - Also returns the values by C(SECTION.KEY), for use in conditions and templates.
  - Reads only; runs C(tacconf) on the managed host.
attributes:
  check_mode:
    support: full
  diff_mode:
    support: none
extends_documentation_fragment:
  - tavmanager.tac.tacconf
author:
  - TAV Configuration Manager developers (@tavmanager)
"""

EXAMPLES = r"""
- name: Read the capture settings
  tavmanager.tac.tac_info:
    path: /srv/sites/{{ inventory_hostname }}/capture.tac
  register: capture

- name: Say which sites beep
  ansible.builtin.debug:
    msg: "{{ inventory_hostname }} beeps"
  when: capture.settings["General.Beep"]
"""

RETURN = r"""
document:
  description: The document as C(tacconf dump --json) prints it (format 1).
  type: dict
  returned: always
settings:
  description: Every value by C(SECTION.KEY) (entries as C(SECTION.rN.from) and C(SECTION.rN.to)).
  type: dict
  returned: always
  sample: {"General.Beep": true, "General.Title": "Capture"}
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.tavmanager.tac.plugins.module_utils.tacconf import (
    COMMON_ARGUMENTS,
    Tacconf,
)


def main():
    module = AnsibleModule(argument_spec=dict(COMMON_ARGUMENTS), supports_check_mode=True)
    tacconf = Tacconf(module)
    path = module.params["path"]
    document, _ = tacconf.run_json("dump", ["--json", "--", path])
    listing, _ = tacconf.run_json("get", ["--json", "--all", "--", path])
    values = dict((item["key"], item["value"]) for item in listing["values"])
    module.exit_json(changed=False, document=document, settings=values)


if __name__ == "__main__":
    main()
