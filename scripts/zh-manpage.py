#!/usr/bin/env python3
"""converter-cli's Chinese manual page from its Chinese --help, as help2man
makes the English one from the English help (help2man itself needs the
locale generated to read Chinese; the program needs nothing of the kind).

    zh-manpage.py CONVERTER_CLI OUTPUT VERSION
"""
import os
import subprocess
import sys

program, output, version = sys.argv[1:4]
env = {**os.environ, "LANG": "zh_CN.UTF-8", "LC_ALL": "", "LC_MESSAGES": "", "LANGUAGE": ""}
text = subprocess.run([program, "--help"], capture_output=True, text=True, check=True,
                      env=env).stdout


def roff(line):
    line = line.replace("\\", "\\e").replace("-", "\\-")
    return "\\&" + line if line.startswith((".", "'")) else line


usage = text.splitlines()[0].split("：", 1)[1]
page = ["'\\\" -*- coding: UTF-8 -*-",
        '.TH CONVERTER-CLI 1 "2026年12月" "converter-config %s" "用户命令"' % version,
        ".SH 名称", "converter-cli \\- 在脚本中查找和配置串口转以太网转换器",
        ".SH 概述", ".B converter-cli", roff(usage.replace("converter-cli ", "", 1)),
        ".SH 描述", ".nf"]
page += [roff(line) for line in text.splitlines()[1:]]
page += [".fi", ".SH 参见", ".BR converter-config (1)"]
with open(output, "w", encoding="utf-8") as f:
    f.write("\n".join(page) + "\n")
