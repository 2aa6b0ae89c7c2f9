#!/usr/bin/env python3
"""The Windows Installer package: the staged files of the zip as wixl
(msitools) can describe them, then, with msibuild, what wixl 0.101 cannot
write or writes wrongly: the custom actions (PATH through our helper, the
firewall rules through netsh, the refusals), their explicit sequence
numbers and the upgrade rules.

    make-msi.py STAGE PATHENTRY_EXE VERSION OUTPUT
"""
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import uuid
from xml.sax.saxutils import escape, quoteattr

STAGE, PATHENTRY, VERSION, OUTPUT = sys.argv[1:5]
STAGE = pathlib.Path(STAGE).resolve()
UPGRADE_CODE = "{B9008236-0519-46C5-B2AC-9936AFDF5FC6}"
MANUFACTURER = "The converter-config developers"
HELP = "https://example.org/converter-config/docs/windows.md"
# Where the install folder is remembered, and where the NSIS installer
# registers itself: each installer refuses where the other is.
REMEMBER_KEY = r"Software\converter-config"
NSIS_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\converter-config"
# A component's GUID stays the same across versions: derived from its name.
NAMESPACE = uuid.UUID("5b0c6f38-1c1e-4a55-9d0e-2f6a3b7c9e11")


def guid(name):
    return "{%s}" % str(uuid.uuid5(NAMESPACE, name)).upper()


def ident(path):
    return "f_" + re.sub(r"[^A-Za-z0-9_.]", "_", str(path))


def files_in(folder, relative):
    """Components, one per file, of one folder, and those of its folders."""
    xml, refs = [], []
    for entry in sorted(folder.iterdir()):
        rel = relative / entry.name
        if entry.is_dir():
            inner, inner_refs = files_in(entry, rel)
            xml.append('<Directory Id=%s Name=%s>%s</Directory>'
                       % (quoteattr("d_" + ident(rel)[2:]), quoteattr(entry.name), inner))
            refs += inner_refs
            continue
        component = "c_" + ident(rel)[2:]
        xml.append('<Component Id=%s Guid=%s Win64="yes"><File Id=%s Source=%s KeyPath="yes"/>'
                   '</Component>' % (quoteattr(component), quoteattr(guid(str(rel))),
                                     quoteattr(ident(rel)), quoteattr(str(rel))))
        refs.append(component)
    return "".join(xml), refs


def wxs():
    files, refs = files_in(STAGE, pathlib.PurePosixPath())
    refs += ["Remember", "Shortcut"]
    return f"""<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="converter-config" Language="1033" Version="{VERSION}"
           Manufacturer={quoteattr(MANUFACTURER)} UpgradeCode="{UPGRADE_CODE}">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"
             Description="converter-config {VERSION}" Manufacturer={quoteattr(MANUFACTURER)}/>
    <Media Id="1" Cabinet="product.cab" EmbedCab="yes"/>
    <Icon Id="converter_config.ico" SourceFile="converter-config.ico"/>
    <Property Id="ARPPRODUCTICON" Value="converter_config.ico"/>
    <Property Id="ARPHELPLINK" Value="{HELP}"/>
    <Property Id="REBOOT" Value="ReallySuppress"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFiles64Folder">
        <Directory Id="INSTALLFOLDER" Name="converter-config">
          {files}
          <Component Id="Remember" Guid="{guid('remember')}" Win64="yes">
            <RegistryValue Root="HKLM" Key={quoteattr(REMEMBER_KEY)} Name="InstallFolder"
                           Type="string" Value="[INSTALLFOLDER]" KeyPath="yes"/>
          </Component>
        </Directory>
      </Directory>
      <Directory Id="ProgramMenuFolder">
        <Directory Id="MenuFolder" Name="converter-config">
          <Component Id="Shortcut" Guid="{guid('shortcut')}" Win64="yes">
            <Shortcut Id="StartMenu" Name="converter-config" Target="[INSTALLFOLDER]converter-config.exe"
                      WorkingDirectory="INSTALLFOLDER" Icon="converter_config.ico" Advertise="no"/>
            <RemoveFolder Id="RemoveMenuFolder" On="uninstall"/>
            <RegistryValue Root="HKLM" Key={quoteattr(REMEMBER_KEY)} Name="Shortcut" Type="integer"
                           Value="1" KeyPath="yes"/>
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Complete" Level="1">
      {"".join('<ComponentRef Id=%s/>' % quoteattr(r) for r in refs)}
    </Feature>
  </Product>
</Wix>
"""


def sql(text):
    return text.replace("'", "''")


NETSH = '"[System64Folder]netsh.exe" advfirewall firewall'
RULE = ('add rule name="{0}" description="Serial-to-Ethernet converters answer on UDP port 1500" '
        'dir=in action=allow program="[INSTALLFOLDER]{0}.exe" protocol=UDP localport=1500 '
        'profile=any enable=yes')
# Custom action types: 2 an EXE from the Binary table, 19 an error that ends
# the install, 34 an EXE with a working folder, 51 a property set; +64 its exit status
# ignored; +1024 deferred (in the script); +2048 not impersonated.
DEFERRED = 1024 + 2048
ACTIONS = [  # name, type, source, target, sequence, condition
    # Refusals as errors that end the install (type 19), which the log keeps
    # even in a silent install, unlike a launch condition's text.
    ("RefuseOverSetup", 19, "", "converter-config is installed by its setup program in "
     "[NSISINSTALL]: remove it first (Apps & features), then install this package.", 101,
     "NSISINSTALL AND NOT Installed"),
    ("RefuseDowngrade", 19, "", "A newer version of converter-config is installed: a downgrade "
     "is refused. Remove it first to install this version.", 102, "NEWERFOUND"),
    # A property, not a folder action (35): costing has not resolved the
    # folders yet, and Wine's msi crashes on a folder set that early.
    ("RememberedFolder", 51, "INSTALLFOLDER", "[REMEMBEREDFOLDER]", 990,
     "REMEMBEREDFOLDER AND NOT INSTALLFOLDER"),
    ("InstallLocation", 51, "ARPINSTALLLOCATION", "[INSTALLFOLDER]", 1010, ""),
    ("PathRemove", 2 + DEFERRED, "PathEntry", 'remove "[INSTALLFOLDER]"', 1510,
     'REMOVE~="ALL"'),
    ("FirewallRemoveConfig", 34 + 64 + DEFERRED, "INSTALLFOLDER",
     NETSH + ' delete rule name="converter-config"', 1511, 'REMOVE~="ALL"'),
    ("FirewallRemoveCli", 34 + 64 + DEFERRED, "INSTALLFOLDER",
     NETSH + ' delete rule name="converter-cli"', 1512, 'REMOVE~="ALL"'),
    # After the files are in place, so that a failed install changes nothing.
    ("FirewallClearConfig", 34 + 64 + DEFERRED, "INSTALLFOLDER",
     NETSH + ' delete rule name="converter-config"', 6001, 'NOT REMOVE~="ALL"'),
    ("FirewallClearCli", 34 + 64 + DEFERRED, "INSTALLFOLDER",
     NETSH + ' delete rule name="converter-cli"', 6002, 'NOT REMOVE~="ALL"'),
    ("FirewallAddConfig", 34 + DEFERRED, "INSTALLFOLDER",
     NETSH + " " + RULE.format("converter-config"), 6003, 'NOT REMOVE~="ALL"'),
    ("FirewallAddCli", 34 + DEFERRED, "INSTALLFOLDER",
     NETSH + " " + RULE.format("converter-cli"), 6004, 'NOT REMOVE~="ALL"'),
    ("PathAdd", 2 + DEFERRED, "PathEntry", 'add "[INSTALLFOLDER]"', 6005, 'NOT REMOVE~="ALL"'),
]


def queries():
    q = [
        # The folder remembered by an earlier install, and an NSIS install.
        # wixl writes every standard table, empty where it has nothing.
        "INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('REMEMBEREDFOLDER', 'Remembered')",
        "INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('NSISINSTALL', 'NsisInstall')",
        # Type 2 (raw value) + 16 (the 64-bit view).
        "INSERT INTO `RegLocator` (`Signature_`, `Root`, `Key`, `Name`, `Type`) VALUES "
        "('Remembered', 2, '%s', 'InstallFolder', 18)" % sql(REMEMBER_KEY),
        "INSERT INTO `RegLocator` (`Signature_`, `Root`, `Key`, `Name`, `Type`) VALUES "
        "('NsisInstall', 2, '%s', 'InstallLocation', 18)" % sql(NSIS_KEY),
        # A major upgrade: an older version is removed first; a newer one
        # is only detected, and refused above.
        # 256: include the minimum; 2: only detect; 0: exclude the maximum.
        "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMin`, `VersionMax`, `Attributes`, "
        "`ActionProperty`) VALUES ('%s', '0.0.0', '%s', 256, 'OLDERFOUND')" % (UPGRADE_CODE, VERSION),
        "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMin`, `Attributes`, `ActionProperty`) "
        "VALUES ('%s', '%s', 2, 'NEWERFOUND')" % (UPGRADE_CODE, VERSION),
        "INSERT INTO `Property` (`Property`, `Value`) VALUES ('SecureCustomProperties', "
        "'OLDERFOUND;NEWERFOUND;NSISINSTALL;REMEMBEREDFOLDER')",
    ]
    q = [x for x in q if x]
    standard = [("FindRelatedProducts", 25, ""), ("AppSearch", 50, ""),
                ("LaunchConditions", 100, ""), ("RemoveExistingProducts", 1410, "")]
    for table in ("InstallExecuteSequence", "InstallUISequence"):
        for name, number, condition in standard:
            if table == "InstallUISequence" and name == "RemoveExistingProducts":
                continue
            q.append("DELETE FROM `%s` WHERE `Action` = '%s'" % (table, name))
            q.append("INSERT INTO `%s` (`Action`, `Condition`, `Sequence`) VALUES ('%s', '%s', %d)"
                     % (table, name, condition, number))
    for name, kind, source, target, number, condition in ACTIONS:
        q.append("INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES "
                 "('%s', %d, '%s', '%s')" % (name, kind, source, sql(target)))
        q.append("INSERT INTO `InstallExecuteSequence` (`Action`, `Condition`, `Sequence`) VALUES "
                 "('%s', '%s', %d)" % (name, sql(condition), number))
        if name == "RememberedFolder" or kind == 19:
            q.append("INSERT INTO `InstallUISequence` (`Action`, `Condition`, `Sequence`) VALUES "
                     "('%s', '%s', %d)" % (name, sql(condition), number))
    return q


def main():
    work = pathlib.Path(tempfile.mkdtemp(prefix="msi-"))
    try:
        source = work / "product.wxs"
        source.write_text(wxs(), encoding="utf-8")
        out = pathlib.Path(OUTPUT).resolve()
        # wixl takes the files' paths relative to where it runs.
        run = subprocess.run(["wixl", "-a", "x64", "-o", str(out), str(source)],
                             capture_output=True, text=True, cwd=STAGE)
        # wixl drops what it cannot write with no more than a warning.
        said = (run.stdout + run.stderr).strip()
        if run.returncode != 0 or re.search(r"WARNING|CRITICAL|ERROR", said):
            sys.exit("make-msi: wixl: " + said)
        build = ["msibuild", str(out)]
        for query in queries():
            build += ["-q", query]
        subprocess.run(build, check=True)
        # The PATH helper as a stream of the Binary table.
        idt = work / "idt"
        (idt / "Binary").mkdir(parents=True)
        shutil.copy(PATHENTRY, idt / "Binary" / "PathEntry.ibd")
        (idt / "Binary.idt").write_text("Name\tData\ns72\tv0\nBinary\tName\nPathEntry\tPathEntry.ibd\n")
        # msibuild finds a table's streams in a folder of its name, from where it runs.
        subprocess.run(["msibuild", str(out), "-i", "Binary.idt"], check=True, cwd=idt)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
