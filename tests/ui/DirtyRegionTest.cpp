#include "support/GLTest.h"

#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/ImageSurface.h"
#include "graphics/ScreenRegion.h"
#include "ui/Widget.h"
#include "ui/WidgetManager.h"

#include <memory>

namespace {

// A filled square of its size, or nothing while hidden by its flag.
class Square : public Widget
{
public:
    Square(Color color, int x, int y, int side) : m_color(color) { Resize(x, y, side, side); }
    bool drawsNothing = false;
    int draws = 0;
    void Draw(Graphics* g) override
    {
        ++draws;
        if (drawsNothing)
            return;
        g->SetColor(m_color);
        g->FillRect(0, 0, GetWidth(), GetHeight());
    }

private:
    Color m_color;
};

class DirtyRegionTest : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        m_manager = std::make_unique<WidgetManager>(nullptr);
        m_manager->SetScreenImage(Screen());
    }
    void TearDown() override
    {
        m_manager->RemoveAllWidgets(true, true);
        m_manager.reset();
    }
    Square* Add(Color color, int x, int y, int side)
    {
        auto* square = new Square(color, x, y, side);
        m_manager->AddWidget(square);
        return square;
    }
    bool LastDrawWasWholeScreen() const
    {
        const std::vector<Rect>& areas = m_manager->GetLastDrawnAreas();
        return areas.size() == 1 && areas.front() == Rect{0, 0, 1024, 768};
    }
    bool LastDrawEncloses(const Rect& rect) const
    {
        for (const Rect& area : m_manager->GetLastDrawnAreas()) {
            if (area.Encloses(rect))
                return true;
        }
        return false;
    }

    std::unique_ptr<WidgetManager> m_manager;
};

TEST_F(DirtyRegionTest, AMovedWidgetRedrawsWhereItWasAndWhereItIsOnly)
{
    Square* moving = Add(Color(255, 0, 0), 100, 100, 20);
    Square* still = Add(Color(0, 0, 255), 500, 500, 20);
    ASSERT_TRUE(m_manager->DrawScreen());
    EXPECT_TRUE(LastDrawWasWholeScreen());
    const int stillDraws = still->draws;

    moving->Resize(300, 120, 20, 20);
    ASSERT_TRUE(m_manager->DrawScreen());
    EXPECT_FALSE(LastDrawWasWholeScreen());
    EXPECT_TRUE(LastDrawEncloses(Rect{100, 100, 20, 20}));
    EXPECT_TRUE(LastDrawEncloses(Rect{300, 120, 20, 20}));
    EXPECT_FALSE(LastDrawEncloses(Rect{500, 500, 1, 1}));
    // Every widget is walked, clipped to the areas: the still one drew nothing new.
    EXPECT_GT(still->draws, stillDraws);
    EXPECT_EQ(0u, ScreenPixel(105, 105));
    EXPECT_EQ(kRed, ScreenPixel(305, 125));
    EXPECT_EQ(kBlue, ScreenPixel(505, 505));
}

TEST_F(DirtyRegionTest, AChangeNobodyCanSeeDrawsNoFrame)
{
    Square* ghost = Add(Color(255, 0, 0), 100, 100, 20);
    ghost->drawsNothing = true;
    ASSERT_TRUE(m_manager->DrawScreen());

    ghost->MarkDirty();
    EXPECT_TRUE(m_manager->IsDirty());
    EXPECT_FALSE(m_manager->DrawScreen());
    EXPECT_FALSE(m_manager->IsDirty());

    // It shows: its area is found by the walk even though it had none before.
    ghost->drawsNothing = false;
    ghost->MarkDirty();
    ASSERT_TRUE(m_manager->DrawScreen());
    EXPECT_FALSE(LastDrawWasWholeScreen());
    EXPECT_TRUE(LastDrawEncloses(Rect{100, 100, 20, 20}));
    EXPECT_EQ(kRed, ScreenPixel(110, 110));
}

TEST_F(DirtyRegionTest, HiddenAndRemovedWidgetsLeaveNothingBehind)
{
    Square* hidden = Add(Color(255, 0, 0), 100, 100, 20);
    Square* removed = Add(Color(0, 0, 255), 200, 100, 20);
    Add(Color(0, 0, 255), 600, 600, 20);
    ASSERT_TRUE(m_manager->DrawScreen());

    hidden->SetVisible(false);
    ASSERT_TRUE(m_manager->DrawScreen());
    EXPECT_FALSE(LastDrawWasWholeScreen());
    EXPECT_EQ(0u, ScreenPixel(110, 110));

    m_manager->RemoveWidget(removed);
    delete removed;
    ASSERT_TRUE(m_manager->DrawScreen());
    EXPECT_FALSE(LastDrawWasWholeScreen());
    EXPECT_EQ(0u, ScreenPixel(210, 110));
    EXPECT_EQ(kBlue, ScreenPixel(610, 610));

    // A widget whose drawing grows without telling: the new part is found too.
    Square* growing = Add(Color(255, 0, 0), 300, 300, 10);
    ASSERT_TRUE(m_manager->DrawScreen());
    growing->Resize(300, 300, 40, 40);
    ASSERT_TRUE(m_manager->DrawScreen());
    EXPECT_EQ(kRed, ScreenPixel(335, 335));
}

TEST_F(DirtyRegionTest, SetDirtyDrawsTheWholeScreen)
{
    Add(Color(255, 0, 0), 100, 100, 20);
    ASSERT_TRUE(m_manager->DrawScreen());
    m_manager->SetDirty();
    ASSERT_TRUE(m_manager->DrawScreen());
    EXPECT_TRUE(LastDrawWasWholeScreen());
}

TEST(ScreenRegionTest, RectanglesMergeWhenTheirBoxIsNoLargerAndPastAHandful)
{
    ScreenRegion region(Rect{0, 0, 100, 100});
    region.Add(Rect{-10, -10, 20, 20});
    ASSERT_EQ(1u, region.GetRects().size());
    EXPECT_EQ((Rect{0, 0, 10, 10}), region.GetRects().front());
    // A neighbour joins; one inside adds nothing.
    region.Add(Rect{10, 0, 5, 10});
    region.Add(Rect{6, 6, 2, 2});
    ASSERT_EQ(1u, region.GetRects().size());
    EXPECT_EQ((Rect{0, 0, 15, 10}), region.GetRects().front());
    EXPECT_TRUE(region.Encloses(Rect{1, 1, 14, 9}));
    EXPECT_FALSE(region.Encloses(Rect{1, 1, 15, 9}));

    // A row and a column crossing stay apart: their box would be much larger.
    ScreenRegion cross(Rect{0, 0, 100, 100});
    cross.Add(Rect{0, 40, 100, 10});
    cross.Add(Rect{40, 0, 10, 100});
    EXPECT_EQ(2u, cross.GetRects().size());

    // Apart they stay apart, up to the limit; then one bounding box.
    for (int i = 1; i < static_cast<int>(ScreenRegion::kMaxRects); ++i)
        region.Add(Rect{20 * i, 50, 5, 5});
    EXPECT_EQ(ScreenRegion::kMaxRects, region.GetRects().size());
    region.Add(Rect{90, 90, 5, 5});
    ASSERT_EQ(1u, region.GetRects().size());
    EXPECT_EQ((Rect{0, 0, 95, 95}), region.GetRects().front());
    EXPECT_FALSE(region.CoversScreen());
    region.AddAll();
    EXPECT_TRUE(region.CoversScreen());
}

} // namespace
