// velorium --full-screen: the saver of the whole Wayland desktop, one scene per output on one
// set of deadlines, until the user's input (the saver's input rule) or a stop signal ends it.
#pragma once

#include "hack/HackCommandLine.h"
#include "hack/StopSignals_posix.h"

// Covers every output and draws until the user or a stop signal ends it: 0. Throws
// std::runtime_error, one line, when there is no compositor, the connection fails or a scene
// cannot be set up. VELORIUM_WAYLAND_SHELL chooses the shell: "xdg" or "layer" only; unset
// or empty, layer-shell where there is one, else xdg-shell.
int RunFullScreen(const HackOptions& options, StopSignals& stop);
