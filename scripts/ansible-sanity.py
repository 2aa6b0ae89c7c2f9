#!/usr/bin/env python3
"""ansible-test's sanity tests of the collection, offline: each test's
virtual environment is made with access to Debian's packages (voluptuous,
pylint, pycodestyle, yamllint) and without the pip step, which would need
the Python package index.

    scripts/ansible-sanity.py COLLECTION_DIR TEST...
"""
import os
import pathlib
import shutil
import sys
import tempfile

from ansible_test._internal import cli as _unused  # noqa: F401 (loads the commands)
from ansible_test._internal import main as ansible_test_main
from ansible_test._internal.commands import sanity


def system_site_venv(args, python, path, system_site_packages=False, pip=False):
    return original(args, python, path, system_site_packages=True, pip=False)


original = sanity.create_virtual_environment
sanity.create_virtual_environment = system_site_venv
sanity.run_pip = lambda *args, **kwargs: None


def run():
    source = pathlib.Path(sys.argv[1]).resolve()
    tests = sys.argv[2:]
    galaxy = dict(line.split(":", 1) for line in (source / "galaxy.yml").read_text().splitlines()
                  if line and not line.startswith((" ", "-", "#")) and ":" in line)
    namespace, name = galaxy["namespace"].strip(), galaxy["name"].strip()
    work = pathlib.Path(tempfile.mkdtemp(prefix="ansible-sanity-"))
    try:
        tree = work / "ansible_collections" / namespace / name
        shutil.copytree(source, tree, ignore=shutil.ignore_patterns("__pycache__", "tests/output"))
        os.chdir(tree)
        arguments = ["ansible-test", "sanity", "--python", "3.11", "--color", "no"]
        for test in tests:
            arguments += ["--test", test]
        sys.argv = arguments
        os.environ["PATH"] = "/usr/bin:/bin:" + os.environ.get("PATH", "")
        ansible_test_main()
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    run()
