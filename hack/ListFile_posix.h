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
// `out`, or what went wrong in one line on `errors`. Returns the exit status: 0 once the list
// holds the change (or needs none) and that is said, else 1. Nothing is changed when a file is
// not a regular file of at most 16 MB (links followed), a link cannot be followed, or the
// daemon would cut or change the program's path. SIGTERM, SIGINT and SIGHUP keep the caller's
// handling but are held from the making of the new file until it is in place (or gone) and
// that is said. `beforeRename`, when given, runs once the new text is written and before it
// takes the old file's place: the moment a test interrupts.
int ChangeList(const ListFiles& files, bool add, std::FILE* out, std::FILE* errors,
               const std::function<void()>& beforeRename = {});

// ChangeList for the user's ~/.xscreensaver (found through HOME, or the password database)
// and this program, on standard output and error.
int ChangeXScreenSaverList(bool add);
