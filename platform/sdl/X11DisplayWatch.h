#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

struct SDL_Window;

// Ends the program in order when the X server under the window goes away: the handler saves, a message
// says why, and the program ends with exit code 1.
//
// Xlib reports a broken connection to one I/O error handler for the whole process, on whichever thread
// made the call that met it, and must not be returned to. Mesa's EGL may meet the broken connection first,
// through xcb, and then send its picture for ever in pieces of no size, so Xlib never gets to report it.
// So a thread of the watch also waits for the connection to hang up: the main thread ends the program at
// its next check-in, and when it stops checking in (caught in such a call) the watch's thread saves and
// ends it in its place.
class X11DisplayWatch
{
public:
    // Watches the connection the window is shown through; nothing happens on other video drivers. The
    // calling thread is the main one.
    explicit X11DisplayWatch(SDL_Window* window);
    ~X11DisplayWatch();
    X11DisplayWatch(const X11DisplayWatch&) = delete;
    X11DisplayWatch& operator=(const X11DisplayWatch&) = delete;

    void SetHandler(std::function<void()> handler);
    // On the main thread between its calls to the display, at least once a loop pass: ends the program
    // when the connection was found broken meanwhile.
    void CheckIn();
    // What Xlib's I/O error handler calls on the thread that met the broken connection; never returns.
    [[noreturn]] void ConnectionBroken();

    // How long the main thread may stay away after the connection hung up before the watch's thread
    // saves in its place: far longer than a loop pass, which checks in.
    static constexpr int kMainThreadAllowanceMs = 2000;

private:
    // What the watch's thread is told through its pipe.
    enum class Notice : char
    {
        Stop = 's',
        Lost = 'l',
    };

    void Tell(Notice notice) const;
    void WatchConnection();
    // Whether the watch is told to stop within the time.
    bool WaitForStop(int timeoutMs) const;
    void StandInForAStuckMainThread();
    // The first caller saves and ends the program; any other waits for that.
    [[noreturn]] void EndProgram();

    int m_connection{-1};
    int m_pipe[2]{-1, -1};
    std::string m_displayName;
    std::thread::id m_mainThread;
    std::mutex m_handlerMutex;
    std::function<void()> m_handler;
    std::atomic<bool> m_lost{false};
    std::atomic<bool> m_claimed{false};
    std::atomic<std::uint64_t> m_checkIns{0};
    std::thread m_watcher;
};
