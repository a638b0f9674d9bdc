; Per-user installer of Zephtab: it needs no administrator rights, puts the
; programs into the user's own program folder and writes only to the user's
; Start menu and HKEY_CURRENT_USER. tools/installer/CMakeLists.txt builds it
; twice: for the 32-bit programs, and with "-XTarget amd64-unicode" for the
; 64-bit ones; both install into the same folder and the same keys.
;   makensis -DVERSION=1.0.0 -DPUBLISHER=... -DSETTINGS_KEY=Software\... -DFILES=<package folder>
;            -DOUTFILE=<setup.exe> zephtab.nsi
; Silent use: setup.exe /S [/D=folder] installs and starts Zephtab, or ends with
; exit status 2 and changes nothing when the folder cannot take it;
; uninstall.exe /S keeps the settings, uninstall.exe /S /PURGE removes them too.

Unicode true
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zephtab"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define START_MENU "$SMPROGRAMS\Zephtab"
; SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION
!define END_PROCESS_ACCESS 0x00101001
!define END_DEADLINE_MS 10000
!define ERROR_LEVEL_LEFTOVERS 2
!define ERROR_LEVEL_REFUSED_FOLDER 2
; What only setup writes into a folder it installs to: a first line, then the
; token that it also writes into its uninstall entry, then the files it put there.
!define RECORD "install-record.txt"
!define RECORD_HEADER "Zephtab installation record"
!if ${NSIS_PTR_SIZE} > 4
  !define SETUP_KIND "Zephtab Setup (64-bit)"
!else
  !define SETUP_KIND "Zephtab Setup"
!endif

Name "Zephtab"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Zephtab"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; A drive's root reaches CheckInstallFolder, which refuses it with its reason.
AllowRootDirInstall true
BrandingText "Zephtab ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Zephtab"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${SETUP_KIND}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}, MIT licence"

!define MUI_ICON "../../src/resources/icons/app.ico"
!define MUI_UNICON "../../src/resources/icons/app.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\zephtab.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Zephtab now"
; Next stays enabled, so that a folder that cannot be used is explained, not just refused.
!define MUI_DIRECTORYPAGE_VERIFYONLEAVE
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE ExplainRefusedFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The full, long form of the path on the stack, without a trailing backslash
; (but "C:\"), so that "C:\Windows\", "c:\windows\." and a short name of the
; same folder compare equal (LogicLib's == ignores letter case).
!macro DefineCanonicalPath UN
Function ${UN}CanonicalPath
  Exch $0
  Push $1
  Push $2
  System::Call "kernel32::GetFullPathNameW(w r0, i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r2"
  ${If} $2 > 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    StrCpy $0 $1
  ${EndIf}
  System::Call "kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2"
  ${If} $2 > 0
  ${AndIf} $2 < ${NSIS_MAX_STRLEN}
    StrCpy $0 $1
  ${EndIf}
  StrCpy $1 $0 1 -1
  StrLen $2 $0
  ${If} $1 == "\"
  ${AndIf} $2 > 3
    StrCpy $0 $0 -1
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro DefineCanonicalPath ""
!insertmacro DefineCanonicalPath "un."

; Whether the image path on the stack is a Zephtab this (un)installer may end:
; setup any zephtab.exe, since a running one keeps the new one from starting;
; the uninstaller only the one in its own folder. Leaves 1 or 0 on the stack.
Function IsZephtabToEnd
  Exch $0
  ${GetFileName} $0 $0
  ${If} $0 == "zephtab.exe"
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Exch $0
FunctionEnd

Function un.IsZephtabToEnd
  Call un.CanonicalPath
  Push "$INSTDIR\zephtab.exe"
  Call un.CanonicalPath
  Exch $0
  Exch
  Exch $1
  ${If} $0 == $1
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

; Ends each running Zephtab as Win+F12 does (WM_CLOSE) and waits for its
; process to end, so that its files can be replaced or removed. One that does
; not end by the deadline is terminated: setup must finish, not wait for ever.
; The class name is no proof: a window of that class whose program is not a
; Zephtab to end (or cannot be looked at) is left alone, and said so.
!macro EndRunningZephtab UN
  StrCpy $R0 0 ; the last window left alone: the search goes on after it
  ${Do}
    FindWindow $R1 "gZephtab" "" 0 $R0
    ${If} $R1 = 0
      ${Break}
    ${EndIf}
    StrCpy $R2 0
    System::Call "user32::GetWindowThreadProcessId(p R1, *i .R2)"
    System::Call "kernel32::OpenProcess(i ${END_PROCESS_ACCESS}, i 0, i R2) p .R3"
    StrCpy $R4 ""
    ${If} $R3 P<> 0
      System::Call "kernel32::QueryFullProcessImageNameW(p R3, i 0, w .R4, *i ${NSIS_MAX_STRLEN}) i .R5"
      ${If} $R5 = 0
        StrCpy $R4 ""
      ${EndIf}
    ${EndIf}
    StrCpy $R5 0
    ${If} $R4 != ""
      Push $R4
      Call ${UN}IsZephtabToEnd
      Pop $R5
    ${EndIf}
    ${If} $R5 = 1
      SendMessage $R1 ${WM_CLOSE} 0 0 /TIMEOUT=${END_DEADLINE_MS}
      System::Call "kernel32::WaitForSingleObject(p R3, i ${END_DEADLINE_MS}) i .R5"
      ${If} $R5 <> 0
        DetailPrint "Zephtab did not end in time: terminating it"
        System::Call "kernel32::TerminateProcess(p R3, i 1)"
        System::Call "kernel32::WaitForSingleObject(p R3, i ${END_DEADLINE_MS})"
      ${EndIf}
    ${Else}
      ${If} $R4 == ""
        StrCpy $R4 "process $R2"
      ${EndIf}
      DetailPrint "Left running, not a Zephtab to end: $R4"
    ${EndIf}
    ${If} $R3 P<> 0
      System::Call "kernel32::CloseHandle(p R3)"
    ${EndIf}
    ; A window that outlived the attempt is passed over, not tried for ever.
    System::Call "user32::IsWindow(p R1) i .R5"
    ${If} $R5 <> 0
      StrCpy $R0 $R1
    ${EndIf}
  ${Loop}
!macroend

Var FolderProblem

; The next line of the open file $0 without its line end, into $1; "" at its
; end. Uses $R9.
!macro DefineReadRecordLine UN
Function ${UN}ReadRecordLine
  ClearErrors
  FileRead $0 $1
  ${If} ${Errors}
    StrCpy $1 ""
  ${EndIf}
  ${Do}
    StrCpy $R9 $1 1 -1
    ${If} $R9 != "$\r"
    ${AndIf} $R9 != "$\n"
      ${Break}
    ${EndIf}
    StrCpy $1 $1 -1
  ${Loop}
FunctionEnd
!macroend
!insertmacro DefineReadRecordLine ""
!insertmacro DefineReadRecordLine "un."

; Whether the folder on the stack holds the installation that the uninstall
; entry names: the entry's folder is this one, and the folder's record bears
; the entry's token. File names or version strings prove nothing, since anyone
; can write them. Leaves 1 or 0 on the stack.
!macro DefineIsRecordedInstallation UN
Function ${UN}IsRecordedInstallation
  Call ${UN}CanonicalPath
  Exch $3
  Push $0
  Push $1
  Push $2
  Push $4
  StrCpy $4 0
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallRecord"
  ${If} $1 != ""
  ${AndIf} $2 != ""
    Push $1
    Call ${UN}CanonicalPath
    Pop $1
    ${If} $1 == $3
      StrCpy $4 $2
      ClearErrors
      FileOpen $0 "$3\${RECORD}" r
      ${IfNot} ${Errors}
        Call ${UN}ReadRecordLine
        ${If} $1 S== "${RECORD_HEADER}"
          Call ${UN}ReadRecordLine
          ${If} $1 S== $4
            StrCpy $4 1
          ${EndIf}
        ${EndIf}
        FileClose $0
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ${If} $4 != 1
    StrCpy $4 0
  ${EndIf}
  StrCpy $3 $4
  Pop $4
  Pop $2
  Pop $1
  Pop $0
  Exch $3
FunctionEnd
!macroend
!insertmacro DefineIsRecordedInstallation ""
!insertmacro DefineIsRecordedInstallation "un."

; Whether the folder on the stack holds an installation by a setup older than
; the record: the uninstall entry points there and bears no token. The entry
; lives in the user's own registry, out of other users' reach, so it vouches
; for its folder; an entry with a token vouches only with the folder's record.
; Leaves 1 or 0 on the stack.
Function IsOlderInstallation
  Call CanonicalPath
  Exch $3
  Push $1
  Push $2
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallRecord"
  ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != ""
    StrCpy $2 ""
  ${EndIf}
  ${If} $2 != ""
    Push $2
    Call CanonicalPath
    Pop $2
  ${EndIf}
  ${If} $2 != ""
  ${AndIf} $2 == $3
    StrCpy $3 1
  ${Else}
    StrCpy $3 0
  ${EndIf}
  Pop $2
  Pop $1
  Exch $3
FunctionEnd

; Sets $FolderProblem to why $INSTDIR cannot take Zephtab, or to "" when it
; can. Setup replaces its files there by name, so only a new or empty folder,
; or the one that holds this user's installation of Zephtab (its uninstall
; entry points there and the folder's record bears the entry's token, or an
; older setup's entry, without a token, points there), is used.
; A drive's root and the Windows and Program Files folders are refused even
; when empty: other users may write there, and whoever replaces zephtab.exe
; runs code at the user's log-on.
Function CheckInstallFolder
  Push $0
  Push $1
  Push $2
  Push $INSTDIR
  Call CanonicalPath
  Pop $0
  StrCpy $FolderProblem ""
  ${GetRoot} $0 $1
  ${If} $0 == $1
  ${OrIf} $0 == "$1\"
    StrCpy $FolderProblem "$0 is the root of a drive."
  ${EndIf}
  ${If} $FolderProblem == ""
    ${ForEach} $2 0 3 + 1
      ${Select} $2
        ${Case} 0
          Push $WINDIR
        ${Case} 1
          Push $PROGRAMFILES
        ${Case} 2
          Push $PROGRAMFILES32
        ${Case} 3
          Push $PROGRAMFILES64
      ${EndSelect}
      Call CanonicalPath
      Pop $1
      ${If} $0 == $1
        StrCpy $FolderProblem "$0 is a folder of Windows that other programs share."
      ${EndIf}
    ${Next}
  ${EndIf}
  ${If} $FolderProblem == ""
  ${AndIf} ${FileExists} "$0\*.*"
    ; A folder: empty, or Zephtab's own.
    Push $0
    Call IsRecordedInstallation
    Pop $1
    ${If} $1 <> 1
      Push $0
      Call IsOlderInstallation
      Pop $1
    ${EndIf}
    ${If} $1 <> 1
      FindFirst $1 $2 "$0\*.*"
      ${Do}
        ${If} $2 != "."
        ${AndIf} $2 != ".."
          ${ExitDo}
        ${EndIf}
        FindNext $1 $2
      ${Loop}
      FindClose $1
      ${If} $2 != ""
        StrCpy $FolderProblem "$0 already holds files of its own, and Zephtab would replace some of them."
      ${EndIf}
    ${EndIf}
  ${ElseIf} $FolderProblem == ""
  ${AndIf} ${FileExists} $0
    StrCpy $FolderProblem "$0 is a file, not a folder."
  ${EndIf}
  ${If} $FolderProblem != ""
    StrCpy $FolderProblem "$FolderProblem$\r$\nPlease choose a new or empty folder."
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; NSIS puts its default folder in place of a /D= folder that it finds
; unusable (a file, say), and ignores a quoted "/D=...". A silent setup must
; then fail, not install elsewhere.
Function .onInit
  System::Call "kernel32::GetCommandLineW() w .r0"
  ClearErrors
  ${WordFind} $0 '"/D=' "E*" $1
  ${IfNot} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP 'Give the folder as the last argument, without quotes around it: /D=C:\Some folder' /SD IDOK
    SetErrorLevel ${ERROR_LEVEL_REFUSED_FOLDER}
    Quit
  ${EndIf}
  ClearErrors
  ${WordFind} $0 " /D=" "E+1}" $1
  ${IfNot} ${Errors}
    Push $1
    Call CanonicalPath
    Pop $1
    Push $INSTDIR
    Call CanonicalPath
    Pop $2
    ${If} $1 != $2
    ${AndIf} ${Silent}
      SetErrorLevel ${ERROR_LEVEL_REFUSED_FOLDER}
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Function .onVerifyInstDir
  Call CheckInstallFolder
  ${If} $FolderProblem != ""
    Abort
  ${EndIf}
FunctionEnd

Function ExplainRefusedFolder
  GetInstDirError $0
  ${If} $0 = 1
    MessageBox MB_OK|MB_ICONEXCLAMATION $FolderProblem
    Abort
  ${EndIf}
FunctionEnd

Section
  ; Checked again here: a silent setup has no directory page, and the folder
  ; may have changed since the page.
  Call CheckInstallFolder
  ${If} $FolderProblem != ""
    DetailPrint $FolderProblem
    MessageBox MB_OK|MB_ICONSTOP $FolderProblem /SD IDOK
    SetErrorLevel ${ERROR_LEVEL_REFUSED_FOLDER}
    Abort
  ${EndIf}
  !insertmacro EndRunningZephtab ""
  SetOutPath "$INSTDIR"
  File "${FILES}/zephtab.exe"
  File "${FILES}/zephtab-config.exe"
  File "${FILES}/zephtab-settings.exe"
  File "${FILES}/README.txt"
  File "${FILES}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The token ties this folder to the uninstall entry written below.
  System::Call "ole32::CoCreateGuid(g .r0) i .r1"
  ${If} $1 <> 0
    System::Call "kernel32::GetTickCount() i .r0"
    StrCpy $0 "$0-${VERSION}"
  ${EndIf}
  FileOpen $1 "$INSTDIR\${RECORD}" w
  FileWrite $1 "${RECORD_HEADER}$\r$\n$0$\r$\n"
  FileWrite $1 "zephtab.exe$\r$\nzephtab-config.exe$\r$\nzephtab-settings.exe$\r$\n"
  FileWrite $1 "README.txt$\r$\nLICENSE.txt$\r$\n"
  FileClose $1

  CreateDirectory "${START_MENU}"
  CreateShortcut "${START_MENU}\Zephtab.lnk" "$INSTDIR\zephtab.exe"
  CreateShortcut "${START_MENU}\Zephtab Settings.lnk" "$INSTDIR\zephtab-settings.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Zephtab"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zephtab.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallRecord" $0
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

; Whether the folder's record lists the file named on the stack; 1 or 0 on the stack.
Function un.RecordListsFile
  Exch $3
  Push $0
  Push $1
  Push $2
  StrCpy $2 0
  ClearErrors
  FileOpen $0 "$INSTDIR\${RECORD}" r
  ${IfNot} ${Errors}
    ${Do}
      Call un.ReadRecordLine
      ${If} $1 == $3
        StrCpy $2 1
      ${EndIf}
    ${LoopUntil} $1 == ""
    FileClose $0
  ${EndIf}
  StrCpy $3 $2
  Pop $2
  Pop $1
  Pop $0
  Exch $3
FunctionEnd

; Removes one file that setup installed and recorded; one that stays (in use,
; say) is listed for the report.
!macro RemoveInstalledFile NAME
  Push "${NAME}"
  Call un.RecordListsFile
  Pop $0
  ${If} $0 = 1
    ClearErrors
    Delete "$INSTDIR\${NAME}"
    ${If} ${Errors}
      StrCpy $Leftovers "$Leftovers$\r$\n$INSTDIR\${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

Section Uninstall
  ; A copy of the uninstaller can be run for any folder (_?=): it removes
  ; nothing unless that folder holds the installation its entry names.
  Push $INSTDIR
  Call un.IsRecordedInstallation
  Pop $0
  ${If} $0 <> 1
    StrCpy $0 "$INSTDIR holds no installation of Zephtab made by its setup. Nothing was removed."
    DetailPrint $0
    MessageBox MB_OK|MB_ICONSTOP $0 /SD IDOK
    SetErrorLevel ${ERROR_LEVEL_REFUSED_FOLDER}
    Abort
  ${EndIf}
  !insertmacro EndRunningZephtab "un."

  ; A copy of Zephtab elsewhere keeps its own start at log-on. The value is
  ; the quoted path (older versions wrote it bare); full paths are compared,
  ; so that "$INSTDIR\..\other\zephtab.exe" is another copy's. Compared while
  ; the program is still there to give its long name.
  ReadRegStr $0 HKCU "${RUN_KEY}" "zephtab"
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    ${un.WordFind} $0 '"' "+1{" $0
  ${EndIf}
  ${If} $0 != ""
    Push $0
    Call un.CanonicalPath
    Push "$INSTDIR\zephtab.exe"
    Call un.CanonicalPath
    Pop $1
    Pop $0
    ${If} $0 == $1
      DeleteRegValue HKCU "${RUN_KEY}" "zephtab"
    ${EndIf}
  ${EndIf}
  !insertmacro RemoveInstalledFile "zephtab.exe"
  !insertmacro RemoveInstalledFile "zephtab-config.exe"
  !insertmacro RemoveInstalledFile "zephtab-settings.exe"
  !insertmacro RemoveInstalledFile "README.txt"
  !insertmacro RemoveInstalledFile "LICENSE.txt"
  Delete "${START_MENU}\Zephtab.lnk"
  Delete "${START_MENU}\Zephtab Settings.lnk"
  RMDir "${START_MENU}"

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
    Delete "$INSTDIR\${RECORD}"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
SectionEnd
