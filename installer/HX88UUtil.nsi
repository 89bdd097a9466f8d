; Installer of the HX-88U Utility: the utility, its two libraries and its console program
; hxctl.exe (which scripts drive the running utility with), for the current user
; only (no administrator rights), with a Start menu entry, an uninstaller and, unless the
; user declines it, a start of the utility at every logon of that user.
;
;   makensis -DBIN_DIR=<folder with the four files> -DOUT_FILE=<setup.exe> -DARCH=<amd64|x86> HX88UUtil.nsi
;
; Silent use: setup.exe /S [/NOAUTOSTART] [/D=<folder>]   and   uninstall.exe /S
; /NOAUTOSTART leaves "Start with Windows" off (it is on by default, silent or not). Installed
; over an earlier installation, "Start with Windows" is preselected as the user left it: on
; only while the utility's Run entry is there (the utility's tray menu adds and removes it).
; The user's settings (HKCU\Software\Tessaro\HX88UUtil) are left in place by the uninstaller,
; so a later installation finds them again.

Unicode true
!ifndef BIN_DIR
  !error "BIN_DIR must name the folder that holds HX88UUtil.exe, hxctl.exe, VUVAVO.dll and dot1x_dll.dll"
!endif
!ifndef OUT_FILE
  !define OUT_FILE "HX88UUtil-setup.exe"
!endif
!ifndef ARCH
  !define ARCH "x86"
!endif
Target "${ARCH}-unicode"
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PRODUCT "HX-88U Utility"
!define VERSION "1.2.0.1"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\HX88UUtil"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"
; The current user's programs started at logon, and the utility's entry there.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "HX88UUtil"
; The utility's main window, as it is found by its own single-instance check.
!define MAIN_WINDOW_CLASS "#32770"
!define MAIN_WINDOW_TITLE "Halvorn HX-88U Utility"
!define ID_TRAY_EXIT 148
!define WM_COMMAND 0x0111

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
Icon "../resources/icons/utility.ico"
UninstallIcon "../resources/icons/utility.ico"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "Tessaro"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Tessaro"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Asks a running utility to end as its tray menu's "Exit" does (which also gives the
; Zero Configuration service back), so that its files can be replaced or removed.
!macro EndRunningUtility
  FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_TITLE}"
  ${If} $0 <> 0
    DetailPrint "Ending the running ${PRODUCT}"
    SendMessage $0 ${WM_COMMAND} ${ID_TRAY_EXIT} 0 /TIMEOUT=5000
    StrCpy $1 0
    ${Do}
      FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_TITLE}"
      ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
      IntOp $1 $1 + 1
      ${IfThen} $1 >= 50 ${|} ${ExitDo} ${|}
      Sleep 100
    ${Loop}
    ; Its process may still be unloading its libraries.
    Sleep 500
  ${EndIf}
!macroend

Section "${PRODUCT}" SEC_UTILITY
  SectionIn RO
  !insertmacro EndRunningUtility
  SetOutPath "$INSTDIR"
  File "${BIN_DIR}/HX88UUtil.exe"
  File "${BIN_DIR}/hxctl.exe"
  File "${BIN_DIR}/VUVAVO.dll"
  File "${BIN_DIR}/dot1x_dll.dll"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\HX88UUtil.exe" "" "$INSTDIR\HX88UUtil.exe" 0
  CreateShortcut "${MENU_FOLDER}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tessaro"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\HX88UUtil.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; An earlier installation's choice does not outlive this one's.
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
SectionEnd

Section "Start with Windows" SEC_AUTOSTART
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\HX88UUtil.exe"'
SectionEnd

Function .onInit
  ; An upgrade keeps the user's choice.
  ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $2 != ""
    ReadRegStr $3 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $3 == ""
      !insertmacro UnselectSection ${SEC_AUTOSTART}
    ${EndIf}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOAUTOSTART" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SEC_AUTOSTART}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro EndRunningUtility
  Delete "$INSTDIR\HX88UUtil.exe"
  Delete "$INSTDIR\hxctl.exe"
  Delete "$INSTDIR\VUVAVO.dll"
  Delete "$INSTDIR\dot1x_dll.dll"
  ; Certificate and key files the supplicant writes beside the utility for 802.1X: the
  ; private key must not outlive the installation.
  Delete "$INSTDIR\caroot.pem"
  Delete "$INSTDIR\ReZID.pem"
  Delete "$INSTDIR\ReZID_key.pem"
  Delete "$INSTDIR\.rand"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: files the user put there stay.
  RMDir "$INSTDIR"

  Delete "${MENU_FOLDER}\${PRODUCT}.lnk"
  Delete "${MENU_FOLDER}\Uninstall ${PRODUCT}.lnk"
  RMDir "${MENU_FOLDER}"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
SectionEnd
