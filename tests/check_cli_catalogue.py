#!/usr/bin/env python3
"""converter-cli's Chinese catalogue is complete and current: lupdate, run on
the code now, finds no source text the catalogue lacks, and every message has
a finished translation that is Chinese, not the English left in place.

    check_cli_catalogue.py LUPDATE SOURCE_ROOT
"""
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

LUPDATE, ROOT = sys.argv[1], Path(sys.argv[2])
CATALOGUE = ROOT / "resources" / "converter-cli_zh.ts"
SOURCES = ["cli", "protocol", "network", "journal"]
HAN = re.compile(r"[\u4e00-\u9fff]")


def messages(path):
    return {(c.findtext("name"), m.findtext("source")): m.find("translation")
            for c in ET.parse(path).getroot() for m in c.findall("message")}


def main():
    problems = []
    known = messages(CATALOGUE)
    with tempfile.TemporaryDirectory() as work:
        fresh = Path(work) / "fresh.ts"
        subprocess.run([LUPDATE, "-silent", "-locations", "none",
                        *[str(ROOT / s) for s in SOURCES], "-ts", str(fresh)], check=True)
        for key in messages(fresh):
            if key not in known:
                problems.append("not in the catalogue (run make translations): %r" % (key,))
    for (context, source), translation in known.items():
        kind = translation.get("type")
        text = translation.text or ""
        if kind in ("obsolete", "vanished"):
            continue
        if kind == "unfinished" or not text.strip():
            problems.append("unfinished: %s: %r" % (context, source))
        elif text == source or not HAN.search(text):
            problems.append("English left in the Chinese catalogue: %s: %r" % (context, source))
        elif sorted(re.findall(r"%\d+", text)) != sorted(re.findall(r"%\d+", source)):
            problems.append("placeholders differ: %s: %r" % (context, source))
        elif set(re.findall(r"--[a-z][a-z-]*", text)) != set(re.findall(r"--[a-z][a-z-]*", source)):
            # Options are typed as they are: a translation names the same ones.
            problems.append("options differ: %s: %r" % (context, source))
    for line in problems:
        print("check_cli_catalogue: " + line)
    print("check_cli_catalogue: %d messages, %d problems" % (len(known), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
