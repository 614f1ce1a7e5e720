; The Windows installer, made by scripts/package-windows:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0 -DFILES=files.nsh -DICON=x.ico -DOUTFILE=setup.exe [-DSIGN=scripts/sign-windows]
; FILES holds the macros that install and remove exactly the package's files,
; so that uninstalling from a folder the user chose leaves the rest of it.
Unicode true
Target amd64-unicode
!ifndef COMPRESSOR
!define COMPRESSOR "/SOLID lzma"
!endif
SetCompressor ${COMPRESSOR}
!ifdef SIGN
; The uninstaller is written out at install time: signed here, as it is made.
!uninstfinalize '"${SIGN}" "%1"' = 0
!endif

!include "FileFunc.nsh"
!include "${FILES}"

!define PRODUCT "Ostrevi电台参数设置软件"
!define PUBLISHER "奥斯特维无线通信有限公司"
!define ARP "Software\Microsoft\Windows\CurrentVersion\Uninstall\radio-setup"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\radio-setup"
InstallDirRegKey HKLM "${ARP}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER} 版权所有 1998-2006"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles
LoadLanguageFile "${NSISDIR}\Contrib\Language files\SimpChinese.nlf"

Section
    SetShellVarContext all
    ; An older version takes its own files away first, so none of them
    ; stays behind when this one no longer has it.
    IfFileExists "$INSTDIR\uninstall.exe" 0 +3
        ExecWait '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
        Delete "$INSTDIR\uninstall.exe"
    !insertmacro InstallFiles
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\radio-setup.exe"

    WriteRegStr HKLM "${ARP}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${ARP}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${ARP}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${ARP}" "DisplayIcon" "$INSTDIR\radio-setup.exe,0"
    WriteRegStr HKLM "${ARP}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${ARP}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${ARP}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${ARP}" "NoModify" 1
    WriteRegDWORD HKLM "${ARP}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${ARP}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    !insertmacro RemoveFiles
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${ARP}"
SectionEnd
