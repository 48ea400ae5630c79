#include "app/Menu.h"
#include "app/ConfirmMenu.h"
#include "app/GameApp.h"
#include "app/InterpreterMenu.h"
#include "app/NoticeMenu.h"
#include "app/PopupMenu.h"
#include "app/TitleScreen.h"
#include "app/Transition.h"
#include "base/Color.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "support/AppHarness.h"
#include "ui/AnimationTable.h"
#include "ui/ButtonWidget.h"
#include "ui/ControlsFixture.h"
#include "ui/OverlayAnimation.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Scripts of the tests in place of the game's: popups that take a few ticks,
// a screen that counts its updates, one that shows a notice.
const char* const kScripts = R"(
  <animation name="popup_intro"><pause time="5"/></animation>
  <animation name="popup_outro"><pause time="10"/></animation>
  <animation name="ticker"><loop><pause time="1"/><assign name="'n'" value="n + 1"/></loop></animation>
  <animation name="shows_notice"><notice-menu text="no_windowed_mode"/><assign name="after" value="1"/></animation>
  <animation name="slow_transition"><pause time="20"/></animation>
)";

class RecordingApp : public GameApp
{
public:
    RecordingApp() : GameApp(L"Tarnvale 6", L"v1.2", 1024, 768) {}
    void HandleTypedCode(const std::wstring& typed) override { codes.push_back(typed); }
    std::vector<std::wstring> codes;
};

// A full-screen menu in one colour, counting its deletions.
class PlainMenu : public Menu
{
public:
    explicit PlainMenu(GameApp& app, Color color = OpaqueBlack, int* deletions = nullptr)
        : Menu(app, nullptr, false, false), m_color(color), m_deletions(deletions)
    {
    }
    ~PlainMenu() override
    {
        if (m_deletions != nullptr)
            ++*m_deletions;
    }
    void Draw(Graphics* g) override
    {
        g->SetColor(m_color);
        g->FillRect(0, 0, GetWidth(), GetHeight());
    }

private:
    Color m_color;
    int* m_deletions;
};

class CountingConfirm : public ConfirmMenu
{
public:
    CountingConfirm(GameApp& app, Widget* target, int* confirms)
        : ConfirmMenu(app, L"Leave?", L"Your progress is kept.", L"button_ok", L"button_cancel", target),
          m_confirms(confirms)
    {
    }
    void Confirm() override
    {
        ++*m_confirms;
        ConfirmMenu::Confirm();
    }

private:
    int* m_confirms;
};

// The game's own menu content loads: scripts, art, constants and texts.
TEST(MenuContentTest, ScriptsArtAndTextsOfTheMenusAreThere)
{
    AppHarness harness(AppHarnessOptions::WithGameData());
    ASSERT_TRUE(harness.RunUntilLoaded());
    for (const wchar_t* name : {L"popup_intro", L"popup_outro", L"confirm_menu", L"notice_menu",
                                L"transition", L"button_init", L"button_hover", L"button_leave",
                                L"button_down", L"button_up", L"button_enabled", L"button_disabled"})
        EXPECT_TRUE(HasAnimation(name)) << name;
    ASSERT_NE(GetImage(L"Dialog"), nullptr);
    EXPECT_EQ(GetImage(L"Dialog")->GetWidth(), 560);
    ASSERT_NE(GetImage(L"button"), nullptr);
    EXPECT_EQ(GetImage(L"button")->GetCellCount(), 4);
    EXPECT_GT(GetConstantFloat(L"dialog_fade_time"), 0.0f);
    Localization().Load();
    EXPECT_EQ(Localize(L"paused"), L"Paused");
    EXPECT_FALSE(Localize(L"no_windowed_mode_text").empty());
    EXPECT_TRUE(harness.FatalMessages().empty());
}

// The game's confirmation from data/: its script lays out the texts and the
// buttons, whose own scripts show the state rows while the pointer hovers,
// presses and releases, with their sounds; "OK" confirms and the popup goes.
TEST(MenuDataTest, TheConfirmationFromTheDataAnswersThePointer)
{
    AppHarnessOptions options = AppHarnessOptions::WithGameData();
    options.makeApp = [] { return std::make_unique<ControlsApp>(); };
    // The pressed state is saved as a picture.
    options.readPixels = true;
    AppHarness harness(options);
    ASSERT_TRUE(harness.RunUntilLoaded());
    Localization().Load();
    int confirms = 0;
    auto* dialog = new CountingConfirm(harness.App(), nullptr, &confirms);
    const int dialogId = dialog->GetId();
    dialog->Show();
    harness.RunTicks(40);
    ButtonWidget* ok = nullptr;
    for (Widget* child : dialog->GetChildren()) {
        auto* button = dynamic_cast<ButtonWidget*>(child);
        ok = ok == nullptr && button != nullptr && button->GetLabel() == L"OK" ? button : ok;
    }
    if (ok == nullptr)
        GTEST_SKIP() << "the scripts' add-button command is not built yet";

    std::vector<int>& played = static_cast<ControlsApp&>(harness.App()).played;
    played.clear();
    const Vector4 at = ok->GetScreenOrigin();
    const int x = static_cast<int>(at.x) + 100;
    const int y = static_cast<int>(at.y) + 24;
    EXPECT_EQ(ok->GetFrame(), 0);
    harness.MouseMove(x, y);
    EXPECT_EQ(ok->GetFrame(), 1);
    harness.MouseDown(x, y);
    EXPECT_EQ(ok->GetFrame(), 2);
    harness.Redraw();
    harness.SaveScreen(::testing::TempDir() + "confirm_pressed.png");
    EXPECT_EQ(played, (std::vector<int>{GetSoundId(L"Highlight"), GetSoundId(L"Button")}));
    harness.MouseUp(x, y);
    EXPECT_EQ(confirms, 1);
    harness.RunTicks(40);
    EXPECT_EQ(harness.App().GetDialog(dialogId), nullptr);
}

class MenuTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithGameData();
        options.readPixels = true;
        options.makeApp = [] { return std::make_unique<RecordingApp>(); };
        return options;
    }
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Harness().RunUntilLoaded());
        ASSERT_TRUE(Harness().LoadScripts(kScripts));
        Localization().Load();
    }

    RecordingApp& Recorder() { return static_cast<RecordingApp&>(App()); }
    bool IsOpen(int menuId) { return App().GetDialog(menuId) != nullptr; }
    static int Ticks(Menu* menu)
    {
        const Value* count = menu->FindVariable(L"n");
        return count != nullptr ? count->ToInt() : 0;
    }
    static bool Masks(const Widget* widget, uint32_t flag)
    {
        return (widget->GetFlagsMod().remove & flag) != 0;
    }
};

TEST_F(MenuTest, TypedCharactersReachTheCodesAsASlidingWindowOfEight)
{
    auto* menu = new PlainMenu(App());
    menu->Show();
    // A modal menu keeps the focus it takes as it is added.
    EXPECT_EQ(Manager().GetFocus(), menu);
    Harness().TypeText(L"abcdefg");
    EXPECT_TRUE(Recorder().codes.empty());
    Harness().TypeText(L"hij");
    EXPECT_EQ(Recorder().codes, (std::vector<std::wstring>{L"abcdefgh", L"bcdefghi", L"cdefghij"}));
}

TEST_F(MenuTest, MenusInTheBackgroundPauseUnlessTheyAreTheTitleScreen)
{
    auto* below = new InterpreterMenu(App(), L"ticker");
    below->Show();
    const int glow = GetSoundId(L"Glow");
    below->StartLoopSound(glow, 0.0f);
    below->StopLoopSound(glow + 1, 0.0f); // never started: ignored
    Harness().RunTicks(10);
    const int running = Ticks(below);
    EXPECT_GT(running, 5);

    auto* above = new PlainMenu(App());
    above->Show();
    EXPECT_TRUE(above->IsActive());
    EXPECT_FALSE(below->IsActive());
    EXPECT_TRUE(Masks(below, WidgetFlags::Mouse));
    Harness().RunTicks(10);
    EXPECT_EQ(Ticks(below), running);

    // Nothing else moves: the menu asks for the update that takes its
    // paused script on, so it goes on without waiting for input.
    EXPECT_FALSE(Manager().AreTicksWanted());
    above->RemoveSelf();
    EXPECT_TRUE(below->IsActive());
    EXPECT_FALSE(Masks(below, WidgetFlags::Mouse));
    EXPECT_TRUE(Manager().AreTicksWanted());
    Harness().RunTicks(10);
    EXPECT_GT(Ticks(below), running + 5);

    // Without the window's focus every menu waits, but the title screen.
    auto* title = new TitleScreen(App(), nullptr);
    title->PlayAnimationByName(L"ticker");
    title->Show();
    auto* popup = new PlainMenu(App());
    popup->Show();
    Harness().FocusLost();
    Harness().RunTicks(1);
    const int titleTicks = Ticks(title);
    const int popupCount = Ticks(below);
    Harness().RunTicks(10);
    EXPECT_GT(Ticks(title), titleTicks + 5);
    EXPECT_EQ(Ticks(below), popupCount);
    Harness().FocusGained();

    EXPECT_EQ(below->GetLoopSoundCounts().size(), 1u);
    below->RemoveSelf();
    EXPECT_TRUE(below->GetLoopSoundCounts().empty());
}

TEST_F(MenuTest, PopupLeavesThroughItsOutroOrAtOnceWhenClosedAgain)
{
    auto* popup = new PopupMenu(App(), GetImage(L"Dialog"));
    const int popupId = popup->GetId();
    popup->Show();
    auto overlays = [&] {
        return std::count_if(popup->GetChildren().begin(), popup->GetChildren().end(),
                             [](Widget* child) { return dynamic_cast<OverlayAnimation*>(child) != nullptr; });
    };
    EXPECT_EQ(overlays(), 1);
    Harness().RunTicks(8);
    EXPECT_EQ(overlays(), 0);

    popup->RemoveSelf();
    EXPECT_TRUE(popup->IsClosing());
    Harness().RunTicks(5);
    EXPECT_TRUE(IsOpen(popupId));
    Harness().RunTicks(8);
    EXPECT_FALSE(IsOpen(popupId));

    auto* early = new PopupMenu(App(), GetImage(L"Dialog"));
    const int earlyId = early->GetId();
    early->RemoveSelf();
    early->Show();
    EXPECT_FALSE(IsOpen(earlyId));

    auto* hurried = new PopupMenu(App(), GetImage(L"Dialog"));

    const int hurriedId = hurried->GetId();
    hurried->Show();
    hurried->RemoveSelf();
    EXPECT_TRUE(IsOpen(hurriedId));
    hurried->RemoveSelf();
    EXPECT_FALSE(IsOpen(hurriedId));
    Harness().RunTicks(2);
}

TEST_F(MenuTest, DialogCrossFadesOverItsTargetAndGivesItBack)
{
    for (int fadeTime : {0, 10}) {
        SCOPED_TRACE(fadeTime);
        SetConstant(L"dialog_fade_time", Value(fadeTime));
        auto* target = new PlainMenu(App(), Color(0, 160, 0));
        target->Show();
        auto* dialog = new ConfirmMenu(App(), L"Leave?", L"Sure?", L"button_ok", L"button_cancel", target);
        const int dialogId = dialog->GetId();
        dialog->Show();
        EXPECT_EQ(dialog->GetFadeState(), DialogMenu::Fade::FadingIn);
        EXPECT_TRUE(Masks(target, WidgetFlags::Draw));
        EXPECT_TRUE(Masks(dialog, WidgetFlags::Mouse));
        Harness().RunTicks(fadeTime + 2);
        EXPECT_EQ(dialog->GetFadeState(), DialogMenu::Fade::Shown);
        EXPECT_FALSE(Masks(dialog, WidgetFlags::Mouse | WidgetFlags::Draw));

        dialog->Close();
        EXPECT_EQ(dialog->GetFadeState(), DialogMenu::Fade::FadingOut);
        Harness().RunTicks(fadeTime + 2);
        EXPECT_FALSE(IsOpen(dialogId));
        EXPECT_FALSE(Masks(target, WidgetFlags::Draw));
        Harness().Redraw();
        EXPECT_EQ(Harness().ScreenPixel(5, 5), 0xFF00A000u);
        target->RemoveSelf();
        Harness().RunTicks(1);
    }
}

TEST_F(MenuTest, DialogOutlivesATargetClosedFirst)
{
    SetConstant(L"dialog_fade_time", Value(10));
    auto* target = new PlainMenu(App());
    target->Show();
    auto* dialog = new ConfirmMenu(App(), L"Leave?", L"Sure?", L"button_ok", L"button_cancel", target);
    const int dialogId = dialog->GetId();
    dialog->Show();
    Harness().RunTicks(15);
    target->RemoveSelf();
    Harness().RunTicks(1);
    dialog->Close();
    Harness().RunTicks(15);
    EXPECT_FALSE(IsOpen(dialogId));
}

TEST_F(MenuTest, ConfirmButtonsConfirmOrOnlyClose)
{
    int confirms = 0;
    auto* dialog = new CountingConfirm(App(), nullptr, &confirms);
    const int dialogId = dialog->GetId();
    dialog->Show();
    Harness().RunTicks(8);
    // Wired as the script's "add-button" wires its buttons.
    // The application's menu buttons are real buttons.
    auto addAction = [&](int x, const std::wstring& label, const std::wstring& action) {
        auto* button = dynamic_cast<ButtonWidget*>(dialog->AddMenuButton(x, 280, label));
        EXPECT_NE(button, nullptr);
        button->SetButtonListener(&dialog->GetDispatch());
        ButtonActions actions;
        actions.m_button = button;
        actions.m_target = action;
        actions.m_kind = ButtonActions::Kind::Action;
        dialog->SetButtonActions(button->GetId(), actions);
        return button;
    };
    ButtonWidget* ok = addAction(60, L"button_ok", L"ok");
    ButtonWidget* cancel = addAction(300, L"button_cancel", L"close");
    EXPECT_EQ(ok->GetLabel(), L"OK");
    const Vector4 cancelAt = cancel->GetScreenOrigin();
    Harness().Click(static_cast<int>(cancelAt.x) + 20, static_cast<int>(cancelAt.y) + 20);
    EXPECT_EQ(confirms, 0);
    EXPECT_TRUE(dialog->IsClosing());
    Harness().RunTicks(12);
    EXPECT_FALSE(IsOpen(dialogId));

    auto* again = new CountingConfirm(App(), nullptr, &confirms);
    again->Show();
    again->HandleAction(L"ok", L"", nullptr);
    EXPECT_EQ(confirms, 1);
    EXPECT_TRUE(again->IsClosing());
}

TEST_F(MenuTest, ClosingTwiceOrBeforeShowingDeletesOnce)
{
    int deletions = 0;
    auto* early = new PlainMenu(App(), OpaqueBlack, &deletions);
    const int earlyId = early->GetId();
    early->RemoveSelf();
    early->Show();
    EXPECT_FALSE(IsOpen(earlyId));
    EXPECT_EQ(early->GetManager(), nullptr);
    Harness().RunTicks(1);
    EXPECT_EQ(deletions, 1);

    auto* menu = new PlainMenu(App(), OpaqueBlack, &deletions);
    menu->Show();
    App().MarkMenusForClose();
    App().CloseMarkedMenus();
    App().KillDialog(menu);
    menu->RemoveSelf();
    Harness().RunTicks(1);
    EXPECT_EQ(deletions, 2);
}

TEST_F(MenuTest, ScriptNoticeIsARealNoticeThatTheScriptWaitsFor)
{
    auto* screen = new InterpreterMenu(App(), L"shows_notice");
    screen->Show();
    NoticeMenu* notice = nullptr;
    for (DialogHooks* menu : App().GetOpenMenus())
        notice = notice != nullptr ? notice : dynamic_cast<NoticeMenu*>(menu);
    ASSERT_NE(notice, nullptr);
    const int noticeId = notice->GetId();
    EXPECT_EQ(notice->FindVariable(L"title")->ToString(), L"Full Screen Only");
    EXPECT_EQ(screen->FindVariable(L"after"), nullptr);

    Harness().RunTicks(8);
    notice->Close();
    Harness().RunTicks(12);
    EXPECT_FALSE(IsOpen(noticeId));
    ASSERT_NE(screen->FindVariable(L"after"), nullptr);
}

TEST_F(MenuTest, TransitionShowsTheOldScreenOverTheNewOneUntilItsScriptEnds)
{
    auto* red = new PlainMenu(App(), Color(200, 0, 0));
    red->Show();
    Harness().RunTicks(1);
    auto* green = new PlainMenu(App(), Color(0, 200, 0));
    const int greenId = green->GetId();
    red->RemoveSelf();
    auto* transition = new Transition(App(), L"slow_transition", green, false);
    const int transitionId = transition->GetId();
    transition->Show();
    EXPECT_TRUE(IsOpen(greenId));
    EXPECT_EQ(transition->FindObject(L"menu"), green);

    Harness().RunTicks(10);
    Harness().Redraw();
    EXPECT_EQ(Harness().ScreenPixel(512, 384), 0xFFC80000u);
    Harness().RunTicks(15);
    EXPECT_FALSE(IsOpen(transitionId));
    Harness().Redraw();
    EXPECT_EQ(Harness().ScreenPixel(512, 384), 0xFF00C800u);
}

} // namespace
