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
attributes:
  check_mode:
    support: full
    description: It changes nothing either way.
  diff_mode:
    support: none
    description: Nothing is changed, so there is nothing to show.
  platform:
    support: full
    platforms: posix
    description: The managed host runs C(converter-cli); Linux is tested.
author:
  - The converter-config developers (@converter-config)
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
      the fields of C(converter-cli search --format json), named with
      underscores (C(remote_port)) so that C(item.remote_port) works.
  returned: success
  type: list
  elements: dict
  contains:
    mac: {description: "The MAC, as 02:AB:00:00:00:01.", type: str}
    name: {description: The name., type: str}
    name_hex: {description: The name's bytes in hexadecimal., type: str}
    version: {description: The firmware version., type: str}
    reply_from: {description: The address the answer came from., type: str}
    interface: {description: The host's adapter it arrived on., type: str}
    mode: {description: "udp, tcp-client, udp-server or tcp-server.", type: str}
    ip_type: {description: static or dhcp., type: str}
    ip: {description: Its own address., type: str}
    subnet: {description: The subnet mask., type: str}
    gateway: {description: The gateway., type: str}
    local_port: {description: The local port (0 is random)., type: int}
    remote_ip: {description: The remote address., type: str}
    remote_port: {description: The remote port., type: int}
    baud: {description: The baud rate., type: int}
    parity: {description: "none, odd, even (mark or space as reported).", type: str}
    data_bits: {description: 7 or 8 (5 or 6 as reported)., type: int}
    stop_bits: {description: 1 or 2., type: int}
    problems:
      description: The segment check's problems of this converter (duplicate-ip, host-address, ...).
      type: list
      elements: dict
    last_test:
      description:
        - Its newest data-path test in the host's journal (C(converter-cli test)),
          with C(time), C(result) (connected, loopback-ok, loopback-failed,
          refused, unreachable, untested) and C(figures); null when it was never tested.
      type: dict
  sample:
    - mac: "02:AB:00:00:00:01"
      name: "Boiler-1"
      name_hex: "426f696c65722d31"
      version: "1.2"
      reply_from: "10.1.2.21"
      interface: "eth1"
      mode: "tcp-client"
      ip_type: "static"
      ip: "10.1.2.21"
      subnet: "255.255.255.0"
      gateway: "10.1.2.1"
      local_port: 4001
      remote_ip: "10.1.2.100"
      remote_port: 5001
      baud: 9600
      parity: "none"
      data_bits: 8
      stop_bits: 1
      problems: []
"""

import json

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.converter_config.converters.plugins.module_utils.converter_cli import (
    COMMON_OPTIONS, DONE, NOTHING_FOUND, check_ranges, message, run, snake_case)


def main():
    module = AnsibleModule(argument_spec=dict(COMMON_OPTIONS), supports_check_mode=True)
    check_ranges(module)
    rc, data, err = run(module, "search")
    if rc == NOTHING_FOUND:
        module.exit_json(changed=False, converters=[])
    if rc != DONE or data is None:
        module.fail_json(msg=message(err, rc), rc=rc)
    converters = [snake_case(c) for c in data]
    tests = last_tests(module)
    for c in converters:
        c["last_test"] = tests.get(c["mac"])
    module.exit_json(changed=False, converters=converters)


def last_tests(module):
    """Each MAC's newest data-path test, as converter-cli history reads the
    journal; none when the journal cannot be read."""
    executable = module.get_bin_path(module.params["executable"], required=True)
    rc, out, dummy = module.run_command([executable, "history", "--format", "json"],
                                        encoding="utf-8",
                                        environ_update={"LC_ALL": "C.UTF-8", "LANGUAGE": ""})
    try:
        rows = json.loads(out) if rc == DONE else []
    except ValueError:
        rows = []
    # Oldest first: a later test of a MAC replaces an earlier one.
    return {row["mac"]: {"time": row["time"], "result": row["result"],
                         "figures": row.get("figures", {})}
            for row in rows if row.get("kind") == "test"}


if __name__ == "__main__":
    main()
