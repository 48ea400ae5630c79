#include "platform/FatalError.h"

#include "platform/sdl/SdlMessageBox.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

std::mutex g_handlerMutex;
FatalErrorHandler g_handler;

// Statics are initialised on the main thread, before main.
const std::thread::id g_mainThread = std::this_thread::get_id();

std::mutex g_pendingMutex;
std::string g_pendingMessage;
std::atomic<bool> g_pending{false};

// "/proc/self/task/<main thread>/children": the processes the main thread started, among them the one
// that shows the message box (SDL draws it in a child process). Formatted before the box goes up, so the
// signal handler only reads it.
char g_childrenPath[64] = "";

void FormatChildrenPath()
{
    std::snprintf(g_childrenPath, sizeof g_childrenPath, "/proc/self/task/%d/children",
                  static_cast<int>(::getpid()));
}

// Ends every child of the main thread; only calls that are safe in a signal handler.
void EndChildren()
{
    if (g_childrenPath[0] == '\0')
        return;
    const int fd = ::open(g_childrenPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    char buffer[512];
    const ssize_t count = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    long pid = 0;
    for (ssize_t i = 0; i < count; ++i) {
        if (buffer[i] >= '0' && buffer[i] <= '9') {
            pid = pid * 10 + (buffer[i] - '0');
        } else {
            if (pid > 0)
                ::kill(static_cast<pid_t>(pid), SIGKILL);
            pid = 0;
        }
    }
    if (pid > 0)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
}

// While the box is up, a request to end (SIGTERM, Ctrl+C, a closed terminal) ends at once: the program is
// leaving anyway, and the box goes with it.
void LeaveAtOnce(int)
{
    EndChildren();
    std::_Exit(1);
}

// Shows the box; a request to end while it is up ends the program and the box.
void ShowBoxEndingWithTheProgram(const std::string& message)
{
    FormatChildrenPath();
    std::signal(SIGTERM, LeaveAtOnce);
    std::signal(SIGINT, LeaveAtOnce);
    // A hang-up ignored from the start (nohup) stays ignored.
    if (std::signal(SIGHUP, LeaveAtOnce) == SIG_IGN)
        std::signal(SIGHUP, SIG_IGN);
    ShowSdlErrorBox(kFatalErrorCaption, message);
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
        ShowBoxEndingWithTheProgram(message);
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
        ShowBoxEndingWithTheProgram(message);
    }
    std::fflush(nullptr);
    std::_Exit(1);
}

namespace {

void ShowAndLeave(const std::string& message)
{
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
