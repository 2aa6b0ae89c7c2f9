#!/usr/bin/env python3
"""Refreshes the translation sources' locations from the code with Qt's lupdate.

lupdate keeps finished and unfinished translations, but drops an obsolete
entry that has no translation; those are put back in their context, so that
the files lose nothing but stale line numbers.
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
RESOURCES = ROOT / "resources"
SOURCES = ["../app", "../ui", "../form"]
# converter-cli's catalogue: its own words and those of the shared code it prints.
CLI_SOURCES = ["../cli", "../protocol", "../network", "../journal"]
CONTEXT = re.compile(r"(<context>\s*<name>(.*?)</name>)(.*?)(</context>)", re.S)
MESSAGE = re.compile(r"[ \t]*<message>.*?</message>\n", re.S)


def obsolete_messages(text):
    kept = {}
    for context in CONTEXT.finditer(text):
        for message in MESSAGE.findall(context.group(3)):
            if 'type="obsolete"' in message:
                kept.setdefault(context.group(2), []).append(message)
    return kept


def restore(text, kept):
    def put_back(context):
        body = context.group(3)
        missing = [m for m in kept.get(context.group(2), []) if m not in body]
        return context.group(1) + body + "".join(missing) + context.group(4)

    return CONTEXT.sub(put_back, text)


def main():
    files = sorted(RESOURCES.glob("tr_*.ts"))
    before = {path: obsolete_messages(path.read_text(encoding="utf-8")) for path in files}
    # Debian keeps Qt 5's own tools here; /usr/bin/lupdate goes through qtchooser.
    lupdate = "/usr/lib/qt5/bin/lupdate"
    if not os.access(lupdate, os.X_OK):
        lupdate = shutil.which("lupdate") or "lupdate"
    subprocess.run([lupdate, "-silent", "-locations", "absolute", *SOURCES, "-ts",
                    *[path.name for path in files]], cwd=RESOURCES, check=True)
    cli = RESOURCES / "converter-cli_zh.ts"
    before[cli] = obsolete_messages(cli.read_text(encoding="utf-8")) if cli.exists() else {}
    subprocess.run([lupdate, "-silent", "-locations", "absolute", *CLI_SOURCES, "-ts", cli.name],
                   cwd=RESOURCES, check=True)
    for path in [*files, cli]:
        path.write_text(restore(path.read_text(encoding="utf-8"), before[path]), encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
