; SPDX-License-Identifier: GPL-3.0-or-later
; The Versemark installer for Windows: both programs, for all users (Program
; Files, administrator rights) or for the current user only (the user's own
; programs folder, no administrator rights), a Start-menu folder, an uninstaller,
; and on request the program folder in the user's PATH for versemark-cli. Made by
; scripts/build-windows.sh:
;   makensis -DVERSION=1.0.0 -DPROGRAMS=<folder of the .exe files>
;            -DICON=<versemark.ico> -DLICENSE=<licence text with CR LF line ends>
;            -DOUTFILE=<installer>
; Silently: /S installs for all users where the rights allow it, else for the
; current user; /S /CurrentUser for the current user only; /AddToPath adds the
; folder to the PATH. A silent uninstall keeps the settings and the undo journals.
Unicode true
; The programs are 64-bit, and so is the installer: it runs where they run.
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef PROGRAMS
  !error "PROGRAMS is not defined"
!endif
!ifndef ICON
  !error "ICON is not defined"
!endif
!ifndef LICENSE
  !error "LICENSE is not defined"
!endif
!ifndef OUTFILE
  !error "OUTFILE is not defined"
!endif
; The copyright line, written into the build folder by the build.
!include "${PROGRAMS}/windows/copyright.nsh"

!define PRODUCT "Versemark"
!define PUBLISHER "The Versemark developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Versemark"
; What the programs keep for the user: the remembered choices and the undo journals.
!define SETTINGS_KEY "Software\Versemark"
!define STATE_FOLDER "versemark"
; The user's own environment, and the value that tells the uninstaller whether
; this installer put the program folder into its PATH.
!define ENVIRONMENT_KEY "Environment"
!define ADDED_TO_PATH_VALUE "AddedToPath"
!define ADD_TO_PATH_SWITCH "/AddToPath"

; For all users or the current user only, chosen on a page when the rights allow
; both, or with /AllUsers and /CurrentUser; the uninstaller finds the mode again
; from the uninstall entry.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include WinMessages.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
ShowInstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} installer"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=1033 "Comments" "Licence: GPL-3.0-or-later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

Var AddToPath          ; 1 when the program folder goes into the user's PATH
Var PathTooLong        ; 1 when the user's PATH is beyond what the installer can edit
Var PathCheckBox

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
Page custom PathPage PathPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\versemark.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run Versemark"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The user's PATH in $0, and in $PathTooLong whether it can be edited: a value
; NSIS cannot read whole (its strings hold ${NSIS_MAX_STRLEN} characters), or one
; the program folder would take beyond that, is left as it is.
!macro READ_USER_PATH UN
  Function ${UN}ReadUserPath
    StrCpy $PathTooLong 0
    ClearErrors
    ReadRegStr $0 HKCU "${ENVIRONMENT_KEY}" "Path"
    ${If} ${Errors}
      ; Missing, or too long to be read: only the second leaves a value named Path.
      StrCpy $0 ""
      StrCpy $1 0
      ${Do}
        ClearErrors
        EnumRegValue $2 HKCU "${ENVIRONMENT_KEY}" $1
        ${If} ${Errors}
        ${OrIf} $2 == ""
          ${ExitDo}
        ${EndIf}
        ${If} $2 == "Path"
          StrCpy $PathTooLong 1
          ${ExitDo}
        ${EndIf}
        IntOp $1 $1 + 1
      ${Loop}
    ${Else}
      StrLen $1 $0
      StrLen $2 $INSTDIR
      IntOp $1 $1 + $2
      IntOp $1 $1 + 2  ; the separator and the terminating null
      ${If} $1 > ${NSIS_MAX_STRLEN}
        StrCpy $PathTooLong 1
      ${EndIf}
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro READ_USER_PATH ""
!insertmacro READ_USER_PATH "un."

; The window's class: while a Versemark window is open its program file cannot be
; replaced or removed, so the installer and the uninstaller wait for it to close.
!define WINDOW_CLASS "VersemarkWindow"
!macro WAIT_FOR_CLOSED_WINDOW
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 == 0
      ${ExitDo}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Versemark is running. Close its window, then choose Retry." /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
!macroend

Function .onInit
  !insertmacro WAIT_FOR_CLOSED_WINDOW
  !insertmacro MULTIUSER_INIT
  StrCpy $AddToPath 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "${ADD_TO_PATH_SWITCH}" $1
  ${IfNot} ${Errors}
    StrCpy $AddToPath 1
  ${EndIf}
FunctionEnd

; The uninstaller belongs to the installation in its own folder: its mode is the
; one whose uninstall entry names that folder, whatever another installation for
; the other mode says.
Function un.onInit
  !insertmacro WAIT_FOR_CLOSED_WINDOW
  StrCpy $0 $INSTDIR
  !insertmacro MULTIUSER_UNINIT
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 == $0
    Call un.MultiUser.InstallMode.CurrentUser
  ${ElseIf} $2 == $0
    Call un.MultiUser.InstallMode.AllUsers
  ${EndIf}
  StrCpy $INSTDIR $0
FunctionEnd

; The PATH option: off unless chosen, and unavailable, with the reason, when the
; user's PATH is too long to be edited safely.
Function PathPage
  !insertmacro MUI_HEADER_TEXT "Command line" "Make versemark-cli available in command windows."
  Call ReadUserPath
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateCheckbox} 0 0 100% 12u "Add the program folder to my PATH"
  Pop $PathCheckBox
  ${If} $AddToPath == 1
    ${NSD_Check} $PathCheckBox
  ${EndIf}
  ${NSD_CreateLabel} 0 18u 100% 36u "versemark-cli.exe can then be started by name in a new command window. The folder is added to your own PATH only, and the uninstaller takes it out again."
  Pop $0
  ${If} $PathTooLong == 1
    ${NSD_Uncheck} $PathCheckBox
    EnableWindow $PathCheckBox 0
    ${NSD_CreateLabel} 0 60u 100% 36u "Your PATH is longer than this installer can change without cutting it (${NSIS_MAX_STRLEN} characters), so it is left as it is. Add $INSTDIR to it by hand if you wish."
    Pop $0
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function PathPageLeave
  ${NSD_GetState} $PathCheckBox $AddToPath
  ${If} $AddToPath == ${BST_CHECKED}
    StrCpy $AddToPath 1
  ${Else}
    StrCpy $AddToPath 0
  ${EndIf}
FunctionEnd

Section "Versemark"
  SetOutPath "$INSTDIR"
  File "${PROGRAMS}\versemark.exe"
  File "${PROGRAMS}\versemark-cli.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\versemark.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  ; The uninstall entry, in the machine's or the user's registry as installed.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\versemark.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  ${If} $AddToPath == 1
    Call AddToUserPath
  ${EndIf}
SectionEnd

; Appends the program folder to the user's PATH unless it is there already or the
; PATH is too long to be edited; the uninstall entry remembers that it was added.
Function AddToUserPath
  Call ReadUserPath
  ${If} $PathTooLong == 1
    DetailPrint "The PATH is too long to be changed here; it is left as it is."
    Return
  ${EndIf}
  ${If} $0 == ""
    StrCpy $1 "$INSTDIR"
  ${Else}
    ${WordAdd} "$0" ";" "+$INSTDIR" $1
  ${EndIf}
  WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$1"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "${ADDED_TO_PATH_VALUE}" 1
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
FunctionEnd

; Takes the program folder out of the user's PATH again, where this installer put it.
Function un.RemoveFromUserPath
  ReadRegDWORD $0 SHCTX "${UNINSTALL_KEY}" "${ADDED_TO_PATH_VALUE}"
  ${If} $0 != 1
    Return
  ${EndIf}
  Call un.ReadUserPath
  ${If} $PathTooLong == 1
  ${OrIf} $0 == ""
    Return
  ${EndIf}
  ${un.WordAdd} "$0" ";" "-$INSTDIR" $1
  ${If} $1 == ""
    DeleteRegValue HKCU "${ENVIRONMENT_KEY}" "Path"
  ${Else}
    WriteRegExpandStr HKCU "${ENVIRONMENT_KEY}" "Path" "$1"
  ${EndIf}
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
FunctionEnd

; Asks whether the user's settings and undo journals go too; a silent uninstall
; keeps them.
Function un.RemoveUserData
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove your Versemark settings and the undo journals of your tagging passes as well?$\r$\n$\r$\nWithout the journals, passes can no longer be undone." /SD IDNO IDYES remove
  Return
  remove:
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  ; The journals lie in the user's own local application data, whatever the mode.
  SetShellVarContext current
  RMDir /r "$LOCALAPPDATA\${STATE_FOLDER}"
  ${If} $MultiUser.InstallMode == "AllUsers"
    SetShellVarContext all
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Call un.RemoveFromUserPath
  Delete "$INSTDIR\versemark.exe"
  Delete "$INSTDIR\versemark-cli.exe"
  ; The visual-styles manifest the program writes beside itself.
  Delete "$INSTDIR\versemark.exe.manifest"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  Call un.RemoveUserData
SectionEnd
