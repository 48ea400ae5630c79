#include "platform/sdl/SdlWindow.h"

#include "base/Utf8.h"
#include "platform/KeyCodes.h"
#include "platform/sdl/SdlKeyMap.h"
#include "platform/sdl/SessionBus.h"
#include "platform/sdl/X11DisplayWatch.h"
#include "platform/sdl/X11FullScreen.h"

#include <SDL.h>

#include <algorithm>
#include <csignal>
#include <string>

#include <signal.h>

namespace {

// How long an idle wait sleeps on a video driver that cannot wait for its
// events: one tick, as a polling loop would.
constexpr uint32_t kPollingWaitMs = 10;

// Click count of a press: 1 left, 2 left double, -1 right, -2 right double,
// 0 middle; a middle double click gives no record.
bool PressClicks(int button, int clicks, int& result)
{
    bool isDouble = clicks >= 2 && clicks % 2 == 0;
    switch (button) {
    case SDL_BUTTON_LEFT:
        result = isDouble ? 2 : 1;
        return true;
    case SDL_BUTTON_RIGHT:
        result = isDouble ? -2 : -1;
        return true;
    case SDL_BUTTON_MIDDLE:
        result = 0;
        return !isDouble;
    default:
        return false;
    }
}

bool ReleaseClicks(int button, int& result)
{
    switch (button) {
    case SDL_BUTTON_LEFT:
        result = 1;
        return true;
    case SDL_BUTTON_RIGHT:
        result = -1;
        return true;
    case SDL_BUTTON_MIDDLE:
        result = 0;
        return true;
    default:
        return false;
    }
}

// Control characters that text input never sends but the edit box expects.
int ControlCharacter(const SDL_KeyboardEvent& key)
{
    switch (key.keysym.sym) {
    case SDLK_BACKSPACE:
        return KeyCode::CharBackspace;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return KeyCode::CharEnter;
    default:
        break;
    }
    if ((key.keysym.mod & KMOD_CTRL) == 0)
        return 0;
    switch (key.keysym.sym) {
    case SDLK_c:
        return KeyCode::CharCopy;
    case SDLK_x:
        return KeyCode::CharCut;
    case SDLK_v:
        return KeyCode::CharPaste;
    case SDLK_z:
        return KeyCode::CharUndo;
    default:
        return 0;
    }
}

// A closed terminal or session (SIGHUP) ends the game as SIGTERM does: SDL turns SIGTERM into a request to
// quit, so the game saves on its way out instead of dying with nothing saved. Only raise() here: it is safe
// in a signal handler.
void HangUpAsTerminate(int)
{
    std::raise(SIGTERM);
}

// After SDL has put in its own handlers; a hang-up ignored from the start (nohup) stays ignored.
void EndOnHangUpAsOnTerminate()
{
    struct sigaction current{};
    if (::sigaction(SIGHUP, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
        return;
    struct sigaction hangUp{};
    hangUp.sa_handler = HangUpAsTerminate;
    sigemptyset(&hangUp.sa_mask);
    ::sigaction(SIGHUP, &hangUp, nullptr);
}

} // namespace

SdlWindow::SdlWindow() = default;

SdlWindow::~SdlWindow()
{
    m_displayWatch.reset();
    if (m_window)
        SDL_DestroyWindow(m_window);
    if (m_videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlWindow::Create(const WindowOptions& options)
{
    if (!m_videoStarted) {
        SessionBus::KeepOffAnAbsentBus();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            m_error = std::string("SDL video: ") + SDL_GetError();
            return false;
        }
        m_videoStarted = true;
        EndOnHangUpAsOnTerminate();
    }
    m_windowed = options.windowed;
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (!m_windowed)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    m_window = SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                options.width, options.height, flags);
    if (!m_window && !m_windowed) {
        // Full screen refused: a window still lets the game run.
        m_windowed = true;
        m_window = SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    options.width, options.height, SDL_WINDOW_HIDDEN);
    }
    if (!m_window) {
        m_error = std::string("SDL window: ") + SDL_GetError();
        return false;
    }
    m_windowedWidth = options.width;
    m_windowedHeight = options.height;
    SDL_StartTextInput();
    if (!m_displayWatch) {
        m_displayWatch = std::make_unique<X11DisplayWatch>(m_window);
        m_displayWatch->SetHandler(m_displayLostHandler);
    }
    return true;
}

void SdlWindow::SetDisplayLostHandler(std::function<void()> handler)
{
    m_displayLostHandler = std::move(handler);
    if (m_displayWatch)
        m_displayWatch->SetHandler(m_displayLostHandler);
}

void SdlWindow::CoverTheScreen()
{
    // Nobody would size the window for SDL's full screen: a window without a frame at the screen's place
    // and size is full screen all the same.
    SDL_SetWindowFullscreen(m_window, 0);
    SDL_Rect bounds{0, 0, m_windowedWidth, m_windowedHeight};
    const int display = SDL_GetWindowDisplayIndex(m_window);
    if (display >= 0)
        SDL_GetDisplayBounds(display, &bounds);
    SDL_SetWindowBordered(m_window, SDL_FALSE);
    SDL_SetWindowPosition(m_window, bounds.x, bounds.y);
    SDL_SetWindowSize(m_window, bounds.w, bounds.h);
    m_coversTheScreen = true;
}

void SdlWindow::LeaveCoveredScreen()
{
    SDL_SetWindowBordered(m_window, SDL_TRUE);
    SDL_SetWindowSize(m_window, m_windowedWidth, m_windowedHeight);
    SDL_SetWindowPosition(m_window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    m_coversTheScreen = false;
}

void SdlWindow::Show()
{
    if (!m_window)
        return;
    SDL_ShowWindow(m_window);
    // Only now: the renderer may have made the window again, at the place SDL keeps for it.
    if (!m_windowed && !m_coversTheScreen && !WindowManagerShowsFullScreen(m_window))
        CoverTheScreen();
    SDL_RaiseWindow(m_window);
}

void SdlWindow::Hide()
{
    if (m_window)
        SDL_HideWindow(m_window);
}

bool SdlWindow::IsShown() const
{
    return m_window && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_SHOWN) != 0;
}

bool SdlWindow::SetWindowed(bool windowed)
{
    if (!m_window)
        return false;
    if (windowed && m_coversTheScreen) {
        LeaveCoveredScreen();
    } else if (!windowed && !WindowManagerShowsFullScreen(m_window)) {
        CoverTheScreen();
    } else if (SDL_SetWindowFullscreen(m_window, windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        m_error = std::string("SDL full screen: ") + SDL_GetError();
        return false;
    }
    m_windowed = windowed;
    return true;
}

void SdlWindow::GetClientSize(int& width, int& height) const
{
    width = 0;
    height = 0;
    if (m_window)
        SDL_GetWindowSize(m_window, &width, &height);
}

bool SdlWindow::HasFocus() const
{
    return m_window && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void SdlWindow::SetMouseCapture(bool captured)
{
    // Not every video driver can capture; a refusal only means releases
    // outside the window arrive when the pointer comes back.
    SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
}

bool SdlWindow::PollEvent(InputEvent& event)
{
    if (m_displayWatch)
        m_displayWatch->CheckIn();
    SDL_Event sdlEvent;
    while (m_pending.empty() && SDL_PollEvent(&sdlEvent))
        TranslateEvent(sdlEvent);
    if (m_pending.empty())
        return false;
    event = m_pending.front();
    m_pending.pop_front();
    return true;
}

bool SdlWindow::IsQuitPending()
{
    for (const InputEvent& event : m_pending) {
        if (event.type == InputEventType::Quit)
            return true;
    }
    // SDL turns SIGTERM and SIGINT into a quit event when it pumps; closing
    // the only window also queues one. Pumping only queues what came.
    return SDL_QuitRequested();
}

void SdlWindow::WaitForEvent(uint32_t timeoutMs)
{
    if (!m_pending.empty())
        return;
    if (m_displayWatch)
        m_displayWatch->CheckIn();
    // X11 and Wayland wait on their connection until an event comes. Other
    // drivers (offscreen, for one) would have SDL poll every millisecond
    // instead: there a short sleep costs less.
    const char* driver = SDL_GetCurrentVideoDriver();
    const std::string name = driver ? driver : "";
    if (name != "x11" && name != "wayland") {
        SDL_Delay(std::min<uint32_t>(timeoutMs, kPollingWaitMs));
        return;
    }
    // With no event given, SDL leaves the event it waited for in its queue.
    SDL_WaitEventTimeout(nullptr, static_cast<int>(timeoutMs));
}

void SdlWindow::Wake()
{
    // An event of a type nobody reads: the wait ends, and PollEvent drops it.
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    SDL_PushEvent(&event);
}

void SdlWindow::TranslateEvent(const SDL_Event& sdlEvent)
{
    InputEvent event;
    switch (sdlEvent.type) {
    case SDL_QUIT:
        event.type = InputEventType::Quit;
        Queue(event);
        break;
    case SDL_WINDOWEVENT:
        switch (sdlEvent.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            event.type = InputEventType::Quit;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            event.type = InputEventType::FocusGained;
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            event.type = InputEventType::FocusLost;
            break;
        case SDL_WINDOWEVENT_LEAVE:
            event.type = InputEventType::MouseLeave;
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
            event.type = InputEventType::Exposed;
            break;
        default:
            return;
        }
        Queue(event);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (sdlEvent.button.which == SDL_TOUCH_MOUSEID ||
            !PressClicks(sdlEvent.button.button, sdlEvent.button.clicks, event.clicks))
            return;
        event.type = InputEventType::MouseDown;
        event.x = sdlEvent.button.x;
        event.y = sdlEvent.button.y;
        Queue(event);
        break;
    case SDL_MOUSEBUTTONUP:
        if (sdlEvent.button.which == SDL_TOUCH_MOUSEID ||
            !ReleaseClicks(sdlEvent.button.button, event.clicks))
            return;
        event.type = InputEventType::MouseUp;
        event.x = sdlEvent.button.x;
        event.y = sdlEvent.button.y;
        Queue(event);
        break;
    case SDL_MOUSEMOTION:
        if (sdlEvent.motion.which == SDL_TOUCH_MOUSEID)
            return;
        event.type = InputEventType::MouseMove;
        event.x = sdlEvent.motion.x;
        event.y = sdlEvent.motion.y;
        Queue(event);
        break;
    case SDL_MOUSEWHEEL: {
        int delta = sdlEvent.wheel.y;
        if (sdlEvent.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            delta = -delta;
        if (delta == 0)
            return;
        event.type = InputEventType::MouseWheel;
        event.delta = delta * 120;
        SDL_GetMouseState(&event.x, &event.y);
        Queue(event);
        break;
    }
    case SDL_KEYDOWN: {
        int key = MapSdlKeyToVirtualKey(sdlEvent.key.keysym.sym);
        if (key != 0) {
            event.type = InputEventType::KeyDown;
            event.key = key;
            Queue(event);
        }
        if (int ch = ControlCharacter(sdlEvent.key); ch != 0) {
            InputEvent character;
            character.type = InputEventType::KeyChar;
            character.ch = static_cast<std::uint32_t>(ch);
            Queue(character);
        }
        break;
    }
    case SDL_KEYUP: {
        int key = MapSdlKeyToVirtualKey(sdlEvent.key.keysym.sym);
        if (key == 0)
            return;
        event.type = InputEventType::KeyUp;
        event.key = key;
        Queue(event);
        break;
    }
    case SDL_TEXTINPUT: {
        const std::string_view text(sdlEvent.text.text);
        for (std::size_t position = 0; position < text.size();) {
            InputEvent character;
            character.type = InputEventType::KeyChar;
            character.ch = DecodeUtf8(text, position);
            Queue(character);
        }
        break;
    }
    default:
        break;
    }
}
