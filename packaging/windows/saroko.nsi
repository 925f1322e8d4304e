; The Windows setup program, for one user and without an administrator: the programs into
; %LOCALAPPDATA%\Programs\Saroko, a Start menu folder, the .klg file type and an uninstaller that
; removes each file it put there and nothing else: the user's recordings, archive and settings
; stay. tools/windows-installer.sh passes VERSION, LISTS (the generated file lists), ICON and
; OUTFILE.
; A 64-bit setup program for 64-bit programs: it runs where they do.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define APPNAME "Saroko"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Saroko"

Name "${APPNAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APPNAME}"
InstallDirRegKey HKCU "Software\${APPNAME} Setup" "InstallDir"
BrandingText "${APPNAME} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=0 "FileDescription" "${APPNAME} ${VERSION} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "PELNOR CORPORATION"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
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
  SetShellVarContext current
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext current
  SetRegView 64
FunctionEnd

Section "Saroko" SecMain
  SectionIn RO
  !include "${LISTS}\files.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "Software\${APPNAME} Setup" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayName" "${APPNAME} ${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\saroko.exe"
  WriteRegStr HKCU "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTKEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTKEY}" "EstimatedSize" "$0"

  ; The .klg file type: a double-click opens the file, in the window already open when there is
  ; one (the program hands it over).
  WriteRegStr HKCU "Software\Classes\.klg" "" "Saroko.klg"
  WriteRegStr HKCU "Software\Classes\Saroko.klg" "" "KM-41 recording"
  WriteRegStr HKCU "Software\Classes\Saroko.klg\DefaultIcon" "" "$INSTDIR\saroko.exe,0"
  WriteRegStr HKCU "Software\Classes\Saroko.klg\shell\open\command" "" '"$INSTDIR\saroko.exe" "%1"'

  CreateDirectory "$SMPROGRAMS\${APPNAME}"
  CreateShortcut "$SMPROGRAMS\${APPNAME}\${APPNAME}.lnk" "$INSTDIR\saroko.exe"
  CreateShortcut "$SMPROGRAMS\${APPNAME}\${APPNAME} (demo).lnk" "$INSTDIR\saroko.exe" '"$INSTDIR\samples\demo.klg"'
  CreateShortcut "$SMPROGRAMS\${APPNAME}\Uninstall ${APPNAME}.lnk" "$INSTDIR\uninstall.exe"
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${APPNAME}\${APPNAME}.lnk"
  Delete "$SMPROGRAMS\${APPNAME}\${APPNAME} (demo).lnk"
  Delete "$SMPROGRAMS\${APPNAME}\Uninstall ${APPNAME}.lnk"
  RMDir "$SMPROGRAMS\${APPNAME}"
  ; Only what the setup put there, file by file: a folder goes only when it is empty then.
  !include "${LISTS}\remove.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The file type only while it is still this program's.
  ReadRegStr $0 HKCU "Software\Classes\.klg" ""
  StrCmp $0 "Saroko.klg" 0 +2
    DeleteRegKey HKCU "Software\Classes\.klg"
  DeleteRegKey HKCU "Software\Classes\Saroko.klg"
  DeleteRegKey HKCU "${UNINSTKEY}"
  DeleteRegKey HKCU "Software\${APPNAME} Setup"
SectionEnd
