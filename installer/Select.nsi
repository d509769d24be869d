; SelectVelorium.exe, behind the Start menu's "Make Velorium the screen saver": makes the
; Velorium.scr beside it the current screen saver again (Windows' list shows a saver that is
; not in the system folder only while it is selected). /S leaves out the closing message.
; Built by CMake, which defines VERSION_NSH, ICON and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel user

!include "${VERSION_NSH}"
!include "Desktop.nsh"

Name "Velorium"
OutFile "${OUTFILE}"
Icon "${ICON}"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "Velorium"
VIAddVersionKey /LANG=0 "FileDescription" "Make Velorium the screen saver"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION4}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright 2026 the Velorium developers"

; All is done before any page would show.
Function .onInit
  ${IfNot} ${FileExists} "$EXEDIR\Velorium.scr"
    MessageBox MB_OK|MB_ICONSTOP "Velorium.scr is missing from $EXEDIR. Install Velorium again." /SD IDOK
    SetErrorLevel 1
    Quit
  ${EndIf}
  !insertmacro LongPath $2 "$EXEDIR\Velorium.scr"
  !insertmacro SelectScreenSaver $2
  MessageBox MB_OK|MB_ICONINFORMATION "Velorium is now the screen saver." /SD IDOK
  SetErrorLevel 0
  Quit
FunctionEnd

Section
SectionEnd
