; The current screen saver, as the setup program, its uninstaller and the Start menu's
; "Make Velorium the screen saver" helper choose it: values under HKCU\Control Panel\Desktop.
!include LogicLib.nsh

!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE 1
!define SPIF_SENDCHANGE 2
!define /math SPIF_UPDATE_AND_SEND ${SPIF_UPDATEINIFILE} | ${SPIF_SENDCHANGE}

; LongPath OUT PATH: the long form of PATH (an existing file), or PATH itself when it has
; none. Uses $8 and $9.
!macro LongPath OUT PATH
  System::Call 'kernel32::GetLongPathNameW(w "${PATH}", w .r9, i ${NSIS_MAX_STRLEN}) i .r8'
  ${If} $8 = 0
    StrCpy ${OUT} "${PATH}"
  ${Else}
    StrCpy ${OUT} $9
  ${EndIf}
!macroend

; SelectScreenSaver SCR: makes the saver at SCR (a full long path) the current screen saver,
; turns screen savers on, gives a first-time user a ten-minute wait and tells Windows.
; Uses $0.
!macro SelectScreenSaver SCR
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${SCR}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; A wait the user chose stays, whether stored as text or as a number.
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveTimeOut"
  ${If} ${Errors}
    ClearErrors
    ReadRegDWORD $0 HKCU "${DESKTOP_KEY}" "ScreenSaveTimeOut"
    ${If} ${Errors}
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveTimeOut" "600"
    ${EndIf}
  ${EndIf}
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})'
!macroend

; IsSelectedScreenSaver OUT SCR: OUT is 1 when SCRNSAVE.EXE names the saver at SCR (a long path
; of a file that still exists) in long or short form, in any case; else 0. Uses $0, $1, $8, $9.
!macro IsSelectedScreenSaver OUT SCR
  StrCpy ${OUT} 0
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != ""
    ; LogicLib's == is StrCmp, which ignores case.
    !insertmacro LongPath $1 "$0"
    ${If} $1 == "${SCR}"
      StrCpy ${OUT} 1
    ${EndIf}
    System::Call 'kernel32::GetShortPathNameW(w "${SCR}", w .r9, i ${NSIS_MAX_STRLEN}) i .r8'
    ${If} $8 <> 0
    ${AndIf} $0 == $9
      StrCpy ${OUT} 1
    ${EndIf}
  ${EndIf}
!macroend
