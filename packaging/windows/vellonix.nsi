; The per-user installer: no administrator rights, the files in the user's
; own programs folder, a Start menu entry, and an uninstaller registered for
; the user. scripts/package-windows.sh builds it with makensis:
;   makensis -INPUTCHARSET UTF8 -DVELLONIX_NSH=... -DVELLONIX_FILES=...
;            -DVELLONIX_ICON=... -DVELLONIX_OUTFILE=... vellonix.nsi
; VELLONIX_NSH names the build's version file (ui/resources), VELLONIX_FILES
; the folder holding what is installed, VELLONIX_ICON the program's .ico.
Unicode true
Target amd64-unicode
!include "${VELLONIX_NSH}"
!include "MUI2.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${VELLONIX_APP_ID}"
; The Start menu entry is the shortcut the Options dialog's "Program group"
; box shows, so that the box and the entry are one and the same.
!define GROUP "$SMPROGRAMS\SAM Coupé"
!define SHORTCUT "${GROUP}\SAM Vellonix.lnk"

Name "${VELLONIX_PRODUCT_NAME}"
OutFile "${VELLONIX_OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${VELLONIX_PRODUCT_NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ManifestDPIAware true
SetCompressor /SOLID lzma
VIProductVersion "${VELLONIX_VERSION}.0"
VIAddVersionKey "ProductName" "${VELLONIX_PRODUCT_NAME}"
VIAddVersionKey "ProductVersion" "${VELLONIX_VERSION}"
VIAddVersionKey "FileVersion" "${VELLONIX_VERSION}"
VIAddVersionKey "FileDescription" "${VELLONIX_PRODUCT_NAME} setup"
VIAddVersionKey "CompanyName" "${VELLONIX_PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${VELLONIX_COPYRIGHT}"

!define MUI_ICON "${VELLONIX_ICON}"
!define MUI_UNICON "${VELLONIX_ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vellonix.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section
  SetOutPath "$INSTDIR"
  File "${VELLONIX_FILES}\vellonix.exe"
  File "${VELLONIX_FILES}\vellonix-cli.exe"
  File "${VELLONIX_FILES}\README.md"
  File "${VELLONIX_FILES}\LICENSE.txt"
  File "${VELLONIX_FILES}\THIRD-PARTY-NOTICES.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "${GROUP}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\vellonix.exe"

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${VELLONIX_PRODUCT_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VELLONIX_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${VELLONIX_PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vellonix.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; untie BOX: the shortcut the Options dialog's BOX made, if it made one.
; A box this system has no folder for is refused, harmlessly.
!macro untie box
  nsExec::Exec '"$INSTDIR\vellonix-cli.exe" integration set --${box} off'
  Pop $0
!macroend

Section "Uninstall"
  ; What the user tied into the desktop through Options names this program:
  ; it is taken back while the program is still here to do it.
  nsExec::Exec '"$INSTDIR\vellonix-cli.exe" integration set --mgt off --sad off'
  Pop $0
  !insertmacro untie desktop
  !insertmacro untie quick-launch
  !insertmacro untie start-menu
  !insertmacro untie send-to
  !insertmacro untie program-group

  Delete "${SHORTCUT}"
  RMDir "${GROUP}"
  Delete "$INSTDIR\vellonix.exe"
  Delete "$INSTDIR\vellonix-cli.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
