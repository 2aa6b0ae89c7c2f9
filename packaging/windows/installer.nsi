; The Windows installer: per machine into Program Files, a Start-menu entry
; for the window, the install folder on the machine's PATH, a firewall rule
; per program for UDP port 1500, an "Apps & features" entry, and an
; uninstaller that takes all of it away again. /S installs silently and
; /D=FOLDER chooses the folder, as with every NSIS installer.
;
; makensis -DVERSION=1.0.0 -DSTAGE=DIR -DOUTFILE=FILE -DICON=FILE
;          -DLICENSE=FILE -DPATHENTRY=FILE installer.nsi
; STAGE holds the files of the zip; PATHENTRY is the helper that edits PATH.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!define NAME "converter-config"
!define TITLE "Converter Configuration"
!define PUBLISHER "The converter-config developers"
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
VIAddVersionKey "LegalCopyright" "MIT licence; Qt under the GNU LGPL version 3"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The files of the zip, and nothing else but the uninstaller.
!macro FILES DO
    !insertmacro ${DO} "converter-config.exe"
    !insertmacro ${DO} "converter-cli.exe"
    !insertmacro ${DO} "README.md"
    !insertmacro ${DO} "LICENSE.txt"
    !insertmacro ${DO} "LGPL-3.txt"
    !insertmacro ${DO} "GPL-3.txt"
    !insertmacro ${DO} "QT-LICENSE-NOTICE.txt"
!macroend
!macro INSTALL_FILE FILE
    File "${STAGE}\${FILE}"
!macroend
!macro DELETE_FILE FILE
    Delete "$INSTDIR\${FILE}"
!macroend

; A rule per program: UDP port 1500 in, on every profile. Any rule of the
; same name goes first, so that installing again leaves one of each.
!macro FIREWALL_RULES ADD
    nsExec::Exec 'netsh advfirewall firewall delete rule name="converter-config"'
    Pop $0
    nsExec::Exec 'netsh advfirewall firewall delete rule name="converter-cli"'
    Pop $0
    !if ${ADD} == 1
        nsExec::Exec 'netsh advfirewall firewall add rule name="converter-config" dir=in action=allow program="$INSTDIR\converter-config.exe" protocol=UDP localport=1500 profile=any enable=yes'
        Pop $0
        nsExec::Exec 'netsh advfirewall firewall add rule name="converter-cli" dir=in action=allow program="$INSTDIR\converter-cli.exe" protocol=UDP localport=1500 profile=any enable=yes'
        Pop $0
    !endif
!macroend

Function .onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
FunctionEnd

Section "Install"
    SetOutPath "$INSTDIR"
    !insertmacro FILES INSTALL_FILE
    ; The guides the README points to.
    SetOutPath "$INSTDIR\docs"
    File "${STAGE}\docs\*.md"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\converter-config.exe" "" \
        "$INSTDIR\converter-config.exe" 0

    InitPluginsDir
    File "/oname=$PLUGINSDIR\pathentry.exe" "${PATHENTRY}"
    nsExec::Exec '"$PLUGINSDIR\pathentry.exe" add "$INSTDIR"'
    Pop $0

    !insertmacro FIREWALL_RULES 1

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\converter-config.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    !insertmacro FIREWALL_RULES 0

    InitPluginsDir
    File "/oname=$PLUGINSDIR\pathentry.exe" "${PATHENTRY}"
    nsExec::Exec '"$PLUGINSDIR\pathentry.exe" remove "$INSTDIR"'
    Pop $0

    Delete "$SMPROGRAMS\${TITLE}.lnk"
    !insertmacro FILES DELETE_FILE
    Delete "$INSTDIR\docs\*.md"
    RMDir "$INSTDIR\docs"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
