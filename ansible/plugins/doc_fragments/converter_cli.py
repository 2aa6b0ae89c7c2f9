# -*- coding: utf-8 -*-
# The options every module of the collection shares: how converter-cli is
# found and how it searches. MIT licence (see the project's LICENSE).

from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    DOCUMENTATION = r"""
options:
  interface:
    description:
      - Search only through this network adapter of the managed host (and,
        for a module that writes, write only through it); by default every
        adapter that is up and can broadcast.
    type: str
  timeout:
    description: How long a search waits for answers, 0 to 600000 milliseconds.
    type: int
    default: 1000
  executable:
    description: The C(converter-cli) program, by name on the PATH or by path.
    type: path
    default: converter-cli
requirements:
  - converter-cli (the converter-config Debian package) on the managed host
"""
