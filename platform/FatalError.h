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
// On any thread but the main one (a loading thread) it writes the message to stderr, hands it to the main
// thread and stops that thread for good: the main thread shows it at its next RaisePendingFatalError, so a
// box is never shown off the main thread and shutdown never waits for a thread stuck in one.
void FatalError(const std::string& message);
// True once another thread has handed over a fatal error.
bool HasPendingFatalError();
// On the main thread: when another thread has handed over a fatal error, shows it and exits with code 1.
// Call it in every loop pass and before joining a thread that may have raised one.
void RaisePendingFatalError();
// Installs a handler for every fatal message; an empty handler restores the default. Returns the previous
// one.
FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler);
