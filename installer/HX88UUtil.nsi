; Installer of the HX-88U Utility: the utility and its console program hxctl.exe (which
; scripts drive the running utility with), for the current user only (no administrator
; rights), with a Start menu entry, an uninstaller and, unless the user declines it, a start
; of the utility at every logon of that user. The component "Simulated adapter" adds our
; stand-ins of the adapter's two libraries (VUVAVO.dll, dot1x_dll.dll), to try the utility
; without the hardware; without it the user copies the adapter's own libraries from its
; driver package into the folder, as the finish page says.
;
;   makensis -DBIN_DIR=<folder with the four files> -DOUT_FILE=<setup.exe> -DARCH=<amd64|x86> HX88UUtil.nsi
;
; Silent use: setup.exe /S [/NOAUTOSTART] [/NOSIMULATED | /SIMULATED] [/D=<folder>]
;             uninstall.exe /S [/REMOVESETTINGS]
; /NOAUTOSTART leaves "Start with Windows" off (it is on by default, silent or not). Installed
; over an earlier installation, "Start with Windows" is preselected as the user left it: on
; only while the utility's Run entry is there (the utility's tray menu adds and removes it).
; The simulated adapter is on by default; an earlier installation's choice is kept.
; /NOSIMULATED leaves it out (and takes out the stand-ins an earlier installation put in),
; /SIMULATED puts it in. A VUVAVO.dll or dot1x_dll.dll in the folder that is not one of our
; stand-ins (told by the value HX88UStandIn of its version resource) is never replaced or
; removed.
; The user's settings (HKCU\Software\Tessaro\HX88UUtil, pass phrases in plain text among
; them) are kept by the uninstaller, so that a later installation finds them again, unless
; the user ticks their removal (unticked by default) or gives /REMOVESETTINGS.

Unicode true
!ifndef BIN_DIR
  !error "BIN_DIR must name the folder that holds HX88UUtil.exe, hxctl.exe and the stand-ins VUVAVO.dll and dot1x_dll.dll"
!endif
!ifndef OUT_FILE
  !define OUT_FILE "HX88UUtil-setup.exe"
!endif
!ifndef ARCH
  !define ARCH "x86"
!endif
Target "${ARCH}-unicode"
!include MUI2.nsh
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
!define MAIN_WINDOW_TITLE_SIMULATED "Halvorn HX-88U Utility (simulated)"
!define ID_TRAY_EXIT 148
; The utility's settings and profiles.
!define SETTINGS_KEY "Software\Tessaro\HX88UUtil"

Name "${PRODUCT}"
OutFile "${OUT_FILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "Tessaro"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Tessaro"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

; What the finish page says, worded once the files are in place.
Var FinishText

!define MUI_ICON "../resources/icons/utility.ico"
!define MUI_UNICON "../resources/icons/utility.ico"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$FinishText"
!define MUI_FINISHPAGE_TEXT_LARGE
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Asks a running utility to end as its tray menu's "Exit" does (which also gives the
; Zero Configuration service back), so that its files can be replaced or removed.
!macro FindRunningUtility
  FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_TITLE}"
  ${IfThen} $0 = 0 ${|} FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_TITLE_SIMULATED}" ${|}
!macroend
!macro EndRunningUtility
  !insertmacro FindRunningUtility
  ${If} $0 <> 0
    DetailPrint "Ending the running ${PRODUCT}"
    SendMessage $0 ${WM_COMMAND} ${ID_TRAY_EXIT} 0 /TIMEOUT=5000
    StrCpy $1 0
    ${Do}
      !insertmacro FindRunningUtility
      ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
      IntOp $1 $1 + 1
      ${IfThen} $1 >= 50 ${|} ${ExitDo} ${|}
      Sleep 100
    ${Loop}
    ; Its process may still be unloading its libraries.
    Sleep 500
  ${EndIf}
!macroend

;   Push <path>; Call [un.]IsStandIn; Pop <1 or 0>
; 1 when the file is one of our stand-ins: its version resource holds the value HX88UStandIn
; (in the block 040904b0, where both keep it). Anything else, the adapter's own libraries
; among them, is not ours to replace or remove.
!macro STAND_IN_TEST un
Function ${un}IsStandIn
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $4 0
  System::Call 'version::GetFileVersionInfoSizeW(w r0, p 0) i .r1'
  ${If} $1 > 0
    System::Alloc $1
    Pop $2
    System::Call 'version::GetFileVersionInfoW(w r0, i 0, i r1, p r2) i .r3'
    ${If} $3 <> 0
      System::Call 'version::VerQueryValueW(p r2, w "\StringFileInfo\040904b0\HX88UStandIn", *p .r3, *i .r1) i .r0'
      ${If} $0 <> 0
      ${AndIf} $1 > 0
        StrCpy $4 1
      ${EndIf}
    ${EndIf}
    System::Free $2
  ${EndIf}
  StrCpy $0 $4
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro STAND_IN_TEST ""
!insertmacro STAND_IN_TEST "un."

; A stand-in written into the folder, unless a library of that name that is not ours is
; already there.
!macro PutStandIn NAME
  StrCpy $1 1
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    Push "$INSTDIR\${NAME}"
    Call IsStandIn
    Pop $1
  ${EndIf}
  ${If} $1 = 1
    File "${BIN_DIR}/${NAME}"
  ${Else}
    DetailPrint "Kept $INSTDIR\${NAME}: it is not the simulated adapter's"
  ${EndIf}
!macroend

; A library of that name removed from the folder only when it is one of our stand-ins.
!macro RemoveStandIn UN NAME
  ${If} ${FileExists} "$INSTDIR\${NAME}"
    Push "$INSTDIR\${NAME}"
    Call ${UN}IsStandIn
    Pop $1
    ${If} $1 = 1
      Delete "$INSTDIR\${NAME}"
    ${Else}
      DetailPrint "Kept $INSTDIR\${NAME}: it is not the simulated adapter's"
    ${EndIf}
  ${EndIf}
!macroend

Section "${PRODUCT}" SEC_UTILITY
  SectionIn RO
  !insertmacro EndRunningUtility
  SetOutPath "$INSTDIR"
  File "${BIN_DIR}/HX88UUtil.exe"
  File "${BIN_DIR}/hxctl.exe"
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

Section "Simulated adapter, to try the utility without the hardware" SEC_SIMULATED
  SetOutPath "$INSTDIR"
  !insertmacro PutStandIn "VUVAVO.dll"
  !insertmacro PutStandIn "dot1x_dll.dll"
SectionEnd

Section "Start with Windows" SEC_AUTOSTART
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\HX88UUtil.exe"'
SectionEnd

; Last: keeps the choice for the next upgrade, takes out our stand-ins when the simulated
; adapter was declined, and words the finish page after what the folder now holds.
Section "-Libraries"
  ${If} ${SectionIsSelected} ${SEC_SIMULATED}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "SimulatedAdapter" 1
  ${Else}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "SimulatedAdapter" 0
    !insertmacro RemoveStandIn "" "VUVAVO.dll"
    !insertmacro RemoveStandIn "" "dot1x_dll.dll"
  ${EndIf}
  StrCpy $1 0
  ${If} ${FileExists} "$INSTDIR\VUVAVO.dll"
    Push "$INSTDIR\VUVAVO.dll"
    Call IsStandIn
    Pop $1
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\VUVAVO.dll"
  ${AndIf} ${FileExists} "$INSTDIR\dot1x_dll.dll"
    ${If} $1 = 1
      StrCpy $FinishText "${PRODUCT} is installed with the simulated adapter: it shows a simulated radio world, not the networks around you, and says so in its title, its tray tooltip and its About page.$\r$\n$\r$\nWith an HX-88U, run this setup again without the simulated adapter and copy the adapter's driver library (VUVAVO.dll) and supplicant library (dot1x_dll.dll) from its driver package into $INSTDIR."
    ${Else}
      StrCpy $FinishText "${PRODUCT} is installed. It uses the adapter's libraries already in $INSTDIR."
    ${EndIf}
  ${Else}
    StrCpy $FinishText "${PRODUCT} is installed, without the adapter's libraries.$\r$\n$\r$\nCopy the adapter's driver library (VUVAVO.dll) and supplicant library (dot1x_dll.dll) from the HX-88U driver package into $INSTDIR. Until then the utility shows $\"no adapter$\"."
  ${EndIf}
  DetailPrint "$FinishText"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SEC_UTILITY} "The utility, its console program hxctl.exe and the uninstaller."
  !insertmacro MUI_DESCRIPTION_TEXT ${SEC_SIMULATED} "Our stand-ins of the adapter's two libraries: a simulated adapter and the networks around it. Leave it out on a PC with an HX-88U and copy the adapter's own libraries from its driver package."
  !insertmacro MUI_DESCRIPTION_TEXT ${SEC_AUTOSTART} "Starts the utility in the notification area at every logon."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
  ; An upgrade keeps the user's choice.
  ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $2 != ""
    ReadRegStr $3 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $3 == ""
      !insertmacro UnselectSection ${SEC_AUTOSTART}
    ${EndIf}
    ; An installation from before the choice had the stand-ins.
    ClearErrors
    ReadRegDWORD $3 HKCU "${UNINSTALL_KEY}" "SimulatedAdapter"
    ${IfNot} ${Errors}
    ${AndIf} $3 = 0
      !insertmacro UnselectSection ${SEC_SIMULATED}
    ${EndIf}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOAUTOSTART" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SEC_AUTOSTART}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/NOSIMULATED" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SEC_SIMULATED}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/SIMULATED" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SEC_SIMULATED}
  ${EndIf}
FunctionEnd


Section "un.${PRODUCT}" UNSEC_UTILITY
  SectionIn RO
  !insertmacro EndRunningUtility
  Delete "$INSTDIR\HX88UUtil.exe"
  Delete "$INSTDIR\hxctl.exe"
  ; The adapter's own libraries, copied in by the user, stay.
  !insertmacro RemoveStandIn "un." "VUVAVO.dll"
  !insertmacro RemoveStandIn "un." "dot1x_dll.dll"
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

; Off unless ticked or /REMOVESETTINGS: a later installation would find the settings again.
Section /o "un.My settings and profiles, with their pass phrases" UNSEC_SETTINGS
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Tessaro"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UNSEC_UTILITY} "The utility, hxctl.exe, our stand-ins of the adapter's libraries, the certificate files of 802.1X, the Start menu entries and the start at logon."
  !insertmacro MUI_DESCRIPTION_TEXT ${UNSEC_SETTINGS} "HKCU\Software\Tessaro\HX88UUtil: the settings and profiles, whose pass phrases and keys are stored in plain text. Left in place, a later installation finds them again."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UNSEC_SETTINGS}
  ${EndIf}
FunctionEnd
