# -*- coding: utf-8 -*-
# The options every module of the collection shares (module_utils/tacconf.py COMMON_ARGUMENTS),
# documented once.
# Copyright: TAV Configuration Manager developers; MIT licence (see LICENSE)
from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    DOCUMENTATION = r"""
options:
  path:
    description: The .tac document.
    type: path
    required: true
    aliases: [dest]
  catalogues:
    description: The folder of Sections.txt and Fields.txt; without it, tacconf's own search.
    type: path
  encoding:
    description: Read the document in this encoding instead of the one its bytes show.
    type: str
    choices: [utf-8, windows-1252]
  tacconf:
    description: The tacconf program on the managed host; without it, C(tacconf) on the PATH.
    type: path
"""
