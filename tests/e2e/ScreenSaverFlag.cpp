// Reports the system's screen-saver-running flag as its exit code (1 set, 0 clear, 2 unknown).
// A fresh process each time, since a process may keep the system parameters it read once.
#include <windows.h>

int main() {
  BOOL running = FALSE;
  if (!SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0)) return 2;
  return running ? 1 : 0;
}
