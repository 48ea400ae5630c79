#include "PlayArt.h"

#include "Canvas.h"
#include "Look.h"

#include "platform/FontRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <memory>
#include <numbers>
#include <string>

using namespace look;

namespace {

namespace fs = std::filesystem;

// Board sizes the game plays, with the room for the clues (as in game.xml)
// and the edge of one cell.
struct BoardSize
{
    int n;
    int offset;
    int cell;
};
constexpr BoardSize kBoards[] = {{5, 120, 72}, {10, 150, 48}, {15, 180, 36}, {20, 180, 28}, {25, 180, 22}};

constexpr int kNumberCell = 24;
constexpr int kRim = 10;
constexpr int kNumberColumns = 25;

class Writer
{
public:
    explicit Writer(fs::path root) : m_root(std::move(root)) {}

    void Save(const Canvas& canvas, const std::string& relative)
    {
        const fs::path path = m_root / relative;
        fs::create_directories(path.parent_path());
        if (!canvas.Save(path.string())) {
            std::fprintf(stderr, "imagegen: cannot write %s\n", path.string().c_str());
            m_ok = false;
        }
    }
    bool IsOk() const { return m_ok; }

private:
    fs::path m_root;
    bool m_ok = true;
};

std::unique_ptr<FontRasterizer> Font(const Type& type)
{
    std::unique_ptr<FontRasterizer> font = CreateFontRasterizer();
    if (!font->Open(std::string("/usr/share/fonts/truetype/dejavu/") + type.face, type.size, false, false))
        return nullptr;
    return font;
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, float t)
{
    auto channel = [&](int shift) {
        const float x = static_cast<float>((a >> shift) & 0xFF);
        const float y = static_cast<float>((b >> shift) & 0xFF);
        return static_cast<std::uint32_t>(std::lround(x + (y - x) * t)) << shift;
    };
    return channel(24) | channel(16) | channel(8) | channel(0);
}

// The board: the clue margin as parchment with banded lines, the cells as
// paper with thin lines and a stronger line every five cells.
void MakeBoard(Writer& out, const BoardSize& board)
{
    // The frame reaches a little past the cells, for the board's rim.
    const int size = board.offset + board.n * board.cell + kRim;
    Canvas canvas(size, size);
    canvas.FillRoundedRect(0, 0, static_cast<float>(size), static_cast<float>(size), 14, kParchment);
    // Bands behind every other clue line help the eye along a row or column.
    for (int i = 0; i < board.n; i += 2) {
        const int at = board.offset + i * board.cell;
        canvas.FillRect(at, 6, board.cell, board.offset - 8, kParchment);
        canvas.FillRect(6, at, board.offset - 8, board.cell, kParchment);
    }
    canvas.FillRect(board.offset - 3, board.offset - 3, board.n * board.cell + 6, board.n * board.cell + 6,
                    kBark);
    canvas.FillRect(board.offset, board.offset, board.n * board.cell, board.n * board.cell, kCream);
    for (int i = 1; i < board.n; ++i) {
        const bool major = i % 5 == 0;
        const int at = board.offset + i * board.cell - (major ? 1 : 0);
        const int width = major ? 2 : 1;
        const std::uint32_t colour = major ? kTaupe : kSand;
        canvas.FillRect(at, board.offset, width, board.n * board.cell, colour);
        canvas.FillRect(board.offset, at, board.n * board.cell, width, colour);
    }
    out.Save(canvas, "images/play/grid" + std::to_string(board.n) + ".png");
}

void MakeHighlights(Writer& out, const BoardSize& board)
{
    const float c = static_cast<float>(board.cell);
    const std::string n = std::to_string(board.n);
    Canvas tile(board.cell, board.cell);
    tile.FillRoundedRect(2, 2, c - 4, c - 4, c / 8, WithAlpha(kAzure, 0x70));
    tile.StrokeRoundedRect(2, 2, c - 4, c - 4, c / 8, 2.0f, WithAlpha(kSea, 0xE0));
    out.Save(tile, "images/play/g" + n + "_tile_highlight.png");

    Canvas mark(board.cell, board.cell);
    mark.FillRoundedRect(2, 2, c - 4, c - 4, c / 8, WithAlpha(kBronze, 0x60));
    mark.StrokeRoundedRect(2, 2, c - 4, c - 4, c / 8, 2.0f, WithAlpha(kGoldDark, 0xE0));
    const float m = c * 0.3f;
    const float w = std::max(1.5f, c / 16);
    const float cross1[] = {m, m + w, m + w, m, c - m, c - m - w, c - m - w, c - m};
    const float cross2[] = {c - m - w, m, c - m, m + w, m + w, c - m, m, c - m - w};
    mark.FillPolygon(cross1, 4, WithAlpha(kGoldDark, 0xA0));
    mark.FillPolygon(cross2, 4, WithAlpha(kGoldDark, 0xA0));
    out.Save(mark, "images/play/g" + n + "_mark_highlight.png");

    Canvas cursor(board.cell, board.cell);
    cursor.StrokeRoundedRect(1.5f, 1.5f, c - 3, c - 3, c / 8, 3.0f, WithAlpha(kYellow, 0xF0));
    cursor.StrokeRoundedRect(4, 4, c - 8, c - 8, c / 10, 1.0f, WithAlpha(kWhite, 0x90));
    out.Save(cursor, "images/play/g" + n + "_cursor_highlight.png");
}

// The cell pieces the tile scripts show: a revealed tile, a tile marked by
// mistake, a marked hole and a hole revealed by mistake.
void MakeCellPieces(Writer& out, const BoardSize& board)
{
    const float c = static_cast<float>(board.cell);
    Canvas pieces(board.cell * 4, board.cell);
    auto tile = [&](int index, std::uint32_t top, std::uint32_t bottom, std::uint32_t rim) {
        const float x = static_cast<float>(index * board.cell);
        pieces.FillRoundedRect(x + 1, 1, c - 2, c - 2, c / 7, rim);
        Canvas face(board.cell - 4, board.cell - 4);
        face.VerticalGradient(0, 0, board.cell - 4, board.cell - 4, top, bottom);
        Canvas shape(board.cell - 4, board.cell - 4);
        shape.FillRoundedRect(0, 0, c - 4, c - 4, c / 9, kWhite);
        for (int py = 0; py < board.cell - 4; ++py)
            for (int px = 0; px < board.cell - 4; ++px) {
                const float coverage = static_cast<float>(shape.GetImage().At(px, py) >> 24) / 255.0f;
                pieces.Blend(index * board.cell + 2 + px, 2 + py, face.GetImage().At(px, py), coverage);
            }
        pieces.FillRoundedRect(x + c * 0.18f, c * 0.12f, c * 0.64f, c * 0.16f, c * 0.08f,
                               WithAlpha(kWhite, 0x50));
    };
    auto cross = [&](int index, float inset, float width, std::uint32_t colour) {
        const float x = static_cast<float>(index * board.cell);
        const float a = inset;
        const float b = c - inset;
        const float one[] = {x + a, a + width, x + a + width, a, x + b, b - width, x + b - width, b};
        const float two[] = {x + b - width, a, x + b, a + width, x + a + width, b, x + a, b - width};
        pieces.FillPolygon(one, 4, colour);
        pieces.FillPolygon(two, 4, colour);
    };
    tile(0, kDusk, kTeal, kNight);
    tile(1, kDusk, kTeal, kRedDark);
    cross(1, c * 0.62f, std::max(1.5f, c / 14), kRed);
    cross(2, c * 0.32f, std::max(1.5f, c / 14), kTaupe);
    pieces.FillRoundedRect(3 * c + 2, 2, c - 4, c - 4, c / 8, WithAlpha(kRed, 0x50));
    cross(3, c * 0.26f, std::max(2.0f, c / 10), kRed);
    out.Save(pieces, "images/play/g" + std::to_string(board.n) + "_cells.png");
}

// Clue numbers 1 to 25 in four styles (the line under the pointer, normal,
// done, the running count of a drag); rows 4 to 7 repeat them smaller for
// the largest boards.
void MakeGridNumbers(Writer& out)
{
    Canvas numbers(kNumberCell * kNumberColumns, kNumberCell * 8);
    // Two digits in the bold face are as wide as a cell or wider ("11"): they
    // are set in the condensed face, at the one size at which every two-digit
    // number leaves a clear pixel and the outline's pixel on each side, so
    // that no number touches its neighbour and all of them match.
    constexpr int kClearance = 2;
    auto twoDigitFace = [](int size) {
        for (int smaller = size; smaller > size / 2; --smaller) {
            std::unique_ptr<FontRasterizer> face = Font(Type{"condensed clue", "DejaVuSansCondensed-Bold.ttf", smaller});
            if (!face)
                return face;
            bool fits = true;
            for (int v = 10; v <= kNumberColumns && fits; ++v)
                fits = Canvas::TextWidth(*face, std::to_wstring(v)) + kClearance <= kNumberCell;
            if (fits)
                return face;
        }
        return std::unique_ptr<FontRasterizer>();
    };
    for (int set = 0; set < 2; ++set) {
        const Type& type = set == 0 ? kClueType : kSmallClueType;
        std::unique_ptr<FontRasterizer> font = Font(type);
        if (!font)
            return;
        std::unique_ptr<FontRasterizer> condensed = twoDigitFace(type.size);
        for (int style = 0; style < 4; ++style) {
            const int top = (set * 4 + style) * kNumberCell;
            for (int v = 1; v <= kNumberColumns; ++v) {
                const int left = (v - 1) * kNumberCell;
                const std::wstring text = std::to_wstring(v);
                FontRasterizer* face = v >= 10 && condensed ? condensed.get() : font.get();
                const int width = Canvas::TextWidth(*face, text);
                const int x = left + (kNumberCell - width) / 2;
                const int baseline = top + (kNumberCell + font->GetAscent() - font->GetDescent()) / 2 - 1;
                switch (style) {
                case 0:
                    numbers.FillRoundedRect(static_cast<float>(left + 1), static_cast<float>(top + 1),
                                            kNumberCell - 2, kNumberCell - 2, 6, kSun);
                    numbers.DrawText(*face, text, x, baseline, kEarth);
                    break;
                case 1:
                    numbers.DrawText(*face, text, x, baseline, kCharcoal);
                    break;
                case 2:
                    numbers.DrawText(*face, text, x, baseline, kSilver);
                    break;
                default:
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            numbers.DrawText(*face, text, x + dx, baseline + dy, kInk);
                    numbers.DrawText(*face, text, x, baseline, kWhite);
                    break;
                }
            }
        }
    }
    out.Save(numbers, "images/play/grid_numbers.png");
}

// The colours of the picture pieces after the first two, in the order the
// pictures of puzzles.xml name them (piece = value / shades).
constexpr std::uint32_t kPictureColours[] = {
    kRed, kCoral, kSun, kLeaf, kAzure, kPlum, kRose, kBronze, kSilver, kWhite, kSlate,
};

// One glazed mosaic tile in a colour: a grout line all round, a body that
// darkens a little towards the bottom, a light top-left edge and a glint, so
// that neighbouring tiles read as a mosaic and even white ones stand out on
// the board's paper.
void GlazedTile(Canvas& tiles, int x, int cell, std::uint32_t colour)
{
    tiles.FillRect(x, 0, cell, cell, Mix(colour, kNavy, 0.45f));
    tiles.VerticalGradient(x + 1, 1, cell - 2, cell - 2, Mix(colour, kWhite, 0.2f), Mix(colour, kNavy, 0.12f));
    tiles.FillRect(x + 1, 1, cell - 2, 1, Mix(colour, kWhite, 0.55f));
    tiles.FillRect(x + 1, 1, 1, cell - 2, Mix(colour, kWhite, 0.55f));
    tiles.FillRoundedRect(static_cast<float>(x + 4), 3, static_cast<float>(cell - 12), 6, 3,
                          WithAlpha(kWhite, 0x60));
}

// Picture pieces: each shade tints a piece grey, from its own colour down to
// a little above half its brightness. Piece 0 is an amber tile, piece 1 a
// round amber stone, then one glazed tile per picture colour.
void MakeArtTiles(Writer& out)
{
    constexpr int kCell = 32;
    constexpr int kPieces = 2 + static_cast<int>(std::size(kPictureColours));
    Canvas tiles(kCell * kPieces, kCell);
    // A glazed amber tile: the lightest shade reads as honey, the darkest as bronze.
    tiles.VerticalGradient(0, 0, kCell, kCell, kHoney, kAmber);
    tiles.FillRect(0, 0, kCell, 1, kParchment);
    tiles.FillRect(0, 0, 1, kCell, kParchment);
    tiles.FillRect(0, kCell - 1, kCell, 1, kGold);
    tiles.FillRect(kCell - 1, 0, 1, kCell, kGold);
    tiles.FillRoundedRect(4, 3, kCell - 12, 6, 3, WithAlpha(kWhite, 0x60));
    tiles.FillCircle(kCell * 1.5f, kCell / 2.0f, kCell / 2.0f - 1, kGold);
    tiles.FillCircle(kCell * 1.5f - 2, kCell / 2.0f - 2, kCell / 2.0f - 4, kGoldLight);
    for (int piece = 2; piece < kPieces; ++piece)
        GlazedTile(tiles, piece * kCell, kCell, kPictureColours[piece - 2]);
    out.Save(tiles, "images/play/art_tiles.png");
}

// A hint: a lamp whose glass fills from below; the last cell glows.
void MakeHintIcon(Writer& out)
{
    constexpr int kCell = 44;
    constexpr int kStages = 6;
    Canvas icon(kCell * kStages, kCell);
    for (int stage = 0; stage < kStages; ++stage) {
        const float x = static_cast<float>(stage * kCell);
        const bool full = stage == kStages - 1;
        if (full)
            for (int r = 21; r > 14; --r)
                icon.FillCircle(x + 22, 19, static_cast<float>(r), WithAlpha(kSun, 0x18));
        icon.FillCircle(x + 22, 19, 14, kBark);
        icon.FillCircle(x + 22, 19, 12, kParchment);
        const float level = 12.0f * 2 * static_cast<float>(stage) / (kStages - 1);
        Canvas fill(kCell, kCell);
        fill.FillCircle(22, 19, 12, full ? kSun : kYellow);
        for (int py = 0; py < kCell; ++py)
            for (int px = 0; px < kCell; ++px)
                if (static_cast<float>(py) >= 31.0f - level)
                    icon.Blend(stage * kCell + px, py, fill.GetImage().At(px, py));
        icon.FillCircle(x + 18, 15, 4, WithAlpha(kWhite, 0x90));
        icon.FillRoundedRect(x + 15, 32, 14, 8, 2, kSteel);
        icon.FillRect(stage * kCell + 15, 35, 14, 1, kSlate);
    }
    out.Save(icon, "images/play/hint_large.png");
}

// A chance: a red heart, and its lost state, a grey outline.
void MakeChance(Writer& out, int cell, const std::string& file)
{
    Canvas icon(cell * 2, cell);
    for (int frame = 0; frame < 2; ++frame) {
        const float x = static_cast<float>(frame * cell);
        const float s = static_cast<float>(cell);
        const std::uint32_t rim = frame == 0 ? kRedDark : kTaupe;
        const std::uint32_t face = frame == 0 ? kRed : kSand;
        auto heart = [&](float inset, std::uint32_t colour) {
            const float r = s * 0.24f - inset * 0.5f;
            icon.FillCircle(x + s * 0.32f + inset * 0.2f, s * 0.36f, r, colour);
            icon.FillCircle(x + s * 0.68f - inset * 0.2f, s * 0.36f, r, colour);
            const float tip[] = {x + s * 0.1f + inset, s * 0.42f,
                                 x + s * 0.9f - inset, s * 0.42f,
                                 x + s * 0.5f,         s * 0.9f - inset * 1.4f};
            icon.FillPolygon(tip, 3, colour);
        };
        heart(0, rim);
        heart(2, face);
        if (frame == 0)
            icon.FillCircle(x + s * 0.32f, s * 0.3f, s * 0.08f, WithAlpha(kWhite, 0xA0));
    }
    out.Save(icon, "images/play/" + file + ".png");
}

void MakeNotepad(Writer& out)
{
    constexpr int kWidth = 250;
    constexpr int kHeight = 290;
    Canvas pad(kWidth, kHeight);
    pad.FillRoundedRect(6, 10, kWidth - 8, kHeight - 10, 8, WithAlpha(kBlack, 0x40));
    pad.FillRoundedRect(2, 6, kWidth - 8, kHeight - 12, 8, kCream);
    for (int y = 56; y < kHeight - 16; y += 24)
        pad.FillRect(14, y, kWidth - 32, 1, kSkyPale);
    pad.FillRect(34, 12, 1, kHeight - 24, kRose);
    pad.FillRoundedRect(kWidth / 2.0f - 40, 0, 72, 18, 5, kStone);
    pad.FillRoundedRect(kWidth / 2.0f - 36, 3, 64, 12, 4, kSilver);
    out.Save(pad, "images/play/notepad.png");
}

// The tool buttons, four rows (up, over, pressed, chosen): a round face with
// the tool's picture; the chosen one sits in a gold ring.
void MakeToolButton(Writer& out, bool brush, const std::string& file)
{
    constexpr int kCell = 60;
    Canvas button(kCell, kCell * 4);
    const std::uint32_t faces[4] = {kParchment, kCream, kSand, kParchment};
    for (int row = 0; row < 4; ++row) {
        const float y = static_cast<float>(row * kCell);
        if (row == 3)
            button.FillCircle(30, y + 30, 29, kYellow);
        button.FillCircle(30, y + 31, 26, WithAlpha(kBlack, 0x50));
        button.FillCircle(30, y + 30, 26, kBark);
        button.FillCircle(30, y + 30, 24, faces[row]);
        const float dy = y + (row == 2 ? 1.0f : 0.0f);
        if (brush) {
            const float handle[] = {41, dy + 13, 45, dy + 17, 30, dy + 34, 26, dy + 30};
            button.FillPolygon(handle, 4, kGoldDark);
            button.FillCircle(22, dy + 39, 8, kCharcoal);
            button.FillCircle(22, dy + 39, 6, kSea);
        } else {
            const float shaft[] = {40, dy + 12, 44, dy + 16, 31, dy + 30, 27, dy + 26};
            button.FillPolygon(shaft, 4, kGoldDark);
            const float blade[] = {15, dy + 46, 16, dy + 33, 23, dy + 26, 34, dy + 36, 27, dy + 44};
            button.FillPolygon(blade, 5, kStone);
        }
    }
    out.Save(button, "images/play/" + file + ".png");
}

// The preview frame of a board size on the puzzle-selection screen: a
// 3-pixel gold rim around an empty dark board with faint cell lines. Every
// size fills the same well of the preview panel, 240 pixels inside the rim.
void MakeSmallGrid(Writer& out, int n)
{
    constexpr int kInside = 240;
    constexpr int kSide = kInside + 6;
    Canvas frame(kSide, kSide);
    frame.FillRect(0, 0, kSide, kSide, kGold);
    frame.FillRect(3, 3, kInside, kInside, kInkDeep);
    const float cell = static_cast<float>(kInside) / static_cast<float>(n);
    for (int i = 1; i < n; ++i) {
        const int at = 3 + static_cast<int>(std::lround(i * cell));
        const std::uint32_t line = i % 5 == 0 ? WithAlpha(kGoldLight, 0x40) : WithAlpha(kWhite, 0x18);
        frame.FillRect(at, 3, 1, kInside, line);
        frame.FillRect(3, at, kInside, 1, line);
    }
    out.Save(frame, "images/play/small_grid" + std::to_string(n) + ".png");
}

void MakeSparkle(Writer& out)
{
    Canvas sparkle(24, 24);
    for (int r = 11; r > 0; --r) {
        const float t = static_cast<float>(r) / 11.0f;
        sparkle.FillCircle(12, 12, static_cast<float>(r),
                           Mix(WithAlpha(kGoldLight, 0x00), WithAlpha(kHoney, 0x40), 1.0f - t));
    }
    sparkle.FillCircle(12, 12, 3, kWhite);
    out.Save(sparkle, "images/play/sparkle.png");
}

// The room the puzzles are played in: a warm wall, lighter towards the board.
void MakeBackground(Writer& out)
{
    Canvas wall(1024, 768);
    wall.VerticalGradient(0, 0, 1024, 768, kNavy, kInk);
    for (int y = 0; y < 768; y += 4)
        for (int x = (y / 4) % 2 * 2; x < 1024; x += 48)
            wall.Blend(x, y, WithAlpha(kWhite, 0x0C));
    // The panel behind the board. The play screen centres every board on
    // the same point, (389, 389), so one panel around the largest board holds
    // each of them in its middle.
    wall.FillRoundedRect(12, 12, 754, 754, 40, WithAlpha(kWhite, 0x18));
    out.Save(wall, "images/play/background.png");
}

} // namespace

bool MakePlayArt(const std::string& dataFolder)
{
    Writer out{fs::path(dataFolder)};
    for (const BoardSize& board : kBoards) {
        MakeBoard(out, board);
        MakeHighlights(out, board);
        MakeCellPieces(out, board);
    }
    for (const BoardSize& board : kBoards)
        MakeSmallGrid(out, board.n);
    MakeGridNumbers(out);
    MakeArtTiles(out);
    MakeHintIcon(out);
    MakeChance(out, 40, "chance_large");
    MakeChance(out, 28, "chance_small");
    MakeNotepad(out);
    MakeToolButton(out, true, "tile_tool_btn");
    MakeToolButton(out, false, "mark_tool_btn");
    MakeSparkle(out);
    MakeBackground(out);
    return out.IsOk();
}
