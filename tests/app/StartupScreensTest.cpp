#include "app/DistributorScreen.h"
#include "app/GameApp.h"
#include "app/LogoBall.h"
#include "app/LogoLetter.h"
#include "app/LogoScreen.h"
#include "app/Menu.h"
#include "graphics/ImageData.h"
#include "graphics/ImageWriter.h"
#include "resources/Assets.h"
#include "ui/AnimationDefinition.h"
#include "ui/ScriptCommand.h"
#include "support/AppHarness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Counts the title screens it makes; the title is a plain menu.
class StartupApp : public GameApp
{
public:
    StartupApp() : GameApp(L"Tarnvale 6", L"v1.2", 1024, 768) {}
    Widget* CreateTitleScreen() override
    {
        ++titles;
        return new Menu(*this, nullptr, false, false);
    }
    int titles = 0;
};

class StartupTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithGameData();
        options.makeApp = [] { return std::make_unique<StartupApp>(); };
        options.introScreens = true;
        // Screens are only written for a person to look at (TARNVALE_SHOTS,
        // with ASAN_OPTIONS=detect_leaks=0 for Mesa's GL driver).
        options.readPixels = std::getenv("TARNVALE_SHOTS") != nullptr;
        return options;
    }

    template <typename T> T* Find()
    {
        for (DialogHooks* menu : App().GetOpenMenus())
            if (auto* found = dynamic_cast<T*>(menu))
                return found;
        return nullptr;
    }
    int Titles() { return static_cast<StartupApp&>(App()).titles; }

    // With TARNVALE_SHOTS set to a folder, the screen is written there.
    void Capture(const std::string& name)
    {
        if (const char* folder = std::getenv("TARNVALE_SHOTS")) {
            Harness().Redraw();
            Harness().SaveScreen(std::string(folder) + "/" + name + ".png");
        }
    }

    // Runs ticks until the condition holds; the tick count, or -1.
    template <typename F> int TicksUntil(F condition, int limit = 600)
    {
        for (int tick = 1; tick <= limit; ++tick) {
            Harness().RunTicks(1);
            if (condition())
                return tick;
        }
        return -1;
    }
};

TEST_F(StartupTest, LogoTimelineLettersBallAndEnd)
{
    LogoScreen* logo = Find<LogoScreen>();
    ASSERT_NE(logo, nullptr);
    const std::vector<LogoLetter*> letters = logo->GetLetters();
    ASSERT_EQ(letters.size(), 5u);

    std::vector<int> rests;
    std::vector<int> landings;
    int lastPhase = 0;
    for (int tick = 1; tick <= 400; ++tick) {
        Harness().RunTicks(1);
        const std::size_t letter = rests.size();
        if (letter < letters.size() && letters[letter]->GetVelocity() == 0.0 &&
            letters[letter]->GetY() == static_cast<float>(letters[letter]->GetTargetY()))
            rests.push_back(tick);
        if (LogoBall* ball = logo->GetBall(); ball != nullptr && ball->GetPhase() != lastPhase) {
            lastPhase = ball->GetPhase();
            landings.push_back(tick);
        }
        if (tick == 120 || tick == 200 || tick == 300 || tick == 400)
            Capture("logo_" + std::to_string(tick));
    }
    EXPECT_EQ(rests, (std::vector<int>{45, 90, 135, 180, 225}));
    EXPECT_EQ(landings, (std::vector<int>{159, 230, 339}));
    // At rest to the right of the last letter; the trademark beside it.
    LogoBall* ball = logo->GetBall();
    EXPECT_EQ(ball->GetVelocityX(), 0.0);
    EXPECT_GT(ball->GetX(), letters.back()->GetX());
    EXPECT_EQ(Titles(), 0);

    Harness().RunTicks(100);
    EXPECT_NE(Find<LogoScreen>(), nullptr);
    Harness().RunTicks(1);
    EXPECT_EQ(Find<LogoScreen>(), nullptr);
    EXPECT_NE(Find<DistributorScreen>(), nullptr);
}

TEST_F(StartupTest, LeftClickEndsEachScreenRightClickDoesNotAndTheTitleComesOnce)
{
    Harness().RunTicks(1);
    Harness().MouseDown(500, 400, -1);
    Harness().MouseUp(500, 400, -1);
    Harness().RunTicks(1);
    ASSERT_NE(Find<LogoScreen>(), nullptr);
    Harness().Click(500, 400);
    Harness().RunTicks(1);
    EXPECT_EQ(Find<LogoScreen>(), nullptr);

    // Splashes ignore clicks for their first hundred updates.
    for (int splash = 0; splash < 2; ++splash) {
        DistributorScreen* screen = Find<DistributorScreen>();
        ASSERT_NE(screen, nullptr);
        Harness().RunTicks(DistributorScreen::kClickableAfter - screen->GetTicks());
        Capture("splash" + std::to_string(splash + 1));
        Harness().Click(500, 400);
        ASSERT_EQ(Find<DistributorScreen>(), screen);
        Harness().RunTicks(1);
        Harness().MouseDown(500, 400, -1);
        Harness().MouseUp(500, 400, -1);
        ASSERT_EQ(Find<DistributorScreen>(), screen);
        Harness().Click(500, 400);
        Harness().RunTicks(1);
        EXPECT_NE(Find<DistributorScreen>(), screen);
    }
    EXPECT_EQ(Find<DistributorScreen>(), nullptr);
    EXPECT_EQ(Titles(), 1);
    EXPECT_EQ(App().GetStartupScreen(), GameApp::StartupScreen::Title);
    // Advancing past the title shows nothing more.
    App().AdvanceStartupScreens();
    EXPECT_EQ(Titles(), 1);
}

TEST_F(StartupTest, SplashEndsAtItsFourHundredAndFirstUpdate)
{
    Harness().Click(500, 400);
    Harness().RunTicks(1);
    DistributorScreen* screen = Find<DistributorScreen>();
    ASSERT_NE(screen, nullptr);
    const int ticks = screen->GetTicks();
    Harness().RunTicks(400 - ticks);
    EXPECT_EQ(Find<DistributorScreen>(), screen);
    Harness().RunTicks(1);
    EXPECT_NE(Find<DistributorScreen>(), screen);
}

// A script's "stop" ends the script, not the screen it runs on: the logo
// and a splash stay up and the start-up sequence does not move on.
TEST_F(StartupTest, AScriptStoppingOnAStartUpScreenLeavesTheScreenUp)
{
    AnimationDefinition stop;
    stop.m_name = L"stop_here";
    stop.m_commands.emplace_back(L"stop");

    LogoScreen* logo = Find<LogoScreen>();
    ASSERT_NE(logo, nullptr);
    Harness().RunTicks(1);
    logo->PlayAnimation(&stop);
    EXPECT_TRUE(logo->IsFinished()) << "the script ran to its stop";
    Harness().RunTicks(1);
    EXPECT_EQ(Find<LogoScreen>(), logo);
    EXPECT_EQ(Find<DistributorScreen>(), nullptr);
    EXPECT_EQ(App().GetStartupScreen(), GameApp::StartupScreen::Logo);

    Harness().Click(500, 400);
    Harness().RunTicks(1);
    DistributorScreen* splash = Find<DistributorScreen>();
    ASSERT_NE(splash, nullptr);
    splash->PlayAnimation(&stop);
    Harness().RunTicks(1);
    EXPECT_EQ(Find<DistributorScreen>(), splash);
    EXPECT_FALSE(splash->IsScreenFinished());
    EXPECT_EQ(App().GetStartupScreen(), GameApp::StartupScreen::Splash);
}

TEST(DistributorFitTest, KeepsTheAspectAndCentres)
{
    struct Case
    {
        int iw, ih;
        Rect expected;
    };
    const Case cases[] = {
        {1920, 1080, Rect{0, 96, 1024, 576}}, {500, 500, Rect{128, 0, 768, 768}},
        {800, 600, Rect{0, 0, 1024, 768}},    {2048, 1536, Rect{0, 0, 1024, 768}},
        {0, 100, Rect{0, 0, 1024, 768}},      {100000, 1, Rect{0, 384, 1024, 0}},
    };
    for (const Case& c : cases) {
        const Rect r = DistributorScreen::FitImage(c.iw, c.ih, 1024, 768);
        EXPECT_EQ(r.x, c.expected.x) << c.iw << "x" << c.ih;
        EXPECT_EQ(r.y, c.expected.y) << c.iw << "x" << c.ih;
        EXPECT_EQ(r.width, c.expected.width) << c.iw << "x" << c.ih;
        EXPECT_EQ(r.height, c.expected.height) << c.iw << "x" << c.ih;
    }
}

class StartupFilesTest : public StartupTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = StartupTest::Options();
        options.workingFolder.clear();
        options.readPixels = true;
        return options;
    }
};

// Without the game's files: no logo pictures (the ball among them), one wide
// splash that does not cover the screen, no second splash.
TEST_F(StartupFilesTest, MissingPicturesAndAWideSplash)
{
    LogoScreen* logo = Find<LogoScreen>();
    ASSERT_NE(logo, nullptr);
    Harness().RunTicks(300);
    ASSERT_NE(logo->GetBall(), nullptr);
    EXPECT_GT(logo->GetBall()->GetPhase(), 0);
    EXPECT_TRUE(Harness().FatalMessages().empty());

    // A wide image larger than the screen: white bars above and below.
    const ImageData wide{2048, 512, std::vector<std::uint32_t>(2048 * 512, 0xFF204080u)};
    std::filesystem::create_directories("images");
    ASSERT_TRUE(WritePng(wide, "images/splash.png"));
    Harness().RunTicks(201);
    ASSERT_EQ(Find<LogoScreen>(), nullptr);
    DistributorScreen* splash = Find<DistributorScreen>();
    ASSERT_NE(splash, nullptr);
    Harness().RunTicks(2);
    Harness().Redraw();
    EXPECT_EQ(Harness().ScreenPixel(500, 50), 0xFFFFFFFFu);
    EXPECT_EQ(Harness().ScreenPixel(500, 384), 0xFF204080u);
    EXPECT_EQ(Harness().ScreenPixel(500, 700), 0xFFFFFFFFu);

    // The second splash is missing: straight on to the title, once.
    Harness().RunTicks(400);
    EXPECT_EQ(Find<DistributorScreen>(), nullptr);
    EXPECT_EQ(Titles(), 1);
}

} // namespace
