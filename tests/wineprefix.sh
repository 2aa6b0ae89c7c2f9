# What the Windows installer tests share: a Wine server stopped between
# steps, registry values read through reg.exe, the firewall rules that the
# stand-in netsh's recorded calls leave, and the documented quiet uninstall.
# Sourced with $wine and $root set; $drive is read when a function runs.
stop_wine() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
}
environment='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
reg_value() { "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }
path_value() { reg_value "$environment" Path; }
# The Apps & features entries of a display name (the setup program's by default).
entries() { "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' | grep -c "DisplayName *REG_SZ *${1:-Converter Configuration}\$" || true; }
# The firewall rules that the recorded netsh calls leave, one line each.
rules() {
    python3 - "$drive/windows/netsh-calls.txt" <<'PY'
import re, shlex, sys
rules = {}
try:
    calls = open(sys.argv[1], encoding="utf-8").read().splitlines()
except FileNotFoundError:
    calls = []
for call in calls:
    words = shlex.split(call.replace("\\", "/"))
    args = dict(w.split("=", 1) for w in words if "=" in w)
    if words[1:5] == ["advfirewall", "firewall", "add", "rule"]:
        rules[args["name"]] = " ".join(f"{k}={v}" for k, v in sorted(args.items()))
    elif words[1:5] == ["advfirewall", "firewall", "delete", "rule"]:
        rules.pop(args["name"], None)
for rule in sorted(rules.values()):
    print(rule)
PY
}
# The quiet uninstall as documented: _?= takes the rest of the command line
# as it stands, spaces and all, so it goes through cmd, unquoted.
run_raw() { # COMMAND-LINE, as a Windows command line, through a batch file
    printf '@%s\r\n@exit /b %%errorlevel%%\r\n' "$1" >"$drive/run-raw.bat"
    "$wine" cmd /c 'C:\run-raw.bat'
}
quiet_uninstall() {
    run_raw '"C:\Program Files\converter-config\uninstall.exe" /S _?=C:\Program Files\converter-config'
}

# A new prefix at $WINEPREFIX with the stand-in netsh; sets $drive.
fresh_prefix() {
    stop_wine
    "$wine" wineboot --init >/dev/null 2>&1
    stop_wine
    drive=$WINEPREFIX/drive_c
    x86_64-w64-mingw32-gcc -municode -O2 -o "$drive/windows/system32/netsh.exe" \
        "$root/tests/netsh-standin.c"
}
