#pragma once

#include "app/GameApp.h"
#include "platform/InputEvent.h"
#include "platform/KeyCodes.h"
#include "platform/headless/HeadlessCursor.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/ManualClock.h"
#include "ui/Widget.h"
#include "ui/WidgetManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class AnimationWidget;
class ButtonWidget;
class SdlRenderWindow;

struct AppHarnessOptions
{
    // Makes the application; the default is a plain GameApp of 1024 x 768.
    std::function<std::unique_ptr<GameApp>()> makeApp;
    // The folder the application runs in (where it finds properties/...);
    // empty: a fresh temporary folder without data files.
    std::string workingFolder;
    // The command line after the program's name.
    std::vector<std::string> args;
    // Starts the loading thread and shows the window, as Start does.
    bool beginLoop{true};
    // Shows the maker's logo and the splash screens before the title screen,
    // as the game does; off, the title screen comes at once.
    bool introScreens{false};
    // Where saves and settings go (ending in '/'); empty: a folder of the
    // harness's temporary folder, removed with it. A given folder is kept, so
    // a second harness on it starts as the game does after a restart.
    std::string dataFolder;
    // Runs before Init with the data folder (ending in '/'), for example to
    // write a settings.xml or profiles.xml there.
    std::function<void(const std::string& dataFolder)> beforeInit;

    // Draws with the real GL renderer (offscreen), so ScreenPixel reads what
    // was drawn. Without it the application draws on the headless render
    // device, which records draws and reads back nothing. Mesa's GL driver
    // leaks on purpose, so a test file that asks for pixels runs without
    // leak detection (see tests/CMakeLists.txt): keep pixel tests apart.
    bool readPixels{false};

    // Runs in the build's data folder, with the game's own data files.
    static AppHarnessOptions WithGameData();
    static AppHarnessOptions WithPixels();
};

// A whole application on the headless window, cursor and render device (or
// the real GL renderer offscreen, for pixel tests) and a manual clock. Nothing runs by itself: a test
// injects input records and steps the clock tick by tick. Saves and settings
// go to a temporary folder that is removed afterwards.
//
//     TEST_F(AppTest, ButtonReactsToAClick)   // or a fixture derived from AppTest
//     {
//         auto* button = new MyButton();      // the manager owns it once added
//         button->Resize(100, 100, 80, 30);
//         Manager().AddWidget(button);
//         Harness().Click(120, 110);           // handled at once, no update
//         Harness().RunTicks(50);              // half a second of updates
//         EXPECT_EQ(Harness().ScreenPixel(120, 110), 0xFF00FF00u);
//     }
class AppHarness
{
public:
    explicit AppHarness(AppHarnessOptions options = {});
    ~AppHarness();
    AppHarness(const AppHarness&) = delete;
    AppHarness& operator=(const AppHarness&) = delete;

    // False when the application could not start (see GetError).
    bool IsValid() const { return m_valid; }
    const std::string& GetError() const { return m_error; }

    GameApp& App() const { return *m_app; }
    WidgetManager& Manager() const;
    HeadlessWindow& Window() const { return *m_window; }
    HeadlessCursor& Cursor() const { return *m_cursor; }
    ManualClock& Clock() const { return *m_clock; }
    const std::string& DataFolder() const { return m_dataFolder; }
    // Fatal messages the application reported (no box is shown, nothing exits).
    const std::vector<std::string>& FatalMessages() const { return m_fatalMessages; }

    // Each tick moves the clock by 10 ms and runs one loop pass: input, then
    // exactly one update, then a draw when something changed.
    void RunTicks(int ticks);
    // One loop pass at the current time.
    void RunPass();
    // Ticks until the loading thread is done, which takes real time; false
    // when it did not finish within the given seconds.
    bool RunUntilLoaded(int maxSeconds = 120);
    // Ticks until the condition holds, however many that takes: what it
    // waits for may hang on a thread (set loading) that runs in real time,
    // so the bound is a wall-clock deadline, not a count of passes. False
    // when the deadline passed first.
    bool RunUntil(const std::function<bool()>& condition, int maxSeconds = 120);
    // Plays the named script of the loaded animation table (the game's own,
    // from data/animations/, once RunUntilLoaded has run on the game data) on
    // a new AnimationWidget at (x, y), added to the widget manager. The
    // manager owns the widget; with removeWhenFinished it goes when the
    // script ends.
    AnimationWidget* PlayScript(const std::wstring& name, int x = 0, int y = 0, bool removeWhenFinished = false);
    // Replaces the animation table with these `animation` elements (written
    // to a file of the temporary folder and read as the game reads its own);
    // false when it could not be written.
    bool LoadScripts(const std::string& animations);
    // Ends the loop and runs the end of Start, as a closed window would.
    void Close();

    // Input in window pixels (the window is 1024 x 768, so these are also
    // application pixels). Each call hands the record to the widgets at once,
    // without an update; Inject only queues it for the next pass.
    void Inject(const InputEvent& event);
    void MouseMove(int x, int y);
    void MouseDown(int x, int y, int clicks = 1);
    void MouseUp(int x, int y, int clicks = 1);
    void Click(int x, int y);
    void Wheel(int x, int y, int delta);
    void MouseLeaveWindow();
    void KeyDown(int key);
    void KeyUp(int key);
    void KeyChar(std::uint32_t ch);
    void TypeText(const std::wstring& text);
    void FocusLost();
    void FocusGained();

    // The first open menu (dialog or screen) of the type, or null.
    template <typename T> T* FindMenu() const
    {
        for (DialogHooks* menu : m_app->GetOpenMenus()) {
            if (auto* found = dynamic_cast<T*>(menu))
                return found;
        }
        return nullptr;
    }
    // Moves the pointer to the middle of the widget and clicks there, handed
    // over at once as Click is.
    void ClickCentre(Widget* widget);
    // Ticks until the pointer at the middle of the widget would reach it
    // (its screen has come in, nothing covers it), then clicks there and
    // runs one tick. False (and a test failure) when it never does.
    bool ClickWhenReachable(Widget* widget);
    // A shown button of the widget's subtree whose label is the text of the
    // localisation key, or the key itself; null when there is none.
    static ButtonWidget* FindButton(Widget* parent, const std::wstring& key);
    // Waits for that button and clicks it as ClickWhenReachable does.
    bool ClickButton(Widget* parent, const std::wstring& key);

    // Draws the screen now (everything is marked changed first).
    void Redraw();
    // Pixels of the screen surface as 0xAARRGGBB (AppHarnessOptions::WithPixels).
    std::uint32_t ScreenPixel(int x, int y) const;
    std::vector<std::uint32_t> ScreenPixels(int x, int y, int width, int height) const;
    // Writes the whole screen as a PNG file, to look at what a test drew.
    bool SaveScreen(const std::string& path) const;

private:
    void Send(InputEvent event);

    bool m_valid{false};
    std::string m_error;
    std::string m_tempFolder;
    std::string m_dataFolder;
    std::string m_previousFolder;
    std::string m_previousDataEnv;
    bool m_hadDataEnv{false};
    bool m_loopBegun{false};
    bool m_closed{false};
    bool m_readPixels{false};
    std::vector<std::string> m_fatalMessages;
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<ScopedClock> m_scopedClock;
    std::unique_ptr<SdlRenderWindow> m_renderWindow;
    std::unique_ptr<GameApp> m_app;
    HeadlessWindow* m_window{nullptr};
    HeadlessCursor* m_cursor{nullptr};
};

// A fixture with one harness per test; override Options to change it.
class AppTest : public ::testing::Test
{
protected:
    virtual AppHarnessOptions Options() { return {}; }
    void SetUp() override;
    void TearDown() override;

    AppHarness& Harness() { return *m_harness; }
    GameApp& App() { return m_harness->App(); }
    WidgetManager& Manager() { return m_harness->Manager(); }

    std::unique_ptr<AppHarness> m_harness;
};
