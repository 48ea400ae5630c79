#include "PlayArt.h"

#include "Canvas.h"

#include "platform/FontRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>

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

std::unique_ptr<FontRasterizer> Font(const std::string& file, int size)
{
    std::unique_ptr<FontRasterizer> font = CreateFontRasterizer();
    if (!font->Open("/usr/share/fonts/truetype/dejavu/" + file, size, false, false))
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
    canvas.FillRoundedRect(0, 0, static_cast<float>(size), static_cast<float>(size), 14, 0xFFE9DCBEu);
    // Bands behind every other clue line help the eye along a row or column.
    for (int i = 0; i < board.n; i += 2) {
        const int at = board.offset + i * board.cell;
        canvas.FillRect(at, 6, board.cell, board.offset - 8, 0xFFF1E7CFu);
        canvas.FillRect(6, at, board.offset - 8, board.cell, 0xFFF1E7CFu);
    }
    canvas.FillRect(board.offset - 3, board.offset - 3, board.n * board.cell + 6, board.n * board.cell + 6,
                    0xFF5A4A32u);
    canvas.FillRect(board.offset, board.offset, board.n * board.cell, board.n * board.cell, 0xFFFBF6EAu);
    for (int i = 1; i < board.n; ++i) {
        const bool major = i % 5 == 0;
        const int at = board.offset + i * board.cell - (major ? 1 : 0);
        const int width = major ? 2 : 1;
        const std::uint32_t colour = major ? 0xFF8A7758u : 0xFFD6CCB6u;
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
    tile.FillRoundedRect(2, 2, c - 4, c - 4, c / 8, 0x703C78D8u);
    tile.StrokeRoundedRect(2, 2, c - 4, c - 4, c / 8, 2.0f, 0xE02A5BB0u);
    out.Save(tile, "images/play/g" + n + "_tile_highlight.png");

    Canvas mark(board.cell, board.cell);
    mark.FillRoundedRect(2, 2, c - 4, c - 4, c / 8, 0x60C0703Au);
    mark.StrokeRoundedRect(2, 2, c - 4, c - 4, c / 8, 2.0f, 0xE0A04F1Eu);
    const float m = c * 0.3f;
    const float w = std::max(1.5f, c / 16);
    const float cross1[] = {m, m + w, m + w, m, c - m, c - m - w, c - m - w, c - m};
    const float cross2[] = {c - m - w, m, c - m, m + w, m + w, c - m, m, c - m - w};
    mark.FillPolygon(cross1, 4, 0xA0A04F1Eu);
    mark.FillPolygon(cross2, 4, 0xA0A04F1Eu);
    out.Save(mark, "images/play/g" + n + "_mark_highlight.png");

    Canvas cursor(board.cell, board.cell);
    cursor.StrokeRoundedRect(1.5f, 1.5f, c - 3, c - 3, c / 8, 3.0f, 0xF0F2B233u);
    cursor.StrokeRoundedRect(4, 4, c - 8, c - 8, c / 10, 1.0f, 0x90FFFFFFu);
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
        shape.FillRoundedRect(0, 0, c - 4, c - 4, c / 9, 0xFFFFFFFFu);
        for (int py = 0; py < board.cell - 4; ++py)
            for (int px = 0; px < board.cell - 4; ++px) {
                const float coverage = static_cast<float>(shape.GetImage().At(px, py) >> 24) / 255.0f;
                pieces.Blend(index * board.cell + 2 + px, 2 + py, face.GetImage().At(px, py), coverage);
            }
        pieces.FillRoundedRect(x + c * 0.18f, c * 0.12f, c * 0.64f, c * 0.16f, c * 0.08f, 0x50FFFFFFu);
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
    tile(0, 0xFF4C6E9Cu, 0xFF2C4A73u, 0xFF1B2E4Au);
    tile(1, 0xFF4C6E9Cu, 0xFF2C4A73u, 0xFF8E1E1Eu);
    cross(1, c * 0.62f, std::max(1.5f, c / 14), 0xFFE84040u);
    cross(2, c * 0.32f, std::max(1.5f, c / 14), 0xFF9C8C70u);
    pieces.FillRoundedRect(3 * c + 2, 2, c - 4, c - 4, c / 8, 0x50E03030u);
    cross(3, c * 0.26f, std::max(2.0f, c / 10), 0xFFD02828u);
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
            std::unique_ptr<FontRasterizer> face = Font("DejaVuSansCondensed-Bold.ttf", smaller);
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
        const int size = set == 0 ? 15 : 12;
        std::unique_ptr<FontRasterizer> font = Font("DejaVuSans-Bold.ttf", size);
        if (!font)
            return;
        std::unique_ptr<FontRasterizer> condensed = twoDigitFace(size);
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
                                            kNumberCell - 2, kNumberCell - 2, 6, 0xFFF6C945u);
                    numbers.DrawText(*face, text, x, baseline, 0xFF3A2600u);
                    break;
                case 1:
                    numbers.DrawText(*face, text, x, baseline, 0xFF2A2418u);
                    break;
                case 2:
                    numbers.DrawText(*face, text, x, baseline, 0xFFBDB29Cu);
                    break;
                default:
                    for (int dy = -1; dy <= 1; ++dy)
                        for (int dx = -1; dx <= 1; ++dx)
                            numbers.DrawText(*face, text, x + dx, baseline + dy, 0xFF10203Au);
                    numbers.DrawText(*face, text, x, baseline, 0xFFFFFFFFu);
                    break;
                }
            }
        }
    }
    out.Save(numbers, "images/play/grid_numbers.png");
}

// Picture pieces, drawn white so that each shade tints them grey: a full
// square with a soft bevel (pictures read as a mosaic), and a round stone.
void MakeArtTiles(Writer& out)
{
    constexpr int kCell = 32;
    Canvas tiles(kCell * 2, kCell);
    // A glazed amber tile: the lightest shade reads as honey, the darkest as bronze.
    tiles.VerticalGradient(0, 0, kCell, kCell, 0xFFFFE2A8u, 0xFFF0B860u);
    tiles.FillRect(0, 0, kCell, 1, 0xFFFFF2D0u);
    tiles.FillRect(0, 0, 1, kCell, 0xFFFFF2D0u);
    tiles.FillRect(0, kCell - 1, kCell, 1, 0xFFC08840u);
    tiles.FillRect(kCell - 1, 0, 1, kCell, 0xFFC08840u);
    tiles.FillRoundedRect(4, 3, kCell - 12, 6, 3, 0x60FFFFFFu);
    tiles.FillCircle(kCell * 1.5f, kCell / 2.0f, kCell / 2.0f - 1, 0xFFE0A850u);
    tiles.FillCircle(kCell * 1.5f - 2, kCell / 2.0f - 2, kCell / 2.0f - 4, 0xFFFFD890u);
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
                icon.FillCircle(x + 22, 19, static_cast<float>(r), 0x18FFD040u);
        icon.FillCircle(x + 22, 19, 14, 0xFF5A4A32u);
        icon.FillCircle(x + 22, 19, 12, 0xFFEDE4D0u);
        const float level = 12.0f * 2 * static_cast<float>(stage) / (kStages - 1);
        Canvas fill(kCell, kCell);
        fill.FillCircle(22, 19, 12, full ? 0xFFFFD23Au : 0xFFF0B429u);
        for (int py = 0; py < kCell; ++py)
            for (int px = 0; px < kCell; ++px)
                if (static_cast<float>(py) >= 31.0f - level)
                    icon.Blend(stage * kCell + px, py, fill.GetImage().At(px, py));
        icon.FillCircle(x + 18, 15, 4, 0x90FFFFFFu);
        icon.FillRoundedRect(x + 15, 32, 14, 8, 2, 0xFF6E6E78u);
        icon.FillRect(stage * kCell + 15, 35, 14, 1, 0xFF4A4A52u);
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
        const std::uint32_t rim = frame == 0 ? 0xFF7A1414u : 0xFF8C8478u;
        const std::uint32_t face = frame == 0 ? 0xFFE03C3Cu : 0xFFD8D0C0u;
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
            icon.FillCircle(x + s * 0.32f, s * 0.3f, s * 0.08f, 0xA0FFFFFFu);
    }
    out.Save(icon, "images/play/" + file + ".png");
}

void MakeNotepad(Writer& out)
{
    constexpr int kWidth = 250;
    constexpr int kHeight = 290;
    Canvas pad(kWidth, kHeight);
    pad.FillRoundedRect(6, 10, kWidth - 8, kHeight - 10, 8, 0x40000000u);
    pad.FillRoundedRect(2, 6, kWidth - 8, kHeight - 12, 8, 0xFFFFF9E6u);
    for (int y = 56; y < kHeight - 16; y += 24)
        pad.FillRect(14, y, kWidth - 32, 1, 0xFFBFD4E8u);
    pad.FillRect(34, 12, 1, kHeight - 24, 0xFFE8A8A8u);
    pad.FillRoundedRect(kWidth / 2.0f - 40, 0, 72, 18, 5, 0xFF8A8A94u);
    pad.FillRoundedRect(kWidth / 2.0f - 36, 3, 64, 12, 4, 0xFFB4B4BEu);
    out.Save(pad, "images/play/notepad.png");
}

// The tool buttons, four rows (up, over, pressed, chosen): a round face with
// the tool's picture; the chosen one sits in a gold ring.
void MakeToolButton(Writer& out, bool brush, const std::string& file)
{
    constexpr int kCell = 60;
    Canvas button(kCell, kCell * 4);
    const std::uint32_t faces[4] = {0xFFE9E2D2u, 0xFFF8F2E4u, 0xFFD2C9B6u, 0xFFFFF1C4u};
    for (int row = 0; row < 4; ++row) {
        const float y = static_cast<float>(row * kCell);
        if (row == 3)
            button.FillCircle(30, y + 30, 29, 0xFFE0A820u);
        button.FillCircle(30, y + 31, 26, 0x50000000u);
        button.FillCircle(30, y + 30, 26, 0xFF5A4A32u);
        button.FillCircle(30, y + 30, 24, faces[row]);
        const float dy = y + (row == 2 ? 1.0f : 0.0f);
        if (brush) {
            const float handle[] = {41, dy + 13, 45, dy + 17, 30, dy + 34, 26, dy + 30};
            button.FillPolygon(handle, 4, 0xFF8A5A2Bu);
            button.FillCircle(22, dy + 39, 8, 0xFF2B2B2Bu);
            button.FillCircle(22, dy + 39, 6, 0xFF3C6EB4u);
        } else {
            const float shaft[] = {40, dy + 12, 44, dy + 16, 31, dy + 30, 27, dy + 26};
            button.FillPolygon(shaft, 4, 0xFF8A5A2Bu);
            const float blade[] = {15, dy + 46, 16, dy + 33, 23, dy + 26, 34, dy + 36, 27, dy + 44};
            button.FillPolygon(blade, 5, 0xFF8E959Eu);
        }
    }
    out.Save(button, "images/play/" + file + ".png");
}

// The preview frame of a board size on the puzzle-selection screen: a
// 3-pixel rim around an empty board with faint lines.
void MakeSmallGrid(Writer& out, int n, int size)
{
    Canvas frame(size, size);
    frame.FillRoundedRect(0, 0, static_cast<float>(size), static_cast<float>(size), 3, 0xFF5A4A32u);
    frame.FillRect(3, 3, size - 6, size - 6, 0xFFFBF6EAu);
    const float cell = static_cast<float>(size - 6) / static_cast<float>(n);
    for (int i = 5; i < n; i += 5) {
        const int at = 3 + static_cast<int>(std::lround(i * cell));
        frame.FillRect(at, 3, 1, size - 6, 0xFFD6CCB6u);
        frame.FillRect(3, at, size - 6, 1, 0xFFD6CCB6u);
    }
    out.Save(frame, "images/play/small_grid" + std::to_string(n) + ".png");
}

void MakeSparkle(Writer& out)
{
    Canvas sparkle(24, 24);
    for (int r = 11; r > 0; --r) {
        const float t = static_cast<float>(r) / 11.0f;
        sparkle.FillCircle(12, 12, static_cast<float>(r), Mix(0x00FFE080u, 0x40FFF0B0u, 1.0f - t));
    }
    sparkle.FillCircle(12, 12, 3, 0xFFFFFFFFu);
    out.Save(sparkle, "images/play/sparkle.png");
}

// The room the puzzles are played in: a warm wall, lighter towards the board.
void MakeBackground(Writer& out)
{
    Canvas wall(1024, 768);
    wall.VerticalGradient(0, 0, 1024, 768, 0xFF3B4F63u, 0xFF1F2B38u);
    for (int y = 0; y < 768; y += 4)
        for (int x = (y / 4) % 2 * 2; x < 1024; x += 48)
            wall.Blend(x, y, 0x0CFFFFFFu);
    // The panel behind the board. The play screen centres every board on
    // the same point, (389, 389), so one panel around the largest board holds
    // each of them in its middle.
    wall.FillRoundedRect(12, 12, 754, 754, 40, 0x18FFFFFFu);
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
        MakeSmallGrid(out, board.n, board.n <= 15 ? 66 : 86);
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
