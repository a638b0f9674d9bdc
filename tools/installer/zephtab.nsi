; Per-user installer of Zephtab: it needs no administrator rights, puts the
; 32-bit programs into the user's own program folder and writes only to the
; user's Start menu and HKEY_CURRENT_USER. tools/installer/CMakeLists.txt builds it:
;   makensis -DVERSION=1.0.0 -DPUBLISHER=... -DSETTINGS_KEY=Software\... -DFILES=<package folder>
;            -DOUTFILE=<setup.exe> zephtab.nsi
; Silent use: setup.exe /S [/D=folder] installs and starts Zephtab;
; uninstall.exe /S keeps the settings, uninstall.exe /S /PURGE removes them too.

Unicode true
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zephtab"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define START_MENU "$SMPROGRAMS\Zephtab"
!define SYNCHRONIZE_AND_TERMINATE 0x00100001
!define END_DEADLINE_MS 10000
!define ERROR_LEVEL_LEFTOVERS 2

Name "Zephtab"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Zephtab"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Zephtab ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Zephtab"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "Zephtab Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}, MIT licence"

!define MUI_ICON "../../src/resources/icons/app.ico"
!define MUI_UNICON "../../src/resources/icons/app.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\zephtab.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Zephtab now"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends a running Zephtab as Win+F12 does (WM_CLOSE) and waits for its process
; to end, so that its files can be replaced or removed. One that does not end
; by the deadline is terminated: setup must finish, not wait for ever.
!macro EndRunningZephtab
  FindWindow $0 "gZephtab"
  ${If} $0 <> 0
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE_AND_TERMINATE}, i 0, i r1) p .r2"
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=${END_DEADLINE_MS}
    System::Call "kernel32::WaitForSingleObject(p r2, i ${END_DEADLINE_MS}) i .r3"
    ${If} $3 <> 0
      DetailPrint "Zephtab did not end in time: terminating it"
      System::Call "kernel32::TerminateProcess(p r2, i 1)"
      System::Call "kernel32::WaitForSingleObject(p r2, i ${END_DEADLINE_MS})"
    ${EndIf}
    System::Call "kernel32::CloseHandle(p r2)"
  ${EndIf}
!macroend

Section
  !insertmacro EndRunningZephtab
  SetOutPath "$INSTDIR"
  File "${FILES}/zephtab.exe"
  File "${FILES}/zephtab-config.exe"
  File "${FILES}/zephtab-settings.exe"
  File "${FILES}/README.txt"
  File "${FILES}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "${START_MENU}"
  CreateShortcut "${START_MENU}\Zephtab.lnk" "$INSTDIR\zephtab.exe"
  CreateShortcut "${START_MENU}\Zephtab Settings.lnk" "$INSTDIR\zephtab-settings.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Zephtab"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zephtab.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The finish page offers the start; a silent install always starts it.
Function .onInstSuccess
  ${If} ${Silent}
    Exec '"$INSTDIR\zephtab.exe"'
  ${EndIf}
FunctionEnd

Var Leftovers

; Removes one installed file; one that stays (in use, say) is listed for the report.
!macro RemoveInstalledFile NAME
  ClearErrors
  Delete "$INSTDIR\${NAME}"
  ${If} ${Errors}
    StrCpy $Leftovers "$Leftovers$\r$\n$INSTDIR\${NAME}"
  ${EndIf}
!macroend

Section Uninstall
  !insertmacro EndRunningZephtab
  !insertmacro RemoveInstalledFile "zephtab.exe"
  !insertmacro RemoveInstalledFile "zephtab-config.exe"
  !insertmacro RemoveInstalledFile "zephtab-settings.exe"
  !insertmacro RemoveInstalledFile "README.txt"
  !insertmacro RemoveInstalledFile "LICENSE.txt"
  Delete "${START_MENU}\Zephtab.lnk"
  Delete "${START_MENU}\Zephtab Settings.lnk"
  RMDir "${START_MENU}"

  ; A copy of Zephtab elsewhere keeps its own start at log-on.
  ReadRegStr $0 HKCU "${RUN_KEY}" "zephtab"
  StrLen $1 "$INSTDIR\"
  StrCpy $0 $0 $1
  ${If} $0 == "$INSTDIR\"
    DeleteRegValue HKCU "${RUN_KEY}" "zephtab"
  ${EndIf}

  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/PURGE" $1
  ${IfNot} ${Errors}
  ${OrIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove your Zephtab settings too?" /SD IDNO IDYES`
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    ; The vendor's keys above it go too when nothing else is in them.
    ${un.GetParent} "${SETTINGS_KEY}" $0
    DeleteRegKey /ifempty HKCU "$0"
    ${un.GetParent} "$0" $0
    DeleteRegKey /ifempty HKCU "$0"
  ${EndIf}

  ; Files that stay keep the uninstaller and its entry, so that a second run
  ; can finish the job. Otherwise the entry goes last: its absence means done.
  ${If} $Leftovers != ""
    SetErrorLevel ${ERROR_LEVEL_LEFTOVERS}
    DetailPrint "Not removed:$Leftovers"
    MessageBox MB_OK|MB_ICONEXCLAMATION "These files could not be removed (still in use?). Close them and uninstall again:$Leftovers" /SD IDOK
  ${Else}
    ; Run in place (_?=) the uninstaller cannot remove itself, and files the
    ; user added keep the folder.
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
SectionEnd
