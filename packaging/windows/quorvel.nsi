; SPDX-License-Identifier: GPL-2.0-or-later
; The Windows installer: the program, its picture helper and the Qt and runtime DLLs they load,
; in a folder of Program Files, with a Start menu entry and an uninstaller that removes those
; files and nothing else (drive C's library and the program's data stay the user's).
; makensis -DVERSION=1.0 -DFILES=folder -DUNINSTALL_LIST=file.nsh -DOUTPUT=setup.exe quorvel.nsi

; A 64-bit program, installed by a 64-bit installer: Windows and Wine of 64 bits only run that.
Target amd64-unicode
SetCompressor /SOLID lzma
Name "Quorvel ${VERSION}"
OutFile "${OUTPUT}"
InstallDir "$PROGRAMFILES64\Quorvel"
InstallDirRegKey HKLM "Software\Quorvel" "InstallDir"
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${FILES}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Quorvel.lnk" "$INSTDIR\quorvel.exe"
    WriteRegStr HKLM "Software\Quorvel" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quorvel"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Quorvel project"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvel.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Quorvel.lnk"
    !include "${UNINSTALL_LIST}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Quorvel"
SectionEnd
