// Start-up: the guarded steps that initialise the application, create the main form
// of the chosen mode and run the message loop.
#pragma once

#include <functional>

#include "app/Mode.h"

class TApplication;

// Creates the main form of a mode (FullScreen, Preview or Options) on the application.
using MainFormMaker = std::function<void(TApplication& application, SaverMode mode)>;

// Initialises the application, titles it "Velorium I", creates the main form of the
// mode (or, for SaverMode::None, asks the application to terminate) and runs the
// message loop. An exception that escapes is shown in the standard exception display;
// anything thrown that is not an Exception shows as an empty one. Always returns 0.
int RunApplication(SaverMode mode, const MainFormMaker& makeMainForm);

// The program: mode from the command line, the real forms. Always returns 0.
int VeloriumMain();
