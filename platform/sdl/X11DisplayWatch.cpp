#include "platform/sdl/X11DisplayWatch.h"

#include "base/LogWriter.h"

#include <SDL.h>
#include <SDL_syswm.h>

// Xlib's macros stay in this file.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Xlib's handler is one for the process and takes no data of ours: it finds the watch here.
std::atomic<X11DisplayWatch*> gActiveWatch{nullptr};
XIOErrorHandler gPreviousHandler = nullptr;

int OnConnectionBroken(Display* display)
{
    if (X11DisplayWatch* watch = gActiveWatch.load())
        watch->ConnectionBroken();
    // No window is watched: Xlib's own handler reports it and ends the program.
    return gPreviousHandler != nullptr ? gPreviousHandler(display) : 0;
}

[[noreturn]] void WaitForTheEnd()
{
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

} // namespace

X11DisplayWatch::X11DisplayWatch(SDL_Window* window) : m_mainThread(std::this_thread::get_id())
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11)
        return;
    if (::pipe2(m_pipe, O_CLOEXEC) != 0)
        return;
    Display* display = info.info.x11.display;
    m_connection = ConnectionNumber(display);
    m_displayName = DisplayString(display);
    const XIOErrorHandler previous = XSetIOErrorHandler(OnConnectionBroken);
    if (previous != OnConnectionBroken)
        gPreviousHandler = previous;
    gActiveWatch = this;
    m_watcher = std::thread([this] { WatchConnection(); });
}

X11DisplayWatch::~X11DisplayWatch()
{
    if (m_watcher.joinable()) {
        Tell(Notice::Stop);
        m_watcher.join();
    }
    X11DisplayWatch* self = this;
    if (gActiveWatch.compare_exchange_strong(self, nullptr))
        XSetIOErrorHandler(gPreviousHandler);
    for (int fd : m_pipe)
        if (fd >= 0)
            ::close(fd);
}

void X11DisplayWatch::SetHandler(std::function<void()> handler)
{
    std::lock_guard lock(m_handlerMutex);
    m_handler = std::move(handler);
}

void X11DisplayWatch::CheckIn()
{
    if (m_lost.load())
        EndProgram();
    ++m_checkIns;
}

void X11DisplayWatch::ConnectionBroken()
{
    m_lost = true;
    if (std::this_thread::get_id() == m_mainThread)
        EndProgram();
    // Another thread met it (one that woke the main loop): the main thread ends the program at its next
    // check-in, or the watch's thread in its place; this one must not go back into Xlib.
    Tell(Notice::Lost);
    WaitForTheEnd();
}

void X11DisplayWatch::Tell(Notice notice) const
{
    const char byte = static_cast<char>(notice);
    // Only write(): a thread inside Xlib's handler may tell.
    (void)!::write(m_pipe[1], &byte, 1);
}

void X11DisplayWatch::WatchConnection()
{
    // Only a hang-up is asked for: what the server sends stays for Xlib to read.
    pollfd watched[2] = {{m_connection, POLLRDHUP, 0}, {m_pipe[0], POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0)
            continue;
        if ((watched[0].revents & POLLNVAL) != 0)
            return;
        if ((watched[0].revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0)
            break;
        char byte = 0;
        if (watched[1].revents != 0 &&
            (::read(m_pipe[0], &byte, 1) != 1 || byte == static_cast<char>(Notice::Stop)))
            return;
        if (byte == static_cast<char>(Notice::Lost))
            break;
    }
    m_lost = true;
    StandInForAStuckMainThread();
}

bool X11DisplayWatch::WaitForStop(int timeoutMs) const
{
    pollfd told{m_pipe[0], POLLIN, 0};
    if (::poll(&told, 1, timeoutMs) <= 0)
        return false;
    char byte = 0;
    return ::read(m_pipe[0], &byte, 1) != 1 || byte == static_cast<char>(Notice::Stop);
}

void X11DisplayWatch::StandInForAStuckMainThread()
{
    using Clock = std::chrono::steady_clock;
    constexpr int kLookEveryMs = 100;
    std::uint64_t seen = m_checkIns.load();
    Clock::time_point lastSeen = Clock::now();
    while (!m_claimed.load()) {
        if (WaitForStop(kLookEveryMs))
            return;
        const std::uint64_t now = m_checkIns.load();
        if (now != seen) {
            seen = now;
            lastSeen = Clock::now();
        } else if (Clock::now() - lastSeen >= std::chrono::milliseconds(kMainThreadAllowanceMs)) {
            EndProgram();
        }
    }
}

void X11DisplayWatch::EndProgram()
{
    if (m_claimed.exchange(true))
        WaitForTheEnd();
    const std::string message = "The connection to the display " + m_displayName +
                                " was lost (its X server ended, or the connection to it broke): the game "
                                "saves and ends.";
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    LogWriter::WriteLine(message);
    std::function<void()> handler;
    {
        std::lock_guard lock(m_handlerMutex);
        handler = m_handler;
    }
    if (handler)
        handler();
    std::fflush(nullptr);
    std::_Exit(1);
}
