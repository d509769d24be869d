// velorium --add-to-list and --remove-from-list: the user's ~/.xscreensaver read, changed
// by XScreenSaverList and put in place of the old file whole, and a line on what was done.
#pragma once

// Adds velorium to the list (add) or takes it out; says what it did on standard output, or
// what went wrong in one line on standard error. Returns the exit status: 0 or 1.
int ChangeXScreenSaverList(bool add);
