// Which of the saver's modes a command line asks for. Portable: start-up
// splits the command line and passes the arguments here.
#pragma once

#include <string>
#include <vector>

enum class SaverMode { FullScreen = 0, Preview = 1, Options = 2, None = 3 };

// arguments: the command-line words after the program path, argument 1 first.
// Only argument 1 decides: "/s" or "/p" as the whole argument, with the letters
// A-Z taken as lower case, select full screen or preview; otherwise "/c"
// anywhere in it, case-sensitive, selects the options dialog; anything else,
// or no argument, selects nothing.
SaverMode SelectMode(const std::vector<std::string>& arguments);
