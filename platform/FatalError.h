#pragma once

#include <functional>
#include <string>

inline constexpr const char* kFatalErrorCaption = "FATAL ERROR";

// Receives fatal messages in place of the message box and the exit (tests install one).
using FatalErrorHandler = std::function<void(const std::string& message)>;

// Writes the message to stderr and shows it in a message box captioned "FATAL ERROR" when a display exists.
// With a handler installed, only the handler sees it.
void ShowFatalErrorBox(const std::string& message);
// An error the program cannot go on from: shows it as above and exits with code 1. With a handler installed,
// the handler sees it and this returns, so callers stop their work after calling it.
void FatalError(const std::string& message);
// Installs a handler for every fatal message; an empty handler restores the default. Returns the previous
// one.
FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler);
