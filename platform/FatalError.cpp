#include "platform/FatalError.h"

#include "platform/sdl/SdlMessageBox.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

std::mutex g_handlerMutex;
FatalErrorHandler g_handler;

// Statics are initialised on the main thread, before main.
const std::thread::id g_mainThread = std::this_thread::get_id();

std::mutex g_pendingMutex;
std::string g_pendingMessage;
std::atomic<bool> g_pending{false};

// While the box is up, a request to end (SIGTERM, Ctrl+C) ends at once: the program is leaving anyway.
void LeaveAtOnce(int)
{
    std::_Exit(1);
}

[[noreturn]] void ShowAndLeave(const std::string& message);

FatalErrorHandler CurrentHandler()
{
    std::lock_guard lock(g_handlerMutex);
    return g_handler;
}

void ShowToUser(const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", kFatalErrorCaption, message.c_str());
    std::fflush(stderr);
    if (HasDisplay()) {
        ShowSdlErrorBox(kFatalErrorCaption, message);
    }
}

} // namespace

void ShowFatalErrorBox(const std::string& message)
{
    if (FatalErrorHandler handler = CurrentHandler()) {
        handler(message);
        return;
    }
    ShowToUser(message);
}

void FatalError(const std::string& message)
{
    if (FatalErrorHandler handler = CurrentHandler()) {
        handler(message);
        return;
    }
    if (std::this_thread::get_id() != g_mainThread) {
        std::fprintf(stderr, "%s: %s\n", kFatalErrorCaption, message.c_str());
        std::fflush(stderr);
        {
            std::lock_guard lock(g_pendingMutex);
            if (!g_pending.load())
                g_pendingMessage = message;
        }
        g_pending = true;
        // This thread's caller cannot go on; the main thread ends the process.
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    }
    ShowAndLeave(message);
}

bool HasPendingFatalError()
{
    return g_pending.load();
}

void RaisePendingFatalError()
{
    if (!g_pending.load() || std::this_thread::get_id() != g_mainThread)
        return;
    std::string message;
    {
        std::lock_guard lock(g_pendingMutex);
        message = g_pendingMessage;
    }
    if (FatalErrorHandler handler = CurrentHandler()) {
        handler(message);
        return;
    }
    if (HasDisplay()) {
        std::signal(SIGTERM, LeaveAtOnce);
        std::signal(SIGINT, LeaveAtOnce);
        ShowSdlErrorBox(kFatalErrorCaption, message);
    }
    std::fflush(nullptr);
    std::_Exit(1);
}

namespace {

void ShowAndLeave(const std::string& message)
{
    std::signal(SIGTERM, LeaveAtOnce);
    std::signal(SIGINT, LeaveAtOnce);
    ShowToUser(message);
    // Other threads may still run: leave without running destructors under them.
    std::fflush(nullptr);
    std::_Exit(1);
}

} // namespace

FatalErrorHandler SetFatalErrorHandler(FatalErrorHandler handler)
{
    std::lock_guard lock(g_handlerMutex);
    FatalErrorHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}
