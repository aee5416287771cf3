; The Windows installer of Corvane: installs the programs and the database
; into "C:\Program Files\Corvane", a Start menu shortcut and the uninstall
; entry. An upgrade never replaces an existing database (it holds the managed
; computers, exceptions and settings); the uninstaller removes the programs
; and asks before it removes the database and the log.
; One Corvane per computer: it refuses to install while the Windows Installer
; package is installed.
; makensis defines: VERSION, BIN (folder of the built programs), OUTFILE,
; PACKAGE_UPGRADE_KEY (where Windows Installer registers the package's
; UpgradeCode, under HKLM).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!include "FileFunc.nsh"

!define PRODUCT "Corvane"
!define PUBLISHER "Corvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetRegView 64
  SetShellVarContext all
  ; An installed package has its product listed under its UpgradeCode.
  EnumRegValue $0 HKLM "${PACKAGE_UPGRADE_KEY}" 0
  StrCmp $0 "" no_package
    MessageBox MB_OK|MB_ICONSTOP \
        "Corvane is already installed from its Windows Installer package. Uninstall that installation first (Programs and Features), then run this setup." \
        /SD IDOK
    SetErrorLevel 2
    Quit
no_package:
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Corvane"
  SetOutPath "$INSTDIR"
  File "${BIN}\Corvane.exe"
  File "${BIN}\cvnscan.exe"
  ; The database of an earlier installation stays as it is.
  SetOverwrite off
  File "${BIN}\nwcvninfo.dll"
  SetOverwrite on
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Corvane.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Corvane.exe,0"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\Corvane.exe"
  Delete "$INSTDIR\cvnscan.exe"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The database and the logs are the administrator's data: removed only on
  ; request, never by a silent uninstall.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
      "Remove the database (managed computers, exceptions and settings) and the log as well?" \
      /SD IDNO IDYES remove_data
  Goto done
remove_data:
  Delete "$INSTDIR\nwcvninfo.dll"
  Delete "$INSTDIR\Corvane.log"
  Delete "$INSTDIR\cvnscan.log"
done:
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
