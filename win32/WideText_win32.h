// Paths between the program and Win32. The program keeps its strings in UTF-8, so that any
// folder name survives; Win32 takes paths in UTF-16, and the message boxes show text in the
// ANSI code page.
#pragma once

#include <string>
#include <string_view>

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
// For a message: characters the ANSI code page lacks become its default character ('?').
std::string AnsiFromWide(std::wstring_view text);
