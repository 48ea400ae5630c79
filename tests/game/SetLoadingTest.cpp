#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "game/PuzzleSelectMenu.h"
#include "game/SetLoadingMenu.h"
#include "ui/AnimationTable.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// A set loader that holds until the test opens it, or the screen asks it to
// stop.
class HeldLoader
{
public:
    void Open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    void Run(const std::atomic<bool>* stop)
    {
        std::unique_lock lock(m_mutex);
        m_started = true;
        while (!m_open && !stop->load())
            m_changed.wait_for(lock, std::chrono::milliseconds(1));
        m_sawStop = !m_open;
    }
    bool SawStop()
    {
        std::lock_guard lock(m_mutex);
        return m_sawStop;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    bool m_started = false;
    bool m_sawStop = false;
};

class SetLoadingTest : public GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        // Scripts that never signal by themselves: the test sends
        // "intro_finished".
        AnimationTable::Install(std::make_unique<AnimationTable>());
        SetLoadingMenu::SetGroupLoader([this](const ResourceSet&, const std::atomic<bool>* stop) { m_loader.Run(stop); });
        NewPlayer().currentCountry = 1;
    }
    SetLoadingMenu* Start(int puzzle)
    {
        auto* menu = new SetLoadingMenu(Game(), puzzle);
        menu->Show();
        Harness().RunTicks(1);
        return menu;
    }
    void FinishLoad(SetLoadingMenu* menu)
    {
        m_loader.Open();
        while (!menu->IsLoadDone())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void FinishIntro(SetLoadingMenu* menu) { menu->Signal(menu->GetId(), L"intro_finished"); }

    HeldLoader m_loader;
};

TEST_F(SetLoadingTest, TheLoadFinishingFirstWaitsForTheIntro)
{
    SetLoadingMenu* menu = Start(-1);
    FinishLoad(menu);
    Harness().RunTicks(5);
    EXPECT_EQ(FindMenu<PuzzleSelectMenu>(), nullptr);
    ASSERT_EQ(FindMenu<SetLoadingMenu>(), menu);
    FinishIntro(menu);
    EXPECT_EQ(menu->FindObject(L"screenshot"), nullptr) << "the picture's widget goes with the picture";
    Harness().Redraw();
    Harness().RunTicks(1);
    EXPECT_NE(FindMenu<PuzzleSelectMenu>(), nullptr);
    EXPECT_EQ(FindMenu<SetLoadingMenu>(), nullptr);
}

TEST_F(SetLoadingTest, TheIntroFinishingFirstWaitsForTheLoad)
{
    SetLoadingMenu* menu = Start(0);
    FinishIntro(menu);
    Harness().RunTicks(5);
    EXPECT_TRUE(Shown().empty());
    FinishLoad(menu);
    Harness().RunTicks(1);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"play 0/1/0"}) << "puzzle 0 plays at once";
    EXPECT_EQ(FindMenu<PuzzleSelectMenu>(), nullptr);
}

TEST_F(SetLoadingTest, ClosingEveryMenuWhileLoadingStopsAndJoinsTheLoader)
{
    Start(-1);
    CloseAllMenus();
    EXPECT_TRUE(m_loader.SawStop());
    EXPECT_EQ(FindMenu<SetLoadingMenu>(), nullptr);
    EXPECT_EQ(FindMenu<PuzzleSelectMenu>(), nullptr);
}

TEST_F(SetLoadingTest, AnIntroThatNeverSignalsIsPassedAfterItsBound)
{
    SetLoadingMenu* menu = Start(-1);
    FinishLoad(menu);
    Harness().RunTicks(SetLoadingMenu::kIntroWaitLimit - 1);
    EXPECT_EQ(FindMenu<PuzzleSelectMenu>(), nullptr);
    Harness().RunTicks(2);
    EXPECT_NE(FindMenu<PuzzleSelectMenu>(), nullptr);
}

} // namespace
