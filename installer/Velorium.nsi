; Velorium's setup program: installs Velorium.scr for the current user (no administrator
; rights), makes it the current screen saver, adds a Start-menu folder and an uninstaller
; registered with Windows. Built by CMake (installer/CMakeLists.txt), which defines
; VERSION_NSH, SCR, SELECT_EXE, LICENSE, ICON and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel user

!include "${VERSION_NSH}"
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include "Desktop.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velorium"
!define MENU_FOLDER "$SMPROGRAMS\Velorium"
!define PUBLISHER "the Velorium developers"

Name "Velorium"
BrandingText "Velorium ${VERSION}"
OutFile "${OUTFILE}"
; An installed copy is upgraded where it is; /D= chooses another folder.
InstallDir "$LOCALAPPDATA\Programs\Velorium"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
; A file that cannot be written stops the installation: it is never skipped.
AllowSkipFiles off
; The files keep no times of their own (they would be the build's): the installed ones get the
; time of the installation, and the same files make the same setup program.
SetDateSave off

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "Velorium"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "Velorium setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION4}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright 2026 the Velorium developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Velorium.scr"
!define MUI_FINISHPAGE_RUN_PARAMETERS "/c"
!define MUI_FINISHPAGE_RUN_TEXT "Open Velorium settings"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; WaitUntilWritable FILE: returns when FILE is missing or may be written. A running copy of the
; saver (the settings page's preview keeps one) cannot be; the user may close it and retry,
; or cancel, which a silent run does at once: it then ends with status 2. Uses $0.
!macro WaitUntilWritable FILE
  ${Do}
    ${IfNot} ${FileExists} "${FILE}"
      ${Break}
    ${EndIf}
    ClearErrors
    FileOpen $0 "${FILE}" a
    ${IfNot} ${Errors}
      FileClose $0
      ${Break}
    ${EndIf}
    DetailPrint "${FILE} is in use."
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${FILE} is in use.$\r$\n$\r$\nClose Windows' screen-saver settings and Velorium's own windows, then choose Retry." \
      /SD IDCANCEL IDRETRY +2
    Abort "${FILE} is in use."
  ${Loop}
!macroend

; HoldsOtherFiles OUT FOLDER: OUT is 1 when FOLDER holds anything but Uninstall.exe, else 0.
; Uses $8 and $9.
!macro HoldsOtherFiles OUT FOLDER
  StrCpy ${OUT} 0
  FindFirst $8 $9 "${FOLDER}\*"
  ${DoWhile} $9 != ""
    ${If} $9 != "."
    ${AndIf} $9 != ".."
    ${AndIf} $9 != "Uninstall.exe"
      StrCpy ${OUT} 1
    ${EndIf}
    FindNext $8 $9
  ${Loop}
  FindClose $8
!macroend

Section "Velorium"
  SetOutPath "$INSTDIR"
  !insertmacro WaitUntilWritable "$INSTDIR\Velorium.scr"
  ; The settings file beside the saver is the user's, and stays as it is.
  File "/oname=Velorium.scr" "${SCR}"
  File "/oname=SelectVelorium.exe" "${SELECT_EXE}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  !insertmacro LongPath $2 "$INSTDIR\Velorium.scr"
  !insertmacro SelectScreenSaver $2

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\Velorium settings.lnk" "$INSTDIR\Velorium.scr" "/c" "$INSTDIR\Velorium.scr" 0
  CreateShortcut "${MENU_FOLDER}\Make Velorium the screen saver.lnk" "$INSTDIR\SelectVelorium.exe" "" \
    "$INSTDIR\Velorium.scr" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Velorium"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Velorium.scr"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; The saver goes first: while it runs, nothing is removed.
  !insertmacro LongPath $2 "$INSTDIR\Velorium.scr"
  !insertmacro IsSelectedScreenSaver $3 $2
  !insertmacro WaitUntilWritable "$INSTDIR\Velorium.scr"
  Delete "$INSTDIR\Velorium.scr"
  ${If} $3 = 1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}
  Delete "$INSTDIR\Velorium.ini"
  Delete "$INSTDIR\SelectVelorium.exe"
  Delete "$INSTDIR\LICENSE.txt"
  ; The uninstaller runs from a copy in the temporary folder, started by this file's own
  ; process, which may hold the file (and so the folder) for a moment after it ended.
  ; Anything else the user put into the folder stays, and so does the folder then.
  ${ForEach} $0 1 50 + 1
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    ${IfNot} ${FileExists} "$INSTDIR\*"
      ${Break}
    ${EndIf}
    !insertmacro HoldsOtherFiles $1 "$INSTDIR"
    ${If} $1 = 1
      ${Break}
    ${EndIf}
    Sleep 100
  ${Next}

  Delete "${MENU_FOLDER}\Velorium settings.lnk"
  Delete "${MENU_FOLDER}\Make Velorium the screen saver.lnk"
  RMDir "${MENU_FOLDER}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
