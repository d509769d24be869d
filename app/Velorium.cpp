// Entry point of Velorium.scr. Windows starts a screen saver with "/s", "/p <window>"
// or "/c[:window]"; the entry's own parameters are not used.
#include <windows.h>

#include "app/Startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return VeloriumMain();
}
