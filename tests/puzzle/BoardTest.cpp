#include "base/LogWriter.h"
#include "base/Color.h"
#include "graphics/Graphics.h"
#include "puzzle/BasicPlayerState.h"
#include "puzzle/Board.h"
#include "resources/Localization.h"
#include "support/AppHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class TestBoard : public Board
{
public:
    explicit TestBoard(BasicPlayerState* record) : m_record(record) {}

    void ShowMainMenu() override { ++menusShown; }
    void StartGame() override {}
    BasicPlayerState* GetPlayerState() override { return m_record; }

    int menusShown = 0;

private:
    BasicPlayerState* m_record;
};

// A white page under the board.
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
    AppHarnessOptions Options() override { return AppHarnessOptions::WithGameData(); }

    bool LogHas(const std::string& text) const
    {
        auto lines = LogWriter::GetShortLog();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }
};

TEST_F(BoardTest, CountsPlayTimeTickByTickAndLogsItWhenRemoved)
{
    BasicPlayerState record;
    auto* board = new TestBoard(&record);
    Manager().AddWidget(board);
    EXPECT_EQ(board->menusShown, 1);

    Harness().RunTicks(6000);
    EXPECT_EQ(record.hours, 0);
    EXPECT_EQ(record.minutes, 1);
    EXPECT_EQ(record.centiseconds, 0);
    for (int tick = 6000; tick < 360000; ++tick)
        Manager().UpdateFrame();
    EXPECT_EQ(record.hours, 1);
    EXPECT_EQ(record.minutes, 0);
    EXPECT_EQ(record.centiseconds, 0);

    record.centiseconds = 4599;
    board->RemoveSelf();
    EXPECT_TRUE(LogHas("Total play time: 1:00:45"));
}

TEST_F(BoardTest, WithoutARecordNothingIsCountedOrLogged)
{
    auto* board = new TestBoard(nullptr);
    Manager().AddWidget(board);
    Harness().RunTicks(10);
    board->RemoveSelf();
    EXPECT_FALSE(LogHas("Total play time"));
}

TEST_F(BoardTest, PausedBoardLiesOverEverythingAndDarkensIt)
{
    auto* board = new TestBoard(nullptr);
    Manager().AddWidget(board);
    auto* page = new WhitePage();
    page->SetPriority(2);
    Manager().AddWidget(page);
    App().SetBoard(board);

    App().WindowDeactivated();
    App().WindowDeactivated();
    EXPECT_TRUE(board->IsPaused());
    EXPECT_EQ(Manager().GetChildren().back(), board);
    App().WindowActivated();
    EXPECT_FALSE(board->IsPaused());
    EXPECT_EQ(Manager().GetChildren().front(), board);

    Localization().Load();
    App().WindowDeactivated();
    Harness().Redraw();
    // The white page is darkened by half; "paused" is written in white.
    const std::uint32_t shaded = Harness().ScreenPixel(10, 10);
    EXPECT_NEAR(static_cast<int>(shaded & 0xFF), 127, 2);
    bool textDrawn = false;
    for (std::uint32_t pixel : Harness().ScreenPixels(412, 340, 200, 60))
        textDrawn = textDrawn || (pixel & 0xFFFFFFu) == 0xFFFFFFu;
    EXPECT_TRUE(textDrawn);
    App().SetBoard(nullptr);
}

} // namespace
