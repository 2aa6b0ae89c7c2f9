#!/usr/bin/python
# -*- coding: utf-8 -*-
# MIT licence (see the project's LICENSE).

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: converter_info
short_description: Find the serial-to-Ethernet converters in the host's network segment
version_added: "1.0.0"
description:
  - Sends one search probe with C(converter-cli) on the managed host and
    returns every converter that answers within the timeout, in order of
    arrival, with every field of C(converter-cli search --format json).
  - Broadcasts do not cross routers, so the host must sit in the converters'
    network segment.
  - Sends no configure frame; never changes anything.
extends_documentation_fragment:
  - converter_config.converters.converter_cli
notes:
  - Supports check mode; it changes nothing either way.
author:
  - The converter-config developers
"""

EXAMPLES = r"""
- name: Find the converters of this site
  converter_config.converters.converter_info:
    interface: eth1
  register: found

- name: List their addresses
  ansible.builtin.debug:
    msg: "{{ found.converters | map(attribute='ip') | list }}"
"""

RETURN = r"""
converters:
  description:
    - Every converter that answered, once each, in order of arrival, with
      the keys of C(converter-cli search --format json).
  returned: always
  type: list
  elements: dict
  sample:
    - mac: "02:AB:00:00:00:01"
      name: "Boiler-1"
      name-hex: "426f696c65722d31"
      version: "1.2"
      reply-from: "10.1.2.21"
      interface: "eth1"
      mode: "tcp-client"
      ip-type: "static"
      ip: "10.1.2.21"
      subnet: "255.255.255.0"
      gateway: "10.1.2.1"
      local-port: 4001
      remote-ip: "10.1.2.100"
      remote-port: 5001
      baud: 9600
      parity: "none"
      data-bits: 8
      stop-bits: 1
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.converter_config.converters.plugins.module_utils.converter_cli import (
    COMMON_OPTIONS, DONE, NOTHING_FOUND, message, run)


def main():
    module = AnsibleModule(argument_spec=dict(COMMON_OPTIONS), supports_check_mode=True)
    rc, data, err = run(module, "search")
    if rc == NOTHING_FOUND:
        module.exit_json(changed=False, converters=[])
    if rc != DONE or data is None:
        module.fail_json(msg=message(err, rc), rc=rc)
    module.exit_json(changed=False, converters=data)


if __name__ == "__main__":
    main()
