#include "GameTestApp.h"

#include "base/Color.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "puzzle/ArtTiles.h"
#include "puzzle/PuzzleTable.h"
#include "ui/Widget.h"

#include <cstdlib>
#include <set>
#include <string>

namespace {

constexpr int kSlot = 124;    // one picture's place in the gallery
constexpr int kPicture = 120; // the picture's side, whatever its board size
constexpr int kColumns = 8;
const Color kBackground(16, 24, 40);

struct Placed
{
    int mode, set, puzzle;
    int x, y;
};

// Every solved picture side by side, each under its name, as the art grids
// draw them once a puzzle is solved.
class PictureGallery : public Widget
{
public:
    PictureGallery()
    {
        Resize(0, 0, 1024, 768);
        int index = 0;
        for (int mode = 0; mode < PuzzleTable::kModeCount; ++mode)
            for (int set = 0; set < gPuzzleTable.SetCount(mode); ++set)
                for (int puzzle = 0; puzzle < gPuzzleTable.PuzzleCount(mode, set); ++puzzle, ++index)
                    m_placed.push_back({mode, set, puzzle, 24 + (index % kColumns) * kSlot,
                                        14 + (index / kColumns) * (kPicture + 30)});
    }

    const std::vector<Placed>& Places() const { return m_placed; }

    void Draw(Graphics* g) override
    {
        g->SetColor(kBackground);
        g->FillRect(0, 0, GetWidth(), GetHeight());
        g->SetFont(GetFont(L"tiny"));
        for (const Placed& place : m_placed) {
            const PuzzleRecord& record = *gPuzzleTable.Find(place.mode, place.set, place.puzzle);
            const int n = record.GridSize();
            g->Translate(static_cast<float>(place.x), static_cast<float>(place.y));
            for (int column = 0; column < n; ++column)
                for (int row = 0; row < n; ++row)
                    DrawArtTile(g, static_cast<double>(kPicture) / n, record.picture[column][row], column,
                                row, 255);
            g->SetColor(Color(240, 232, 210));
            g->WriteString(Localize(record.name), 0, kPicture + 18);
            g->Translate(static_cast<float>(-place.x), static_cast<float>(-place.y));
        }
    }

private:
    std::vector<Placed> m_placed;
};

class PuzzlePicturesTest : public GameTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = GameTest::Options();
        options.readPixels = true;
        return options;
    }
};

// Each picture value names a piece the art has: a tile cell shows its piece,
// a hole shows nothing, and cells of different values look different. The
// gallery is written to TARNVALE_SHOTS to look at.
TEST_F(PuzzlePicturesTest, EveryPictureDrawsItsPiecesOnItsTilesAndNothingOnItsHoles)
{
    SetupArtTiles();
    ASSERT_GE(GetArtTileCount(), 4);
    auto* gallery = new PictureGallery();
    Manager().AddWidget(gallery);
    Harness().Redraw();
    Snap("puzzle_pictures");

    ASSERT_GE(gallery->Places().size(), 30u);
    const std::uint32_t background = 0xFF000000u | (16u << 16) | (24u << 8) | 40u;
    for (const Placed& place : gallery->Places()) {
        const PuzzleRecord& record = *gPuzzleTable.Find(place.mode, place.set, place.puzzle);
        const std::string name = WStringToString(record.name);
        const int n = record.GridSize();
        const int cell = kPicture / n;
        std::set<int> values;
        std::set<std::uint32_t> colours;
        for (int column = 0; column < n; ++column)
            for (int row = 0; row < n; ++row) {
                const int value = record.picture[column][row];
                // The middle of the cell, below the glint along its top.
                const std::uint32_t pixel = Harness().ScreenPixel(place.x + column * cell + cell / 2,
                                                                  place.y + row * cell + cell * 2 / 3);
                if (value < 0) {
                    EXPECT_EQ(pixel, background) << name << " hole " << column << "," << row;
                    continue;
                }
                EXPECT_NE(pixel, background) << name << " value " << value << " draws nothing";
                values.insert(value);
                colours.insert(pixel);
            }
        EXPECT_EQ(colours.size(), values.size()) << name << ": each value has a look of its own";
    }
}

} // namespace
