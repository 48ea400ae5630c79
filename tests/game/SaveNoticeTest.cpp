#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "app/NoticeMenu.h"
#include "app/Transition.h"
#include "game/EnterNameMenu.h"
#include "game/MyTitleScreen.h"
#include "game/PlayerSelectMenu.h"
#include "puzzle/ProfileManager.h"
#include "ui/ButtonWidget.h"
#include "ui/WidgetManager.h"

#include <fstream>

namespace {

// The notice that progress cannot be saved, met where screens change: it must be readable, above
// everything, and never stuck beneath a screen transition.
class SaveNoticeTest : public RealGameTest
{
protected:
    void TearDown() override
    {
        ProfileManager::SetEnvironment({});
        RealGameTest::TearDown();
    }
    // Saves go to a folder that cannot be made: a file stands where it should be.
    void BlockTheSaveFolder()
    {
        const std::string blocked = Harness().DataFolder() + "blocked";
        std::ofstream(blocked) << "a file where the folder should be";
        ProfileEnvironment environment = ProfileManager::GetEnvironment();
        environment.dataFolder = blocked + "/";
        ProfileManager::SetEnvironment(environment);
    }
    bool TransitionRunning()
    {
        for (DialogHooks* menu : App().GetOpenMenus())
            if (dynamic_cast<Transition*>(menu) != nullptr)
                return true;
        return false;
    }
    // The notice takes the clicks, and what the pointer finds at its centre is the notice: nothing is drawn
    // over it.
    void ExpectOnTop(NoticeMenu* notice)
    {
        EXPECT_EQ(Harness().Manager().GetBaseModal(), notice);
        const float x = notice->GetX() + static_cast<float>(notice->GetWidth()) / 2;
        const float y = notice->GetY() + static_cast<float>(notice->GetHeight()) / 2;
        float localX = 0;
        float localY = 0;
        const Widget* found = Harness().Manager().GetWidgetAt(x, y, &localX, &localY);
        const WidgetContainer* within = found;
        while (within != nullptr && within != notice)
            within = within->GetParent();
        EXPECT_EQ(within, notice) << "something lies over the notice";
    }
};

// The first player named on the title screen: the save fails as the board and the main menu come in behind
// their transition. The notice waits for the transition to end, and then stands on top.
TEST_F(SaveNoticeTest, TheFirstFailedSaveIsToldAfterTheTransitionOnTop)
{
    ASSERT_TRUE(PassTheFirstScreens());
    BlockTheSaveFolder();
    auto* title = dynamic_cast<MyTitleScreen*>(gTitleScreen);
    ASSERT_NE(title, nullptr);
    Harness().ClickCentre(title->GetPlayButton());
    Harness().RunTicks(2);
    ASSERT_NE(FindMenu<EnterNameMenu>(), nullptr);
    Harness().TypeText(L"Ann");
    Harness().KeyDown(13);

    bool underTransition = false;
    const auto noticeShownAlone = [&] {
        underTransition = underTransition || (FindMenu<NoticeMenu>() != nullptr && TransitionRunning());
        return FindMenu<NoticeMenu>() != nullptr && !TransitionRunning();
    };
    ASSERT_TRUE(Harness().RunUntil(noticeShownAlone, 30))
        << "the notice never came, or a transition never ended";
    EXPECT_FALSE(underTransition) << "the notice opened beneath a transition";
    // Its fade in.
    Harness().RunTicks(100);
    NoticeMenu* notice = FindMenu<NoticeMenu>();
    ASSERT_NE(notice, nullptr);
    ExpectOnTop(notice);
}

// A dialog that takes the focus while a transition runs (here a notice shown at once) leaves the transition
// running to its end, instead of stopping it over the screen, the dialog included.
TEST_F(SaveNoticeTest, ATransitionRunsToItsEndUnderADialogThatTookTheFocus)
{
    ASSERT_TRUE(PassTheFirstScreens());
    ProfileManager::CreateProfile(L"Ann");
    App().ResetGame();
    Harness().RunTicks(1);
    (new PlayerSelectMenu(Game()))->Show();
    ASSERT_TRUE(TransitionRunning());
    auto* notice = new NoticeMenu(Game(), L"save_failed", nullptr, L"menu");
    notice->Show();
    ASSERT_TRUE(Harness().RunUntil([&] { return !TransitionRunning(); }, 30)) << "the transition stopped";
    Harness().RunTicks(100);
    ASSERT_EQ(FindMenu<NoticeMenu>(), notice);
    ExpectOnTop(notice);
}

} // namespace
