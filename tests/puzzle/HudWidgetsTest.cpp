#include "puzzle/ArtTiles.h"
#include "puzzle/GameData.h"
#include "puzzle/GridSizeTable.h"
#include "puzzle/HintIcon.h"
#include "puzzle/HintMeter.h"
#include "puzzle/MistakeMeter.h"
#include "puzzle/PlayArtGrid.h"
#include "puzzle/PlayGridOwner.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PuzzleRecord.h"
#include "puzzle/SmallArtGrid.h"
#include "resources/Constants.h"
#include "support/AppHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

// The screen the meters and the grid stand on, recording what they ask.
class OwnerLayer : public Widget, public PlayGridOwner
{
public:
    OwnerLayer() { Resize(0, 0, 1024, 768); }

    void GridInputEnded() override { ++inputEnded; }
    void SelectNextTool() override {}
    void RequestHints(int sourceX, int, int count) override
    {
        ++hintRequests;
        lastHintCount = count;
        lastHintX = sourceX;
    }
    void AddTrackedWidget(Widget* widget) override
    {
        ++pieces;
        AddWidget(widget);
    }
    void FailPuzzle() override { ++failures; }

    int inputEnded{0};
    int hintRequests{0};
    int lastHintCount{0};
    int lastHintX{0};
    int pieces{0};
    int failures{0};
};

std::vector<std::vector<int>> Board(const std::vector<std::string>& rows)
{
    std::vector<std::vector<int>> cells(rows.size(), std::vector<int>(rows.size(), 0));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < rows[row].size(); ++column)
            cells[column][row] = rows[row][column] - '0';
    return cells;
}

class HudWidgetsTest : public AppTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithPixels();
        options.workingFolder = AppHarnessOptions::WithGameData().workingFolder;
        return options;
    }

    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Harness().RunUntilLoaded());
        LoadGameTables("properties/", {});
        owner = new OwnerLayer();
        Manager().AddWidget(owner);
    }
    void TearDown() override
    {
        AppTest::TearDown();
        ClearGameTables();
    }

    // A grid on the owner, enabled, with its numbers shown.
    PlayTileGrid* AddGrid(const std::vector<std::string>& rows)
    {
        auto* grid = new PlayTileGrid(Board(rows), [](int bound) { return bound - 1; });
        grid->SetOwner(owner);
        owner->AddWidget(grid);
        grid->SetDisabled(false);
        return grid;
    }
    void Reveal(PlayTileGrid* grid, int column, int row)
    {
        const int cell = grid->GetCellSize();
        grid->MouseDown(column * cell + 1, row * cell + 1, 1);
        grid->MouseUp(column * cell + 1, row * cell + 1);
    }

    OwnerLayer* owner{nullptr};
};

} // namespace

TEST_F(HudWidgetsTest, TheHintMeterFillsGlowsSpendsAndFillsAgainAfterStartingFull)
{
    ASSERT_EQ(GetConstantInt(L"max_hints"), 3);
    auto* meter = new HintMeter(700, 20, 240, 120, 5, 3);
    owner->AddWidget(meter);
    const std::vector<HintIcon*>& icons = meter->GetIcons();
    ASSERT_EQ(icons.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(icons[i]->IsFull());
    EXPECT_EQ(icons[2]->GetX() - icons[1]->GetX(), 73) << "spread over the meter's width";
    EXPECT_EQ(meter->GetFilling(), -1);
    meter->HintTrailArrived();
    EXPECT_TRUE(icons[2]->IsFull()) << "a full meter takes no step";

    // A click on the middle lamp spends it.
    const int clickX = 700 + static_cast<int>(icons[1]->GetX()) + icons[1]->GetWidth() / 2;
    const int clickY = 20 + static_cast<int>(icons[1]->GetY()) + icons[1]->GetHeight() / 2;
    Harness().MouseMove(clickX, clickY);
    Harness().Click(clickX, clickY);
    EXPECT_EQ(owner->hintRequests, 1);
    EXPECT_EQ(owner->lastHintCount, gGridSizeTable.Get(5).hintReward);
    EXPECT_EQ(owner->lastHintX, clickX);
    EXPECT_EQ(meter->GetHintsUsed(), 1);
    EXPECT_TRUE(icons[1]->IsEmpty());
    EXPECT_EQ(meter->GetFilling(), 1) << "spending from a full meter starts the filling again";

    const int need = gGridSizeTable.Get(5).hints;
    for (int step = 1; step < need; ++step)
        meter->HintTrailArrived();
    EXPECT_FALSE(icons[1]->IsFull());
    EXPECT_GT(icons[1]->GetFrame(), 0) << "partly filled";
    meter->HintTrailArrived();
    EXPECT_TRUE(icons[1]->IsFull());
    EXPECT_EQ(meter->GetFilling(), -1);

    Harness().Click(clickX, clickY);
    Harness().Click(clickX, clickY);
    EXPECT_EQ(owner->hintRequests, 2) << "an empty lamp takes no click";

    auto* noHints = new HintMeter(700, 200, 240, 120, 5, 0);
    owner->AddWidget(noHints);
    noHints->HintTrailArrived();
    EXPECT_TRUE(noHints->GetIcons()[0]->IsEmpty()) << "a puzzle without hints never fills";
}

TEST_F(HudWidgetsTest, TheMistakeMeterGivesEveryChanceAnIcon)
{
    struct Layout
    {
        int chances;
        std::size_t rows;
    };
    for (const Layout& layout : {Layout{9, 3}, Layout{5, 2}, Layout{1, 1}, Layout{0, 0}}) {
        gGridSizeTable.Get(10).mistakes = layout.chances;
        auto* meter = new MistakeMeter(700, 200, 240, 200, 10);
        owner->AddWidget(meter);
        const std::vector<DynamicWidget*>& icons = meter->GetIcons();
        ASSERT_EQ(icons.size(), static_cast<std::size_t>(layout.chances));
        std::vector<float> rows;
        for (DynamicWidget* icon : icons)
            if (std::find(rows.begin(), rows.end(), icon->GetY()) == rows.end())
                rows.push_back(icon->GetY());
        EXPECT_EQ(rows.size(), layout.rows) << layout.chances << " chances";
        if (layout.chances == 9) {
            EXPECT_FLOAT_EQ(rows[1] - rows[0], (200 - 40) / 3);
        }

        const ScreenPoint centre = meter->ChanceTargetPoint(layout.chances);
        EXPECT_EQ(centre.x, 700 + 120);
        EXPECT_EQ(centre.y, 200 + 100);
        for (int i = 0; i <= layout.chances; ++i)
            meter->MistakeTrailArrived();
        EXPECT_EQ(meter->GetChancesLost(), layout.chances + 1);
        if (layout.chances > 0) {
            EXPECT_EQ(icons.back()->GetFrame(), 1) << "the last chance shows as lost";
        }
    }
}

TEST_F(HudWidgetsTest, TrailsGiveBackOnlyTheSparkleSlotsTheyTookAndStopReportingToARemovedGrid)
{
    SetConstant(L"max_trails_count", Value(1));
    PlayTileGrid* grid = AddGrid({"11100", "00000", "00000", "00000", "00000"});
    auto* meter = new HintMeter(700, 20, 240, 120, 5, 1);
    owner->AddWidget(meter);
    grid->SetMeters(meter, nullptr);
    Reveal(grid, 0, 0);
    Reveal(grid, 1, 0);
    EXPECT_EQ(grid->GetTrailsInFlight(), 1) << "one sparkle slot";
    Harness().RunTicks(200);
    EXPECT_EQ(grid->GetTrailsInFlight(), 0) << "never below zero";
    EXPECT_EQ(meter->GetIcons()[1]->GetCount(), 2);

    // A grid that leaves (kept alive, as a flattened one is until its
    // deferred delete) hears nothing more from its trails.
    Reveal(grid, 2, 0);
    grid->SetDeleteWhenRemoved(false);
    grid->RemoveSelf();
    Harness().RunTicks(200);
    EXPECT_EQ(meter->GetIcons()[1]->GetCount(), 2) << "a trail of a grid that left reports to nobody";
    delete grid;
}

TEST_F(HudWidgetsTest, TheExplosionActsOnceAndWithoutAMeterTheTilesFallAtOnce)
{
    gGridSizeTable.Get(5).mistakes = 1;
    PlayTileGrid* grid = AddGrid({"11000", "00000", "00000", "00000", "00000"});
    Reveal(grid, 0, 0);
    Harness().RunTicks(60);
    ASSERT_NE(grid->GetCellWidget(0, 0), nullptr);

    grid->BeginEndSequence();
    EXPECT_EQ(owner->failures, 1) << "no mistake meter: nothing to wait for";
    EXPECT_EQ(owner->pieces, 1) << "the revealed tile is thrown";
    EXPECT_TRUE(grid->IsExploding());
    grid->Signal(0, L"explode");
    grid->BeginEndSequence();
    EXPECT_EQ(owner->failures, 1) << "explode acts once";
    EXPECT_EQ(owner->pieces, 1);

    const float homeX = grid->GetX();
    Harness().RunTicks(400);
    EXPECT_FALSE(grid->IsExploding());
    EXPECT_EQ(grid->GetX(), homeX) << "the spring settles at home";
    EXPECT_EQ(owner->GetChildren().size(), 1u) << "the piece removed itself when it landed";
}

TEST_F(HudWidgetsTest, TheRevealedPictureShowsEachShadeAndNothingBeforeItsTime)
{
    SetupArtTiles();
    ASSERT_EQ(GetArtTileShades(), 4);
    PuzzleRecord record;
    record.tiles = Board({"11111", "11111", "11111", "11111", "11111"});
    record.picture = Board({"03000", "00000", "00000", "00000", "00000"});
    record.picture[2][2] = -1;
    auto* art = new PlayArtGrid(record, nullptr);
    owner->AddWidget(art);
    const int cell = art->GetCellSize();
    auto centre = [&](int column, int row) {
        return Harness().ScreenPixel(static_cast<int>(art->GetX()) + column * cell + cell / 2,
                                     static_cast<int>(art->GetY()) + row * cell + cell / 2);
    };
    Harness().Redraw();
    const std::uint32_t empty = centre(0, 0);
    EXPECT_EQ(centre(1, 0), empty) << "nothing before its time";

    Harness().RunTicks(art->GetEndTick() + 2);
    Harness().Redraw();
    const std::uint32_t light = centre(0, 0);
    const std::uint32_t dark = centre(1, 0);
    for (int shift : {16, 8, 0}) {
        const double ratio = static_cast<double>((dark >> shift) & 0xFF) / ((light >> shift) & 0xFF);
        EXPECT_NEAR(ratio, ArtTileGrey(3, 4) / 255.0, 0.03)
            << "shade 3 of 4 is the same piece in darker grey";
    }
    EXPECT_EQ(centre(2, 2), empty) << "a negative value leaves its cell empty";
}

TEST_F(HudWidgetsTest, APreviewShowsItsFrameOrItsPictureWithinTheFrameSize)
{
    PuzzleRecord record;
    record.picture = Board({"3333333333", "3333333333", "0000000000", "0000000000", "0000000000",
                            "0000000000", "0000000000", "0000000000", "0000000000", "0000000000"});
    auto* unsolved = new SmallArtGrid(record.picture, 100, 100, false);
    auto* solved = new SmallArtGrid(record.picture, 400, 100, true);
    owner->AddWidget(unsolved);
    owner->AddWidget(solved);
    EXPECT_DOUBLE_EQ(unsolved->GetCellSize(), 24.0) << "a 246-pixel frame for ten cells";
    EXPECT_TRUE(unsolved->GetPicture().empty());
    Harness().Redraw();
    EXPECT_NE(Harness().ScreenPixel(401, 101), Harness().ScreenPixel(101, 101))
        << "the picture, not the frame";
    EXPECT_EQ(Harness().ScreenPixel(98, 98), Harness().ScreenPixel(99, 99)) << "the frame's rim lies outside";
}
