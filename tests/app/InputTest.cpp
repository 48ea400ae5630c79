#include "base/Common.h"
#include "platform/KeyCodes.h"
#include "platform/sdl/SdlWindow.h"
#include "support/AppHarness.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// SDL events become input records.

class SdlTranslationTest : public ::testing::Test
{
protected:
    std::vector<InputEvent> Translate(const SDL_Event& event)
    {
        window.TranslateEvent(event);
        std::vector<InputEvent> records;
        InputEvent record;
        while (window.PollEvent(record))
            records.push_back(record);
        return records;
    }
    std::vector<InputEvent> Button(Uint32 type, Uint8 button, Uint8 clicks)
    {
        SDL_Event event{};
        event.type = type;
        event.button.button = button;
        event.button.clicks = clicks;
        event.button.x = 12;
        event.button.y = 34;
        return Translate(event);
    }
    std::vector<InputEvent> Key(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE)
    {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        return Translate(event);
    }
    std::vector<InputEvent> Text(const char* text)
    {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        std::strncpy(event.text.text, text, sizeof(event.text.text) - 1);
        return Translate(event);
    }
    std::vector<InputEvent> WindowEvent(Uint8 what)
    {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        return Translate(event);
    }
    static int PressClicks(const std::vector<InputEvent>& records)
    {
        return records.size() == 1 && records[0].type == InputEventType::MouseDown ? records[0].clicks : 99;
    }

    SdlWindow window;
};

TEST_F(SdlTranslationTest, PressesCarryClickCounts)
{
    EXPECT_EQ(PressClicks(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1)), 1);
    EXPECT_EQ(PressClicks(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2)), 2);
    EXPECT_EQ(PressClicks(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3)), 1);
    EXPECT_EQ(PressClicks(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1)), -1);
    EXPECT_EQ(PressClicks(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2)), -2);
    EXPECT_EQ(PressClicks(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1)), 0);
    EXPECT_TRUE(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 2).empty());
    EXPECT_TRUE(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1).empty());

    std::vector<InputEvent> release = Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 2);
    ASSERT_EQ(release.size(), 1u);
    EXPECT_EQ(release[0].type, InputEventType::MouseUp);
    EXPECT_EQ(release[0].clicks, -1);
    EXPECT_EQ(release[0].x, 12);
    EXPECT_EQ(release[0].y, 34);
    EXPECT_EQ(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 2).at(0).clicks, 0);
}

TEST_F(SdlTranslationTest, WheelNotchesAreWorth120)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = 2;
    std::vector<InputEvent> up = Translate(event);
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].delta, 240);
    event.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    EXPECT_EQ(Translate(event).at(0).delta, -240);
}

TEST_F(SdlTranslationTest, KeysUseVirtualKeyCodes)
{
    const std::pair<SDL_Keycode, int> keys[] = {
        {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9},     {SDLK_RETURN, 13},  {SDLK_KP_ENTER, 13},
        {SDLK_LSHIFT, 16},   {SDLK_RSHIFT, 16}, {SDLK_LCTRL, 17},   {SDLK_END, 0x23},
        {SDLK_HOME, 0x24},   {SDLK_LEFT, 0x25}, {SDLK_RIGHT, 0x27}, {SDLK_DELETE, 0x2E},
        {SDLK_a, 'A'},       {SDLK_z, 'Z'},     {SDLK_0, '0'},      {SDLK_9, '9'}};
    for (auto [sdlKey, code] : keys) {
        std::vector<InputEvent> down = Key(SDL_KEYDOWN, sdlKey);
        ASSERT_FALSE(down.empty()) << sdlKey;
        EXPECT_EQ(down[0].type, InputEventType::KeyDown);
        EXPECT_EQ(down[0].key, code) << sdlKey;
        std::vector<InputEvent> up = Key(SDL_KEYUP, sdlKey);
        ASSERT_EQ(up.size(), 1u);
        EXPECT_EQ(up[0].type, InputEventType::KeyUp);
        EXPECT_EQ(up[0].key, code);
    }
    EXPECT_TRUE(Key(SDL_KEYDOWN, SDLK_APPLICATION).empty());
}

TEST_F(SdlTranslationTest, EditingKeysAlsoSendTheirControlCharacters)
{
    auto charAfterKey = [this](SDL_Keycode key, Uint16 mod) {
        std::vector<InputEvent> records = Key(SDL_KEYDOWN, key, mod);
        return records.size() == 2 && records[1].type == InputEventType::KeyChar
                   ? static_cast<int>(records[1].ch)
                   : -1;
    };
    EXPECT_EQ(charAfterKey(SDLK_BACKSPACE, KMOD_NONE), 8);
    EXPECT_EQ(charAfterKey(SDLK_RETURN, KMOD_NONE), 13);
    EXPECT_EQ(charAfterKey(SDLK_c, KMOD_LCTRL), 3);
    EXPECT_EQ(charAfterKey(SDLK_x, KMOD_RCTRL), 0x18);
    // Plain letters come as text input instead.
    EXPECT_EQ(Key(SDL_KEYDOWN, SDLK_c).size(), 1u);
}

TEST_F(SdlTranslationTest, TextInputIsDecodedToCharacters)
{
    std::vector<InputEvent> records = Text("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    std::vector<std::uint32_t> chars;
    for (const InputEvent& record : records) {
        EXPECT_EQ(record.type, InputEventType::KeyChar);
        chars.push_back(record.ch);
    }
    EXPECT_EQ(chars, (std::vector<std::uint32_t>{'a', 0xE9, 0x20AC, 0x1F600}));

    // Each byte of a broken sequence becomes a replacement character; nothing is read past the end.
    std::vector<InputEvent> broken = Text("\xC3(\xE2\x82");
    ASSERT_EQ(broken.size(), 4u);
    EXPECT_EQ(broken[0].ch, 0xFFFDu);
    EXPECT_EQ(broken[1].ch, static_cast<std::uint32_t>('('));
    EXPECT_EQ(broken[2].ch, 0xFFFDu);
    EXPECT_EQ(broken[3].ch, 0xFFFDu);
}

TEST_F(SdlTranslationTest, WindowEventsAndQuit)
{
    EXPECT_EQ(WindowEvent(SDL_WINDOWEVENT_LEAVE).at(0).type, InputEventType::MouseLeave);
    EXPECT_EQ(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST).at(0).type, InputEventType::FocusLost);
    EXPECT_EQ(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED).at(0).type, InputEventType::FocusGained);
    EXPECT_EQ(WindowEvent(SDL_WINDOWEVENT_CLOSE).at(0).type, InputEventType::Quit);
    EXPECT_TRUE(WindowEvent(SDL_WINDOWEVENT_MOVED).empty());
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(Translate(quit).at(0).type, InputEventType::Quit);
}

// ---------------------------------------------------------------------------
// Records reach the widgets through the application.

class Recorder : public Widget
{
public:
    using Widget::MouseDown;
    using Widget::MouseUp;

    Recorder(std::string name, std::vector<std::string>& log, int x, int y)
        : m_name(std::move(name)), m_log(log)
    {
        Resize(static_cast<float>(x), static_cast<float>(y), 100, 100);
        SetWantsFocus(true);
    }

    void MouseEnter() override { Add("enter"); }
    void MouseLeave() override { Add("leave"); }
    void MouseDown(int, int, int button, int clicks) override
    {
        Add(StrFormat("down b%d c%d", button, clicks));
    }
    void MouseUp(int x, int y, int button, int clicks) override
    {
        Add(StrFormat("up %d,%d b%d c%d", x, y, button, clicks));
    }
    void MouseDrag(int, int) override { Add("drag"); }
    bool HitTest(float x, float y) override
    {
        ++hitTests;
        return Widget::HitTest(x, y);
    }
    void MouseWheel(int delta) override { Add("wheel " + std::to_string(delta)); }
    void KeyDown(int key) override { Add("keydown " + std::to_string(key)); }
    void KeyUp(int key) override { Add("keyup " + std::to_string(key)); }
    void KeyChar(int ch) override { Add("char " + std::to_string(ch)); }
    void GotFocus() override
    {
        Widget::GotFocus();
        Add("gotfocus");
    }
    void LostFocus() override
    {
        Widget::LostFocus();
        Add("lostfocus");
    }

    // The topmost widget is asked first by every pointer search.
    int hitTests{0};

private:
    void Add(const std::string& what) { m_log.push_back(m_name + " " + what); }

    std::string m_name;
    std::vector<std::string>& m_log;
};

class AppInputTest : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        a = new Recorder("A", log, 100, 100);
        b = new Recorder("B", log, 300, 100);
        Manager().AddWidget(a);
        Manager().AddWidget(b);
        log.clear();
    }

    std::vector<std::string> log;
    Recorder* a{nullptr};
    Recorder* b{nullptr};
};

TEST_F(AppInputTest, PressedWidgetGetsItsReleaseOverEmptySpace)
{
    Harness().MouseMove(150, 150);
    Harness().MouseDown(150, 150);
    EXPECT_TRUE(Harness().Window().IsMouseCaptured());
    Harness().MouseMove(350, 150);
    Harness().MouseMove(700, 600);
    Harness().MouseUp(700, 600);

    const std::vector<std::string> expected{"A enter", "A gotfocus", "A down b0 c1",      "A drag",
                                            "A leave", "A drag",     "A up 600,500 b0 c1"};
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(Harness().Window().IsMouseCaptured());
}

TEST_F(AppInputTest, ClickCountsReachTheWidgetsButtons)
{
    Harness().MouseMove(150, 150);
    log.clear();
    Harness().MouseDown(150, 150, 2);
    Harness().MouseUp(150, 150, 1);
    Harness().MouseDown(150, 150, -2);
    Harness().MouseUp(150, 150, -1);
    Harness().MouseDown(150, 150, 0);
    Harness().MouseUp(150, 150, 0);

    const std::vector<std::string> expected{"A gotfocus",      "A down b0 c2",     "A up 50,50 b0 c1",
                                            "A down b1 c2",    "A up 50,50 b1 c1", "A down b2 c1",
                                            "A up 50,50 b2 c1"};
    EXPECT_EQ(log, expected);
}

TEST_F(AppInputTest, EachMouseRecordLooksForTheWidgetUnderThePointerOnce)
{
    // B is on top: every search for the widget under a point asks it first.
    const auto looks = [this] { return std::exchange(b->hitTests, 0); };
    Harness().MouseMove(350, 150);
    EXPECT_EQ(looks(), 1);
    Harness().MouseDown(350, 150);
    EXPECT_EQ(looks(), 1);
    Harness().MouseMove(360, 150);
    EXPECT_EQ(looks(), 1);
    // Dragged over A, then released there: A is entered once B lets go.
    Harness().MouseMove(150, 150);
    EXPECT_EQ(looks(), 1);
    Harness().MouseUp(150, 150);
    EXPECT_EQ(looks(), 1);
    Harness().Wheel(150, 150, 120);
    EXPECT_EQ(looks(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"B enter", "B gotfocus", "B down b0 c1", "B drag", "B drag",
                                             "B leave", "B up -150,50 b0 c1", "A enter", "A wheel 1"}));

    // Over empty space too.
    Harness().MouseMove(700, 600);
    Harness().MouseDown(700, 600);
    Harness().MouseUp(700, 600);
    EXPECT_EQ(looks(), 3);
}

TEST_F(AppInputTest, WheelGoesToTheWidgetUnderThePointerInNotches)
{
    Harness().MouseMove(350, 150);
    Harness().Wheel(350, 150, -240);
    EXPECT_EQ(log.back(), "B wheel -2");
}

TEST_F(AppInputTest, LeavingTheWindowEndsTheHoverUnlessAButtonIsHeld)
{
    Harness().MouseMove(150, 150);
    Harness().MouseLeaveWindow();
    EXPECT_EQ(log, (std::vector<std::string>{"A enter", "A leave"}));

    Harness().MouseMove(350, 150);
    Harness().MouseDown(350, 150);
    log.clear();
    Harness().MouseLeaveWindow();
    EXPECT_TRUE(log.empty());
    Harness().MouseUp(350, 150);
    EXPECT_EQ(log.front(), "B up 50,50 b0 c1");
}

TEST_F(AppInputTest, LosingFocusReleasesKeysSuspendsWidgetsAndComesBack)
{
    Manager().SetFocus(a);
    Harness().KeyDown('Q');
    log.clear();

    Harness().FocusLost();
    EXPECT_EQ(log, (std::vector<std::string>{"A keyup 81", "A lostfocus"}));
    EXPECT_EQ(App().GetWidgetSuspension(), 1);
    EXPECT_FALSE(App().HasFocus());

    log.clear();
    Harness().FocusGained();
    EXPECT_EQ(log, (std::vector<std::string>{"A gotfocus"}));
    EXPECT_EQ(App().GetWidgetSuspension(), 0);
}

TEST_F(AppInputTest, RecordsWaitForTheLoopAndKeysGoToTheFocusNotThePointer)
{
    Harness().Inject({.type = InputEventType::MouseMove, .x = 150, .y = 150});
    Harness().Inject({.type = InputEventType::KeyDown, .key = KeyCode::Shift});
    Harness().Inject({.type = InputEventType::KeyChar, .ch = 0x20AC});
    Harness().Inject({.type = InputEventType::KeyUp, .key = KeyCode::Shift});
    EXPECT_TRUE(log.empty());
    Manager().SetFocus(b);
    log.clear();
    Harness().RunTicks(1);
    EXPECT_EQ(log, (std::vector<std::string>{"A enter", "B keydown 16", "B char 8364", "B keyup 16"}));
}

} // namespace
