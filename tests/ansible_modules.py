#!/usr/bin/env python3
"""The collection's modules against a stand-in converter-cli that answers
with chosen statuses, through Ansible itself: what each status makes of the
task (changed, failed, the message). Needs no network: nothing is sent.

    ansible_modules.py COLLECTION_DIR
"""
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = pathlib.Path(sys.argv[1]).resolve()
WORK = pathlib.Path(tempfile.mkdtemp(prefix="ansible-modules-"))
MAC = "02:AB:00:00:00:01"

# The stand-in: a dry run plans a baud change; the write answers as told by
# the environment (status, result, message).
STAND_IN = """#!/bin/sh
case "$*" in
*--dry-run*)
    echo '[{"mac":"%s","result":"dry-run","fields":[{"field":"baud","before":115200,"after":9600}]}]'
    exit 0 ;;
esac
[ -n "$FAKE_RESULT" ] && echo "[{\\"mac\\":\\"%s\\",\\"result\\":\\"$FAKE_RESULT\\",\\"fields\\":[],\\"batch\\":\\"b1\\"}]"
echo "converter-cli: $FAKE_MESSAGE" >&2
exit "$FAKE_STATUS"
""" % (MAC, MAC)


def task(status, result, message):
    env = {**os.environ, "ANSIBLE_COLLECTIONS_PATH": str(WORK), "FAKE_STATUS": str(status),
           "FAKE_RESULT": result, "FAKE_MESSAGE": message, "ANSIBLE_LOCALHOST_WARNING": "0",
           "ANSIBLE_INVENTORY_UNPARSED_WARNING": "0"}
    args = json.dumps({"mac": MAC, "baud": 9600, "executable": str(WORK / "converter-cli")})
    run = subprocess.run(["ansible", "localhost", "-c", "local", "-m",
                          "converter_config.converters.converter_settings", "-a", args],
                         capture_output=True, text=True, env=env, timeout=120)
    # "localhost | FAILED! => {...}", as the ad-hoc command prints a result
    head, result = run.stdout.split("=>", 1)
    return {**json.loads(result), "failed": "FAILED" in head}


class Modules(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        tree = WORK / "ansible_collections" / "converter_config" / "converters"
        shutil.copytree(SOURCE, tree)
        stand_in = WORK / "converter-cli"
        stand_in.write_text(STAND_IN)
        stand_in.chmod(0o755)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(WORK, ignore_errors=True)

    def test_statuses(self):
        cases = [  # status, result, message, changed, failed, words in the message
            (0, "verified", "1 verified", True, False, None),
            (4, "differs", "baud differs", True, True, "did not verify"),
            (5, "", "journal j: cannot write; nothing sent", False, True, "nothing was written"),
            (6, "not-sent", "1 frame(s) could not leave", False, True, "nothing was written"),
            (7, "verified", "journal j: cannot write: disk full; the frames were sent, their "
             "outcomes are not journaled", True, True, "its record could not be kept"),
            (7, "", "out.json: cannot write", True, True, "its record could not be kept"),
        ]
        for status, result, message, changed, failed, words in cases:
            with self.subTest(status=status, result=result):
                outcome = task(status, result, message)
                self.assertEqual((outcome.get("changed"), bool(outcome.get("failed"))),
                                 (changed, failed), outcome)
                if words:
                    self.assertIn(words, outcome["msg"])
                    self.assertIn(message.split(";")[0], outcome["msg"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
