; The Windows setup program: the window, saroko-cli, the Qt libraries and plugins they load,
; the compiler's runtime, Qt's own Japanese and English texts, a Start menu entry, the .klg file
; type and an uninstaller that removes every file it put there. Built by tools/windows-installer.sh,
; which passes VERSION (1.22), STAGE (the folder of the files to install) and OUTFILE.
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define APPNAME "Saroko"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Saroko"

Name "${APPNAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APPNAME}"
InstallDirRegKey HKLM "Software\${APPNAME}" "InstallDir"
BrandingText "${APPNAME} ${VERSION}"

!define MUI_ICON "${STAGE}\saroko.ico"
!define MUI_UNICON "${STAGE}\saroko.ico"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\saroko.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; Japanese first, as the program speaks; English for everyone else.
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Saroko" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "Software\${APPNAME}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "${APPNAME}"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\saroko.exe"
  WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTKEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTKEY}" "EstimatedSize" "$0"

  ; The .klg file type: a double-click opens the file in the program.
  WriteRegStr HKLM "Software\Classes\.klg" "" "Saroko.klg"
  WriteRegStr HKLM "Software\Classes\Saroko.klg" "" "KM-41 recording"
  WriteRegStr HKLM "Software\Classes\Saroko.klg\DefaultIcon" "" "$INSTDIR\saroko.exe,0"
  WriteRegStr HKLM "Software\Classes\Saroko.klg\shell\open\command" "" '"$INSTDIR\saroko.exe" "%1"'

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${APPNAME}.lnk" "$INSTDIR\saroko.exe"
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${APPNAME}.lnk"
  ; Only what the setup put there: each user's settings, data and archive stay theirs.
  RMDir /r "$INSTDIR"
  ReadRegStr $0 HKLM "Software\Classes\.klg" ""
  StrCmp $0 "Saroko.klg" 0 +2
    DeleteRegKey HKLM "Software\Classes\.klg"
  DeleteRegKey HKLM "Software\Classes\Saroko.klg"
  DeleteRegKey HKLM "${UNINSTKEY}"
  DeleteRegKey HKLM "Software\${APPNAME}"
SectionEnd
