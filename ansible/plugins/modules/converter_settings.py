#!/usr/bin/python
# -*- coding: utf-8 -*-
# MIT licence (see the project's LICENSE).

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: converter_settings
short_description: Set a serial-to-Ethernet converter's settings, verified
version_added: "1.0.0"
description:
  - Makes one converter, named by its MAC, hold the settings given, through
    C(converter-cli) on a managed host in the converter's network segment.
  - Idempotent. When the converter already reports every value given,
    nothing is sent and C(changed) is false. Otherwise one configure frame
    carries the changed settings (everything else as the converter reports
    it), and the converter is read back until it reports them; a write that
    does not verify fails the task, never reports success.
  - Bad input fails the task with C(converter-cli)'s message and sends no
    configure frame. Input that is bad whatever the converter reports (a
    malformed address, a choice that does not exist) fails before even a
    search probe; a value that a converter may hold but an operator may not
    write (a remote port of 0, a baud rate of 50) fails after the converter
    has answered, unless it holds that value already.
options:
  mac:
    description: The converter's MAC address, 12 hexadecimal digits, with or without C(:) or C(-).
    type: str
    required: true
  name:
    description: The name, at most 10 bytes in UTF-8.
    type: str
  mode:
    description: The work mode.
    type: str
    choices: [udp, tcp-client, udp-server, tcp-server]
  ip_type:
    description: A static address or one from DHCP.
    type: str
    choices: [static, dhcp]
  ip:
    description: The converter's own IPv4 address.
    type: str
  subnet:
    description: The subnet mask.
    type: str
  gateway:
    description: The gateway's IPv4 address.
    type: str
  local_port:
    description: The local port, 1 to 65535, or 0 for a random one.
    type: int
  remote_ip:
    description: The remote IPv4 address.
    type: str
  remote_port:
    description: The remote port, 1 to 65535.
    type: int
  baud:
    description: The baud rate, 100 to 2000000.
    type: int
  parity:
    description:
      - The parity. C(mark) and C(space) are accepted only where the converter
        reports that value already (no change), as with C(converter-cli).
    type: str
    choices: [none, odd, even, mark, space]
  data_bits:
    description:
      - Data bits. 5 and 6 are accepted only where the converter reports that
        value already (no change), as with C(converter-cli).
    type: int
    choices: [5, 6, 7, 8]
  stop_bits:
    description: Stop bits.
    type: int
    choices: [1, 2]
  verify_timeout:
    description: How long to wait for the converter to report what was written, 0 to 3600000 milliseconds.
    type: int
    default: 10000
  retries:
    description: Frames sent again to a converter that does not take one, 0 to 100.
    type: int
    default: 2
  force:
    description:
      - Write even when converter-cli's segment check refuses the write.
      - Before every write, converter-cli checks what every converter it finds would hold
        afterwards, and refuses a write that gives this converter a new problem (the address
        of another converter or of the managed host, its subnet's network or broadcast
        address, a mask with holes, a gateway outside its subnet). The task then fails
        with converter-cli's message and nothing is sent; check mode reports the same.
    type: bool
    default: false
extends_documentation_fragment:
  - converter_config.converters.converter_cli
attributes:
  check_mode:
    support: full
    description: Sends no configure frame and returns what would change.
  diff_mode:
    support: full
    description: Shows the changed fields before and after.
  platform:
    support: full
    platforms: posix
    description: The managed host runs C(converter-cli); Linux is tested.
notes:
  - A write that left but did not verify (the converter kept a value, or did
    not answer in time) fails the task with C(changed=true), since the
    converter may have changed. So does a write whose frame left but whose
    record (the journal's outcome line) could not be kept. Only a write
    refused before anything was sent fails with C(changed=false).
  - Every write is journaled by C(converter-cli) on the managed host;
    C(converter-cli revert --batch BATCH) there undoes it.
author:
  - The converter-config developers (@converter-config)
"""

EXAMPLES = r"""
- name: The boiler's converter talks to the new controller
  converter_config.converters.converter_settings:
    mac: "02:AB:00:00:00:01"
    remote_ip: 10.1.2.100
    remote_port: 5001
    baud: 9600
    interface: eth1

- name: Every converter of the site, from host variables
  converter_config.converters.converter_settings:
    mac: "{{ item.mac }}"
    ip: "{{ item.ip | default(omit) }}"
    baud: "{{ item.baud | default(omit) }}"
  loop: "{{ converters }}"

# Quote names that YAML would read as numbers: an unquoted 0012 is the
# number 12 (octal 10 in YAML 1.1), and the converter would be named "10".
- name: A name of digits
  converter_config.converters.converter_settings:
    mac: "02:AB:00:00:00:03"
    name: "0012"
"""

RETURN = r"""
mac:
  description: The converter, as converter-cli prints MACs.
  returned: when the converter answered
  type: str
  sample: "02:AB:00:00:00:01"
result:
  description:
    - C(unchanged) or C(verified); in check mode C(would-change); on a failed
      write C(differs) (the converter reports other values) or C(no-answer).
  returned: when the converter answered
  type: str
  sample: verified
changes:
  description:
    - Each field that the write changed (or would change, in check mode), with
      the value wanted and the value the converter reported before.
  returned: when the converter answered
  type: list
  elements: dict
  contains:
    field: {description: "The field, as converter-cli names it.", type: str}
    wanted: {description: The value written., type: raw}
    reported: {description: The value the converter reported before., type: raw}
  sample:
    - field: baud
      wanted: 9600
      reported: 115200
drift:
  description: The same, one line per field, for reports across sites.
  returned: when the converter answered
  type: list
  elements: str
  sample:
    - "02:AB:00:00:00:01 baud: wanted 9600, reported 115200"
diff:
  description: The changed fields before and after, when Ansible runs in diff mode.
  returned: in diff mode, when something changed
  type: dict
batch:
  description:
    - The batch of converter-cli's write journal on the managed host; C(converter-cli revert
      --batch BATCH) there undoes the write.
  returned: when a frame was sent
  type: str
  sample: "20261208T110634687-b47850"
"""

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.converter_config.converters.plugins.module_utils.converter_cli import (
    COMMON_OPTIONS, DONE, NOT_RECORDED, NOTHING_SENT, check_ranges, message, run)

# Module option -> converter-cli field.
SETTINGS = ["name", "mode", "ip_type", "ip", "subnet", "gateway", "local_port", "remote_ip",
            "remote_port", "baud", "parity", "data_bits", "stop_bits"]


def main():
    options = dict(
        COMMON_OPTIONS,
        mac=dict(type="str", required=True),
        name=dict(type="str"),
        mode=dict(type="str", choices=["udp", "tcp-client", "udp-server", "tcp-server"]),
        ip_type=dict(type="str", choices=["static", "dhcp"]),
        ip=dict(type="str"),
        subnet=dict(type="str"),
        gateway=dict(type="str"),
        local_port=dict(type="int"),
        remote_ip=dict(type="str"),
        remote_port=dict(type="int"),
        baud=dict(type="int"),
        parity=dict(type="str", choices=["none", "odd", "even", "mark", "space"]),
        data_bits=dict(type="int", choices=[5, 6, 7, 8]),
        stop_bits=dict(type="int", choices=[1, 2]),
        verify_timeout=dict(type="int", default=10000),
        retries=dict(type="int", default=2),
        force=dict(type="bool", default=False),
    )
    module = AnsibleModule(argument_spec=options, supports_check_mode=True)
    p = module.params
    check_ranges(module)
    pairs = ["%s=%s" % (key.replace("_", "-"), p[key]) for key in SETTINGS if p[key] is not None]
    if not pairs:
        module.fail_json(msg="no setting given for %s" % p["mac"])
    if p["force"]:
        pairs.append("--force")

    # What would change: converter-cli checks the values, finds the
    # converter and compares, and sends no frame.
    rc, plan, err = run(module, "set", p["mac"], *(pairs + ["--dry-run"]))
    if rc != DONE or not plan:
        module.fail_json(msg="%s: nothing was written: %s" % (p["mac"], message(err, rc)), rc=rc,
                         changed=False)
    line = plan[0]
    outcome = outcome_of(module, line["mac"], line["fields"])
    if line["result"] == "unchanged":
        module.exit_json(changed=False, result="unchanged", **outcome_of(module, line["mac"], []))
    if module.check_mode:
        module.exit_json(changed=True, result="would-change", **outcome)

    rc, report, err = run(module, "set", p["mac"], *(pairs + [
        "--verify-timeout", str(p["verify_timeout"]), "--retries", str(p["retries"])]))
    result = report[0]["result"] if report else None
    if result == "unchanged":  # someone else wrote the same values meanwhile
        outcome = outcome_of(module, line["mac"], [])
    if report and report[0].get("batch"):
        outcome["batch"] = report[0]["batch"]
    if rc == DONE and result in ("verified", "unchanged"):
        module.exit_json(changed=result == "verified", result=result, **outcome)
    if rc == NOT_RECORDED:  # the frame left: the converter may hold it now
        module.fail_json(msg="%s: written, but its record could not be kept: %s"
                         % (line["mac"], message(err, rc)), rc=rc, changed=True, result=result,
                         **outcome)
    if rc in NOTHING_SENT or not report:
        module.fail_json(msg="%s: nothing was written: %s" % (line["mac"], message(err, rc)),
                         rc=rc, changed=False, **outcome)
    detail = ""
    # A write lists every field it wrote; those the converter reports otherwise say why.
    differ = [f for f in report[0]["fields"] if "reported" in f and f["reported"] != f["sent"]]
    if differ:
        detail = " (%s)" % ", ".join("%s sent %s, reported %s" % (f["field"], f["sent"], f["reported"])
                                     for f in differ)
    # A frame left: the converter may hold some of it now.
    module.fail_json(msg="%s: written, but the write did not verify: %s%s; %s"
                     % (line["mac"], result, detail, message(err, rc)),
                     rc=rc, changed=True, result=result, **outcome)


def outcome_of(module, mac, fields):
    """What a run returns about the fields it changed; diff only when asked."""
    changes = [dict(field=f["field"], wanted=f["after"], reported=f["before"]) for f in fields]
    outcome = dict(mac=mac, changes=changes,
                   drift=["%s %s: wanted %s, reported %s"
                          % (mac, c["field"], c["wanted"], c["reported"]) for c in changes])
    if module._diff and changes:
        outcome["diff"] = dict(
            before="".join("%s: %s\n" % (c["field"], c["reported"]) for c in changes),
            after="".join("%s: %s\n" % (c["field"], c["wanted"]) for c in changes),
            before_header=mac, after_header=mac)
    return outcome


if __name__ == "__main__":
    main()
