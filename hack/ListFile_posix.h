// velorium --add-to-list and --remove-from-list: the user's ~/.xscreensaver read, changed
// by XScreenSaverList and put in place of the old file whole, and a line on what was done.
#pragma once

#include <cstdio>
#include <string>

#include "hack/FileReplacement_posix.h"

// The files a change of the list reads and writes, and the program it adds.
struct ListFiles {
  std::string settings;    // the user's settings, ~/.xscreensaver
  std::string defaults;    // the system's, /etc/X11/app-defaults/XScreenSaver
  std::string executable;  // the absolute path of the running program; empty when unknown
};

// Where a test steps into a change.
using ListHooks = ReplacementHooks;

// Adds velorium to the list in `files.settings` (add) or takes it out; says what it did on
// `out`, or what went wrong in one line on `errors`. Returns the exit status: 0 once the list
// holds the change on disk (or needs none) and that is said, else 1.
//
// A link at `files.settings` is followed once; the file is then opened, read and replaced
// through one descriptor of the folder that holds it, whose lock (FolderLock) each attempt
// holds from before the read until the new file is in place. The new file takes the place of
// the very file that was read, and only while that file still holds the text read: when
// another program changed or replaced it meanwhile, its newest file is put back and the change
// starts again from that one's text, a few times at most. Nothing is changed when the folder
// stays locked by another process, a file is not a regular file of at most 16 MiB, the list
// has another name (a hard link), a link cannot be followed, the list, its link or its folder
// belongs to another user, its list of hacks has a backslash before a CR LF line end (which
// the daemon reads as the list's end), the added list would pass 16 MiB, or the daemon would
// cut or change the program's path. SIGTERM, SIGINT and SIGHUP keep the caller's handling but
// are held from the making of the new file until it is in place (or gone) and that is said.
int ChangeList(const ListFiles& files, bool add, std::FILE* out, std::FILE* errors,
               const ListHooks& hooks = {});

// ChangeList for the user's ~/.xscreensaver (found through HOME, or the password database)
// and this program, on standard output and error.
int ChangeXScreenSaverList(bool add);
