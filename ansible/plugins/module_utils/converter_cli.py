# -*- coding: utf-8 -*-
# Running converter-cli on the managed host: the one program these modules
# drive, so that every check and every verified write is converter-cli's own.
# MIT licence (see the project's LICENSE).

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import re

# converter-cli's exit statuses.
DONE = 0
NOTHING_FOUND = 1
BAD_INPUT = 2
NOT_ANSWERED = 3
NOT_VERIFIED = 4
JOURNAL = 5
NO_ADAPTER = 6
NOT_RECORDED = 7  # frames left, but their journal outcome or results were not written

# The statuses after which no configure frame has left.
NOTHING_SENT = (BAD_INPUT, NOT_ANSWERED, JOURNAL, NO_ADAPTER)

# The same ranges as converter-cli's options, checked before any search.
RANGES = dict(timeout=(0, 600000), verify_timeout=(0, 3600000), retries=(0, 100))

COMMON_OPTIONS = dict(
    interface=dict(type="str"),
    timeout=dict(type="int", default=1000),
    executable=dict(type="path", default="converter-cli"),
)

# converter-cli's summary lines, which are not messages.
SUMMARY = re.compile(r"^converter-cli: (\d+ verified, \d+ differ, \d+ no answer, \d+ sent "
                     r"unverified, (\d+ not sent, )?\d+ unchanged; .*|dry run: \d+ frame\(s\) not sent, "
                     r"\d+ unchanged)$")


def check_ranges(module):
    """Fails the task, before anything is sent, for a number out of range."""
    for name, (low, high) in RANGES.items():
        value = module.params.get(name)
        if value is not None and not low <= value <= high:
            module.fail_json(msg="%s must be from %d to %d, not %d" % (name, low, high, value))


def run(module, *arguments):
    """Runs converter-cli with the module's interface and search timeout;
    returns the exit status, the JSON it printed (None when it printed none),
    its messages and what it printed."""
    executable = module.get_bin_path(module.params["executable"], required=True)
    command = [executable] + list(arguments) + ["--format", "json",
                                                "--timeout", str(module.params["timeout"])]
    if module.params.get("interface"):
        command += ["--interface", module.params["interface"]]
    # converter-cli speaks the managed host's language; the modules read
    # its English messages and stay English, as Ansible modules are.
    rc, out, err = module.run_command(command, encoding="utf-8",
                                      environ_update={"LC_ALL": "C.UTF-8", "LANGUAGE": ""})
    try:
        data = json.loads(out) if out.strip() else None
    except ValueError:
        data = None
    if data is None and out.strip():
        module.fail_json(msg="converter-cli printed something that is not JSON (status %d): %s"
                         % (rc, out.strip()[:2000]), rc=rc, stderr=err)
    return rc, data, err.strip()


def message(err, rc):
    """converter-cli's own words, without its name in front or its summary."""
    lines = [line.replace("converter-cli: ", "", 1) for line in err.splitlines()
             if line.strip() and not SUMMARY.match(line)]
    return "; ".join(lines) or "converter-cli ended with status %d" % rc


def snake_case(record):
    """converter-cli's keys (remote-port) as Ansible's (remote_port)."""
    return dict((key.replace("-", "_"), value) for key, value in record.items())
