; The Windows installer. It installs for the current user only, so it needs
; no administrator: the game goes to %LOCALAPPDATA%\Programs\Pivotwarden, a
; shortcut to the Start menu, and the uninstaller's entry to the user's
; "Apps" list. The uninstaller removes all of that again but leaves the
; player's score, level and options (HKCU\Software\Marblequill\Pivotwarden),
; as uninstalling a game usually does; a later install finds them again.
;
; makensis -DVERSION=x.y.z -DEXE=path\to\pivotwarden.exe -DLICENSE=LICENSE
;          -DOUTFILE=pivotwarden-x.y.z-setup.exe pivotwarden.nsi
; /S installs or uninstalls silently.

; A 64-bit installer for the 64-bit game: it runs where the game runs, and
; needs no 32-bit layer (which a Wine without wine32 lacks).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION
  !error "VERSION is not defined"
!endif
!define PRODUCT "Pivotwarden"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pivotwarden"

Name "Pivot Warden"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Pivot Warden"
VIAddVersionKey "CompanyName" "Marblequill"
VIAddVersionKey "FileDescription" "Pivot Warden installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 Marblequill"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\pivotwarden.exe"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Pivot Warden"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "/oname=pivotwarden.exe" "${EXE}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  File "/oname=README.txt" "${README}"
  File "/oname=DejaVu-LICENSE.txt" "${FONT_LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Pivot Warden.lnk" "$INSTDIR\pivotwarden.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Pivot Warden"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Marblequill"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pivotwarden.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ; A game that is running cannot be removed. The game goes first, so that
  ; while it runs nothing at all is removed and the entry in the list of
  ; programs stays: the player is asked to close it, and a silent uninstall
  ; fails.
  IfFileExists "$INSTDIR\pivotwarden.exe" 0 gone
  removing:
    ClearErrors
    Delete "$INSTDIR\pivotwarden.exe"
    IfErrors 0 gone
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Pivot Warden is running. Close it, then choose Retry." /SD IDCANCEL IDRETRY removing
    SetErrorLevel 2
    Abort "Pivot Warden is running: close it, then uninstall it again."
  gone:
  Delete "$SMPROGRAMS\Pivot Warden.lnk"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\DejaVu-LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: files a player put there themselves are not ours.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
