; The Windows installer: per machine into Program Files, a Start-menu entry
; for the window, the install folder on the machine's PATH, a firewall rule
; per program for UDP port 1500, an "Apps & features" entry, and an
; uninstaller that takes all of it away again. /S installs silently and
; /D=FOLDER chooses the folder, as with every NSIS installer; /DOWNGRADE
; lets an older version replace a newer one. Every run appends what it did
; to %TEMP%\converter-config-setup.log, and a failure ends with an exit
; code of its own (see EXIT_* below), having changed nothing where it can.
;
; makensis -DVERSION=1.0.0 -DSTAGE=DIR -DOUTFILE=FILE -DICON=FILE
;          -DLICENSE=FILE -DPATHENTRY=FILE -DUNINSTALLWAIT=FILE installer.nsi
; STAGE holds the files of the zip; PATHENTRY is the helper that edits PATH;
; UNINSTALLWAIT the uninstall.exe that waits for the uninstaller.

Unicode true
; The installer and the uninstaller it writes are signed by this command
; (which signs only when given a certificate).
!ifdef SIGN
    !finalize '"${SIGN}" "%1"'
    !uninstfinalize '"${SIGN}" "%1"'
!endif
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!define NAME "converter-config"
!define TITLE "Converter Configuration"
!define PUBLISHER "The converter configuration developers"
!define WEBSITE "https://example.org/converter-config"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"
!define ENVIRONMENT_KEY "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"

Name "${TITLE} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\${NAME}"
; A newer version goes where the older one is: one entry, one copy.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${TITLE}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${TITLE} ${VERSION} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}"
VIAddVersionKey "OriginalFilename" "converter-config-${VERSION}-windows-x64-setup.exe"

BrandingText "${TITLE} ${VERSION}"
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WordFunc.nsh"


; Exit codes, for deployment tools (1 and 2 are NSIS's own: cancelled,
; aborted).
!define EXIT_RUNNING 3     ; a program of the install is running
!define EXIT_DOWNGRADE 4   ; an older version over a newer one, without /DOWNGRADE
!define EXIT_FOLDER 5      ; the folder cannot be used (a file of that name, no rights)
!define EXIT_FILES 6       ; a file could not be written or removed
!define EXIT_SYSTEM 7      ; a firewall rule or the PATH entry could not be set
!define EXIT_NOT_OURS 8    ; an uninstaller whose folder is not the registered install
!define EXIT_MSI 9         ; the Windows Installer package is installed: remove it first
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The language asked for in interactive runs (the system's preselected) and
; remembered for the uninstaller.
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "InstallerLanguage"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\converter-config.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run converter-config"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

; The installer's own messages, in both of its languages.
LangString MSG_FIREWALL_CONFIG ${LANG_ENGLISH} "The firewall rule for converter-config could not be added (netsh: $0 $1)."
LangString MSG_FIREWALL_CONFIG ${LANG_SIMPCHINESE} "无法添加 converter-config 的防火墙规则（netsh：$0 $1）。"
LangString MSG_FIREWALL_CLI ${LANG_ENGLISH} "The firewall rule for converter-cli could not be added (netsh: $0 $1)."
LangString MSG_FIREWALL_CLI ${LANG_SIMPCHINESE} "无法添加 converter-cli 的防火墙规则（netsh：$0 $1）。"
LangString MSG_RUNNING ${LANG_ENGLISH} "Close$3 first: the program is running, nothing was changed."
LangString MSG_RUNNING ${LANG_SIMPCHINESE} "请先关闭$3：程序正在运行，未做任何更改。"
LangString MSG_NOT_FOLDER ${LANG_ENGLISH} "$1 cannot be the install folder (a file of that name?); nothing was changed."
LangString MSG_NOT_FOLDER ${LANG_SIMPCHINESE} "$1 不能作为安装文件夹（是否有同名文件？）；未做任何更改。"
LangString MSG_DOWNGRADE ${LANG_ENGLISH} "Version $0 is installed, newer than ${VERSION}; run with /DOWNGRADE to replace it."
LangString MSG_DOWNGRADE ${LANG_SIMPCHINESE} "已安装的版本 $0 比 ${VERSION} 新；如需替换，请使用 /DOWNGRADE 运行。"
LangString MSG_NOT_OURS ${LANG_ENGLISH} "This uninstaller's folder $INSTDIR is not the registered install ($0); nothing was changed."
LangString MSG_NOT_OURS ${LANG_SIMPCHINESE} "此卸载程序所在的文件夹 $INSTDIR 不是已登记的安装位置（$0）；未做任何更改。"
LangString MSG_IS_FILE ${LANG_ENGLISH} "$INSTDIR is a file, not a folder; nothing was changed."
LangString MSG_IS_FILE ${LANG_SIMPCHINESE} "$INSTDIR 是文件，不是文件夹；未做任何更改。"
LangString MSG_OLD_INSTALL ${LANG_ENGLISH} "The install in $R0 could not be removed (code $0)."
LangString MSG_OLD_INSTALL ${LANG_SIMPCHINESE} "无法删除 $R0 中的安装（代码 $0）。"
LangString MSG_CREATE_FOLDER ${LANG_ENGLISH} "The folder $INSTDIR cannot be created."
LangString MSG_CREATE_FOLDER ${LANG_SIMPCHINESE} "无法创建文件夹 $INSTDIR。"
LangString MSG_WRITE_FILE ${LANG_ENGLISH} "A file in $INSTDIR could not be written."
LangString MSG_WRITE_FILE ${LANG_SIMPCHINESE} "无法写入 $INSTDIR 中的文件。"
LangString MSG_PATH ${LANG_ENGLISH} "The PATH entry could not be added ($0 $1)."
LangString MSG_PATH ${LANG_SIMPCHINESE} "无法添加 PATH 条目（$0 $1）。"
LangString MSG_REMOVE_FILE ${LANG_ENGLISH} "A file in $INSTDIR could not be removed."
LangString MSG_REMOVE_FILE ${LANG_SIMPCHINESE} "无法删除 $INSTDIR 中的文件。"
LangString MSG_MSI_INSTALLED ${LANG_ENGLISH} "converter-config is installed from its Windows Installer package in $0: remove it first (Apps & features), then run this setup."
LangString MSG_MSI_INSTALLED ${LANG_SIMPCHINESE} "converter-config 已通过 Windows Installer 安装包安装在 $0：请先卸载它（应用和功能），再运行本安装程序。"
LangString MSG_RETRY ${LANG_ENGLISH} "Close$3 first, then choose Retry."
LangString MSG_RETRY ${LANG_SIMPCHINESE} "请先关闭$3，然后选择「重试」。"

; The files of the zip, and nothing else but the uninstaller.
!macro FILES DO
    !insertmacro ${DO} "converter-config.exe"
    !insertmacro ${DO} "converter-cli.exe"
    !insertmacro ${DO} "README.md"
    !insertmacro ${DO} "README.zh-CN.md"
    !insertmacro ${DO} "convcfg.lua"
    !insertmacro ${DO} "LICENSE.txt"
    !insertmacro ${DO} "LGPL-3.txt"
    !insertmacro ${DO} "GPL-3.txt"
    !insertmacro ${DO} "QT-LICENSE-NOTICE.txt"
    !insertmacro ${DO} "converter-config.ico"
!macroend
!macro INSTALL_FILE FILE
    File "${STAGE}\${FILE}"
!macroend
!macro DELETE_FILE FILE
    Delete "$INSTDIR\${FILE}"
!macroend

; Appends a line to the log in %TEMP%: Debian's NSIS has no LogSet.
Var logFile
!macro LOG TEXT
    FileOpen $logFile "$TEMP\converter-config-setup.log" a
    FileSeek $logFile 0 END
    FileWrite $logFile "${TEXT}$\r$\n"
    FileClose $logFile
!macroend

; Ends the run with an exit code, after logging why; a message box unless
; silent.
!macro FAIL CODE TEXT
    !insertmacro LOG "failed (${CODE}): ${TEXT}"
    IfSilent +2
    MessageBox MB_OK|MB_ICONSTOP "${TEXT}"
    SetErrorLevel ${CODE}
    Quit
!macroend

; Runs a command, logs its output and leaves its exit code in $0.
!macro RUN COMMAND
    StrCpy $9 `${COMMAND}`
    nsExec::ExecToStack $9
    Pop $0
    Pop $1
    !insertmacro LOG "run: $9 -> $0 $1"
!macroend

; A rule per program: UDP port 1500 in, on every profile. Any rule of the
; same name goes first, so that installing again leaves one of each. Where
; Group Policy ignores local rules, allow UDP 1500 centrally.
!macro FIREWALL_RULES ADD
    !insertmacro RUN `"$SYSDIR\netsh.exe" advfirewall firewall delete rule name="converter-config"`
    !insertmacro RUN `"$SYSDIR\netsh.exe" advfirewall firewall delete rule name="converter-cli"`
    !if ${ADD} == 1
        !insertmacro RUN `"$SYSDIR\netsh.exe" advfirewall firewall add rule name="converter-config" description="Serial-to-Ethernet converters answer on UDP port 1500" dir=in action=allow program="$INSTDIR\converter-config.exe" protocol=UDP localport=1500 profile=any enable=yes`
        ${If} $0 != 0
            !insertmacro FAIL ${EXIT_SYSTEM} "$(MSG_FIREWALL_CONFIG)"
        ${EndIf}
        !insertmacro RUN `"$SYSDIR\netsh.exe" advfirewall firewall add rule name="converter-cli" description="Serial-to-Ethernet converters answer on UDP port 1500" dir=in action=allow program="$INSTDIR\converter-cli.exe" protocol=UDP localport=1500 profile=any enable=yes`
        ${If} $0 != 0
            !insertmacro FAIL ${EXIT_SYSTEM} "$(MSG_FIREWALL_CLI)"
        ${EndIf}
    !endif
!macroend

; A running program keeps its file: replacing or removing the others would
; leave a mixed or orphaned install. Asks to close it, or fails when silent.
!macro CHECK_NOT_RUNNING UN
Function ${UN}checkNotRunning
    Exch $2 ; the folder
    retry:
    StrCpy $3 ""
    ${ForEach} $4 1 2 + 1
        ${If} $4 == 1
            StrCpy $5 "converter-config.exe"
        ${Else}
            StrCpy $5 "converter-cli.exe"
        ${EndIf}
        ${If} ${FileExists} "$2\$5"
            ClearErrors
            FileOpen $6 "$2\$5" a
            ${If} ${Errors}
                StrCpy $3 "$3 $5"
            ${Else}
                FileClose $6
            ${EndIf}
        ${EndIf}
    ${Next}
    ${If} $3 != ""
        !insertmacro LOG "running:$3"
        IfSilent silent
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(MSG_RETRY)" IDRETRY retry
        silent:
        !insertmacro FAIL ${EXIT_RUNNING} "$(MSG_RUNNING)"
    ${EndIf}
    Pop $2
FunctionEnd
!macroend
!insertmacro CHECK_NOT_RUNNING ""
!insertmacro CHECK_NOT_RUNNING "un."

Function .onInit
    SetRegView 64
    SetShellVarContext all
    !insertmacro MUI_LANGDLL_DISPLAY
    !insertmacro LOG "setup ${VERSION}: $CMDLINE (folder $INSTDIR)"
    ; A /D= that NSIS cannot use (a file of that name) is passed over, and
    ; $CMDLINE no longer shows it: an administrator who named a folder gets
    ; that folder or a failure, not the default one.
    System::Call 'kernel32::GetCommandLineW() t .r0'
    ${WordFind} "$0" " /D=" "E+1}" $1
    ${IfNot} ${Errors}
    ${AndIf} $1 != $INSTDIR
        !insertmacro FAIL ${EXIT_FOLDER} "$(MSG_NOT_FOLDER)"
    ${EndIf}
    ; The two installers never install over each other: the package's
    ; install remembers its folder here.
    ReadRegStr $0 HKLM "Software\converter-config" "InstallFolder"
    ${If} $0 != ""
        !insertmacro FAIL ${EXIT_MSI} "$(MSG_MSI_INSTALLED)"
    ${EndIf}
    ; An older version over a newer one only when asked.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ${If} $0 != ""
        ${VersionCompare} "${VERSION}" "$0" $1
        ${GetParameters} $2
        ClearErrors
        ${GetOptions} "$2" "/DOWNGRADE" $3
        ${If} $1 == 2
        ${AndIf} ${Errors}
            !insertmacro FAIL ${EXIT_DOWNGRADE} "$(MSG_DOWNGRADE)"
        ${EndIf}
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
    !insertmacro MUI_UNGETLANGUAGE
    !insertmacro LOG "uninstall from $INSTDIR: $CMDLINE"
    ; Only the registered install: a copied uninstaller elsewhere would
    ; delete files beside it and the real install's entry.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != $INSTDIR
        !insertmacro FAIL ${EXIT_NOT_OURS} "$(MSG_NOT_OURS)"
    ${EndIf}
FunctionEnd

Section "Install"
    ${If} ${FileExists} "$INSTDIR"
    ${AndIfNot} ${FileExists} "$INSTDIR\*.*"
        !insertmacro FAIL ${EXIT_FOLDER} "$(MSG_IS_FILE)"
    ${EndIf}
    Push $INSTDIR
    Call checkNotRunning
    ; Installed elsewhere before: that install goes first, so that one copy
    ; and one PATH entry remain.
    ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $R0 != ""
    ${AndIf} $R0 != $INSTDIR
    ${AndIf} ${FileExists} "$R0\uninstall.exe"
        Push $R0
        Call checkNotRunning
        !insertmacro LOG "moving the install from $R0"
        ExecWait '"$R0\uninstall.exe" /S _?=$R0' $0
        ${If} $0 != 0
            !insertmacro FAIL ${EXIT_FILES} "$(MSG_OLD_INSTALL)"
        ${EndIf}
        Delete "$R0\uninstall.exe"
        Delete "$R0\uninstall-worker.exe"
        RMDir "$R0"
    ${EndIf}

    ClearErrors
    CreateDirectory "$INSTDIR"
    ${If} ${Errors}
        !insertmacro FAIL ${EXIT_FOLDER} "$(MSG_CREATE_FOLDER)"
    ${EndIf}
    SetOutPath "$INSTDIR"
    SetOverwrite on
    ClearErrors
    !insertmacro FILES INSTALL_FILE
    ; The guides the README points to.
    SetOutPath "$INSTDIR\docs"
    File "${STAGE}\docs\*.md"
    SetOutPath "$INSTDIR\docs\zh-CN"
    File "${STAGE}\docs\zh-CN\*.md"
    SetOutPath "$INSTDIR"
    ; The registered commands run uninstall.exe, which waits for the
    ; uninstaller proper (uninstall-worker.exe) and returns its status.
    WriteUninstaller "$INSTDIR\uninstall-worker.exe"
    File "/oname=uninstall.exe" "${UNINSTALLWAIT}"
    ${If} ${Errors}
        !insertmacro FAIL ${EXIT_FILES} "$(MSG_WRITE_FILE)"
    ${EndIf}
    !insertmacro LOG "files written to $INSTDIR"

    CreateShortcut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\converter-config.exe" "" \
        "$INSTDIR\converter-config.ico" 0

    InitPluginsDir
    File "/oname=$PLUGINSDIR\pathentry.exe" "${PATHENTRY}"
    !insertmacro RUN `"$PLUGINSDIR\pathentry.exe" add "$INSTDIR"`
    ${If} $0 != 0
        !insertmacro FAIL ${EXIT_SYSTEM} "$(MSG_PATH)"
    ${EndIf}

    !insertmacro FIREWALL_RULES 1

    ; Win+R converter-cli works at once; a new PATH reaches users only when
    ; they next log on (installs run as SYSTEM by deployment tools).
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\App Paths\converter-cli.exe" "" "$INSTDIR\converter-cli.exe"
    WriteRegStr HKLM "Software\Microsoft\Windows\CurrentVersion\App Paths\converter-config.exe" "" "$INSTDIR\converter-config.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\converter-config.ico"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${WEBSITE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "HelpLink" "${WEBSITE}/docs/windows.md"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
    ; The language chosen (or the system's, when silent), for the uninstaller.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallerLanguage" $LANGUAGE
    !insertmacro LOG "installed ${VERSION} in $INSTDIR"
SectionEnd

Section "Uninstall"
    Push $INSTDIR
    Call un.checkNotRunning
    !insertmacro FIREWALL_RULES 0

    InitPluginsDir
    File "/oname=$PLUGINSDIR\pathentry.exe" "${PATHENTRY}"
    !insertmacro RUN `"$PLUGINSDIR\pathentry.exe" remove "$INSTDIR"`

    Delete "$SMPROGRAMS\${TITLE}.lnk"
    ClearErrors
    !insertmacro FILES DELETE_FILE
    Delete "$INSTDIR\docs\zh-CN\*.md"
    RMDir "$INSTDIR\docs\zh-CN"
    Delete "$INSTDIR\docs\*.md"
    RMDir "$INSTDIR\docs"
    ${If} ${Errors}
        !insertmacro FAIL ${EXIT_FILES} "$(MSG_REMOVE_FILE)"
    ${EndIf}
    Delete "$INSTDIR\uninstall.exe"
    Delete "$INSTDIR\uninstall-worker.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\App Paths\converter-cli.exe"
    DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\App Paths\converter-config.exe"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    !insertmacro LOG "uninstalled from $INSTDIR"
SectionEnd
