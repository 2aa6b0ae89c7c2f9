# -*- coding: utf-8 -*-
# Running converter-cli on the managed host: the one program these modules
# drive, so that every check and every verified write is converter-cli's own.
# MIT licence (see the project's LICENSE).

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json

# converter-cli's exit statuses.
DONE = 0
NOTHING_FOUND = 1
BAD_INPUT = 2
NOT_ANSWERED = 3
NOT_VERIFIED = 4

COMMON_OPTIONS = dict(
    interface=dict(type="str"),
    timeout=dict(type="int", default=1000),
    executable=dict(type="path", default="converter-cli"),
)


def run(module, *arguments):
    """Runs converter-cli with the module's interface and search timeout;
    returns the exit status, the JSON it printed (None when it printed none)
    and its messages."""
    executable = module.get_bin_path(module.params["executable"], required=True)
    command = [executable] + list(arguments) + ["--format", "json",
                                                "--timeout", str(module.params["timeout"])]
    if module.params.get("interface"):
        command += ["--interface", module.params["interface"]]
    rc, out, err = module.run_command(command, encoding="utf-8")
    try:
        data = json.loads(out) if out.strip() else None
    except ValueError:
        data = None
    return rc, data, err.strip()


def message(err, rc):
    """converter-cli's own words, without its name in front."""
    lines = [line.replace("converter-cli: ", "", 1) for line in err.splitlines()
             if line.strip() and "verified," not in line and "dry run:" not in line]
    return "; ".join(lines) or "converter-cli ended with status %d" % rc
