// Nothing thrown may leave a window procedure: each one hands what it caught to the handler
// the application installs, which shows it in the standard exception display.
#pragma once

// Reports the exception being handled; called inside a catch block.
using WindowExceptionHandler = void (*)();

// Installs `handler` (null: caught exceptions are dropped) and returns the one it replaces.
WindowExceptionHandler SetWindowExceptionHandler(WindowExceptionHandler handler);

// Call in a window procedure's catch block: reports the exception being handled through the
// installed handler. Nothing leaves, not even a failure to report.
void HandleWindowException();
