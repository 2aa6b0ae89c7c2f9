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
      - Search (and write) only through this network adapter of the managed
        host (default every IPv4 adapter that is up and can broadcast).
    type: str
  timeout:
    description: How long a search waits for answers, in milliseconds.
    type: int
    default: 1000
  executable:
    description: The C(converter-cli) program, by name on the PATH or by path.
    type: path
    default: converter-cli
requirements:
  - converter-cli (the converter-config Debian package) on the managed host
"""
