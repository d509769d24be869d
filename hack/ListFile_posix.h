// velorium --add-to-list and --remove-from-list: the user's ~/.xscreensaver read, changed
// by XScreenSaverList and put in place of the old file whole, and a line on what was done.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

// The files a change of the list reads and writes, and the program it adds.
struct ListFiles {
  std::string settings;    // the user's settings, ~/.xscreensaver
  std::string defaults;    // the system's, /etc/X11/app-defaults/XScreenSaver
  std::string executable;  // the absolute path of the program the list is to run
};

// Adds velorium to the list in `files.settings` (add) or takes it out; says what it did on
// `out`, or what went wrong in one line on `errors`. Returns the exit status: 0 or 1.
// `beforeRename`, when given, runs once the new text is written and before it takes the old
// file's place: the moment a test interrupts.
int ChangeList(const ListFiles& files, bool add, std::FILE* out, std::FILE* errors,
               const std::function<void()>& beforeRename = {});

// ChangeList for the user's ~/.xscreensaver (found through HOME, or the password database)
// and this program, on standard output and error.
int ChangeXScreenSaverList(bool add);
