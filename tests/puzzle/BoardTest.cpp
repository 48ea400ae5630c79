#include "puzzle/Board.h"
#include "base/Color.h"
#include "base/LogWriter.h"
#include "graphics/Graphics.h"
#include "puzzle/BasicPlayerState.h"
#include "resources/Localization.h"
#include "support/AppHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class TestBoard : public Board
{
public:
    TestBoard(WidgetHost& host, BasicPlayerState* record) : Board(host), m_record(record) {}
    void ShowMainMenu() override { ++menusShown; }
    void StartGame() override {}
    BasicPlayerState* GetPlayerState() override { return m_record; }

    int menusShown = 0;

private:
    BasicPlayerState* m_record;
};

// A white page for the board to darken.
class WhitePage : public Widget
{
public:
    WhitePage() { Resize(0, 0, 1024, 768); }
    void Draw(Graphics* g) override
    {
        g->SetColor(OpaqueWhite);
        g->FillRect(0, 0, GetWidth(), GetHeight());
    }
};

class BoardTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithGameData();
        options.readPixels = true;
        return options;
    }
    static int LoggedPlayTimes()
    {
        auto lines = LogWriter::GetShortLog();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.find("Total play time: 1:00:45") != std::string::npos;
        }));
    }
};

TEST_F(BoardTest, CountsPlayTimeTickByTickAndLogsItWhenRemoved)
{
    BasicPlayerState record;
    auto* board = new TestBoard(App(), &record);
    auto* idle = new TestBoard(App(), nullptr);
    Manager().AddWidget(board);
    Manager().AddWidget(idle);
    EXPECT_EQ(board->menusShown, 1);

    Harness().RunTicks(6000);
    EXPECT_EQ(record.minutes, 1);
    EXPECT_EQ(record.centiseconds, 0);
    for (int tick = 6000; tick < 360000; ++tick)
        Manager().UpdateFrame();
    EXPECT_EQ(record.hours, 1);
    EXPECT_EQ(record.minutes, 0);
    EXPECT_EQ(record.centiseconds, 0);

    // A board without a record counts and logs nothing.
    record.centiseconds = 4599;
    idle->RemoveSelf();
    board->RemoveSelf();
    EXPECT_EQ(LoggedPlayTimes(), 1);
}

TEST_F(BoardTest, TicksAnIdleLoopSleptThroughCountAsPlayTime)
{
    BasicPlayerState record;
    auto* board = new TestBoard(App(), &record);
    Manager().AddWidget(board);
    record.centiseconds = 5999;
    record.minutes = 59;
    board->TicksPassedIdle(1);
    EXPECT_EQ(record.hours, 1);
    EXPECT_EQ(record.minutes, 0);
    EXPECT_EQ(record.centiseconds, 0);
    // A long sleep carries through minutes and hours at once.
    board->TicksPassedIdle(2 * 360000 + 6000 + 7);
    Manager().UpdateFrame();
    EXPECT_EQ(record.hours, 3);
    EXPECT_EQ(record.minutes, 1);
    EXPECT_EQ(record.centiseconds, 8);
    board->RemoveSelf();
}

TEST_F(BoardTest, PausedBoardLiesOverEverythingAndDarkensIt)
{
    auto* board = new TestBoard(App(), nullptr);
    Manager().AddWidget(board);
    auto* page = new WhitePage();
    page->SetPriority(2);
    Manager().AddWidget(page);
    App().SetBoard(board);
    Localization().Load();

    App().WindowDeactivated();
    App().WindowDeactivated();
    EXPECT_EQ(Manager().GetChildren().back(), board);
    App().WindowActivated();
    EXPECT_FALSE(board->IsPaused());
    EXPECT_EQ(Manager().GetChildren().front(), board);

    App().WindowDeactivated();
    Harness().Redraw();
    EXPECT_NEAR(static_cast<int>(Harness().ScreenPixel(10, 10) & 0xFF), 127, 2);
    const auto text = Harness().ScreenPixels(412, 340, 200, 60);
    EXPECT_TRUE(std::any_of(text.begin(), text.end(),
                            [](std::uint32_t pixel) { return (pixel & 0xFFFFFFu) == 0xFFFFFFu; }));
    App().SetBoard(nullptr);
}

} // namespace
