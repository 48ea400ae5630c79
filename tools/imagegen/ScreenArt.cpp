// Renders the art of the game's screens (title, players, map, set list, set
// and puzzle choice) into the data folder given as the only argument.
#include "Canvas.h"
#include "Look.h"

#include "platform/FontRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

using namespace look;

namespace {

namespace fs = std::filesystem;

const std::string kFontFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// A set's banner: the face inside its gold rim, and the room its name keeps
// from the rim on either side.
constexpr int kBannerFaceLeft = 4;
constexpr int kBannerFaceWidth = 344;
constexpr int kBannerTextMargin = 22;
constexpr int kBannerTextWidth = kBannerFaceWidth - 2 * kBannerTextMargin;

std::unique_ptr<FontRasterizer> OpenFont(const Type& type)
{
    std::unique_ptr<FontRasterizer> font = CreateFontRasterizer();
    if (!font->Open(kFontFolder + type.face, type.size, false, false)) {
        std::fprintf(stderr, "screenart: cannot open %s\n", type.face);
        return nullptr;
    }
    return font;
}

struct Fonts
{
    std::unique_ptr<FontRasterizer> logo = OpenFont(kLogoType);
    std::unique_ptr<FontRasterizer> heading = OpenFont(kHeadingType);
    std::unique_ptr<FontRasterizer> label = OpenFont(kLabelType);
    std::unique_ptr<FontRasterizer> small = OpenFont(kCaptionType);
    std::unique_ptr<FontRasterizer> letter = OpenFont(kBadgeType);

    bool IsValid() const { return logo && heading && label && small && letter; }
};

class Output
{
public:
    explicit Output(fs::path root) : m_root(std::move(root)) {}

    void Save(const Canvas& canvas, const std::string& name)
    {
        fs::path path = m_root / "images" / "screens" / (name + ".png");
        fs::create_directories(path.parent_path());
        if (!canvas.Save(path.string())) {
            std::fprintf(stderr, "screenart: cannot write %s\n", path.string().c_str());
            m_ok = false;
        }
    }
    bool IsOk() const { return m_ok; }

private:
    fs::path m_root;
    bool m_ok = true;
};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, float t)
{
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 24; shift += 8) {
        float ca = static_cast<float>((a >> shift) & 0xFF);
        float cb = static_cast<float>((b >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>(std::lround(ca + (cb - ca) * t)) << shift;
    }
    return out;
}

void GradientRoundedRect(Canvas& canvas, float x, float y, int width, int height, float radius, std::uint32_t top,
                         std::uint32_t bottom)
{
    Canvas shape(width, height);
    shape.FillRoundedRect(0, 0, static_cast<float>(width), static_cast<float>(height), radius, kWhite);
    for (int py = 0; py < height; ++py) {
        std::uint32_t colour = Mix(top, bottom, height > 1 ? static_cast<float>(py) / (height - 1) : 0.0f);
        for (int px = 0; px < width; ++px) {
            float coverage = static_cast<float>(shape.GetImage().At(px, py) >> 24) / 255.0f;
            if (coverage > 0.0f)
                canvas.Blend(static_cast<int>(x) + px, static_cast<int>(y) + py, colour, coverage);
        }
    }
}

// The columns a text's glyphs cover when it is drawn from x = 0. Advance
// widths hold the letters' side bearings, which would set a title off centre
// by a few pixels.
struct InkSpan
{
    int left = 0;
    int right = -1;
    int Width() const { return right - left + 1; }
};

InkSpan MeasureInk(FontRasterizer& font, const std::wstring& text)
{
    Canvas scratch(Canvas::TextWidth(font, text) + font.GetHeight(), font.GetHeight());
    scratch.DrawText(font, text, 0, font.GetAscent(), kWhite);
    InkSpan ink{scratch.GetWidth(), -1};
    for (int y = 0; y < scratch.GetHeight(); ++y) {
        for (int x = 0; x < scratch.GetWidth(); ++x) {
            if ((scratch.GetImage().At(x, y) >> 24) == 0)
                continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
        }
    }
    return ink.right < 0 ? InkSpan{} : ink;
}

void CentredText(Canvas& canvas, FontRasterizer& font, const std::wstring& text, int centreX, int baseline,
                 std::uint32_t colour, bool shadow = true)
{
    const int x = centreX - Canvas::TextWidth(font, text) / 2;
    if (shadow)
        canvas.DrawText(font, text, x + 2, baseline + 2, WithAlpha(kBlack, 0x90));
    canvas.DrawText(font, text, x, baseline, colour);
}

// A small square tile of the puzzle boards, lit from the top.
void Tile(Canvas& canvas, float x, float y, float size, std::uint32_t colour)
{
    canvas.FillRoundedRect(x, y, size, size, size * 0.18f, Mix(colour, kBlack, 0.35f));
    GradientRoundedRect(canvas, x + 1, y + 1, static_cast<int>(size) - 2, static_cast<int>(size) - 3,
                        size * 0.15f, Mix(colour, kWhite, 0.25f), colour);
}

// The screen backgrounds share a night-blue wash with a faint board grid.
Canvas Backdrop(std::uint32_t top, std::uint32_t bottom)
{
    Canvas canvas(kScreenWidth, kScreenHeight);
    canvas.VerticalGradient(0, 0, kScreenWidth, kScreenHeight, top, bottom);
    for (int x = 0; x < kScreenWidth; x += 32)
        canvas.FillRect(x, 0, 1, kScreenHeight, WithAlpha(kWhite, 0x0E));
    for (int y = 0; y < kScreenHeight; y += 32)
        canvas.FillRect(0, y, kScreenWidth, 1, WithAlpha(kWhite, 0x0E));
    return canvas;
}

// A panel: shadow, gold rim, slate face.
void Panel(Canvas& canvas, float x, float y, int width, int height, float radius)
{
    for (int spread = 6; spread >= 1; --spread)
        canvas.FillRoundedRect(x - spread + 4, y - spread + 6, width + 2.0f * spread - 8,
                               height + 2.0f * spread - 8, radius + spread, WithAlpha(kBlack, 0x10));
    canvas.FillRoundedRect(x, y, static_cast<float>(width), static_cast<float>(height), radius, kGold);
    GradientRoundedRect(canvas, x + 3, y + 3, width - 6, height - 6, radius - 2, kNavy, kInk);
    canvas.StrokeRoundedRect(x + 8, y + 8, width - 16.0f, height - 16.0f, radius - 5, 1.0f,
                             WithAlpha(kHoney, 0x50));
}

// A button image of four rows (up, over, pressed, disabled) drawn by one face
// function per row.
template <typename Face> Canvas FourRows(int width, int height, Face face)
{
    Canvas canvas(width, height * 4);
    for (int state = 0; state < 4; ++state) {
        Canvas cell(width, height);
        face(cell, state);
        canvas.Paste(cell, 0, height * state);
    }
    return canvas;
}

struct FaceColours
{
    std::uint32_t rim, top, bottom;
};

FaceColours StateColours(int state, std::uint32_t top, std::uint32_t bottom)
{
    switch (state) {
    case 1:
        return {kInkDeep, Mix(top, kWhite, 0.25f), Mix(bottom, kWhite, 0.15f)};
    case 2:
        return {kInkDeep, Mix(bottom, kBlack, 0.1f), top};
    case 3:
        return {kSlate, kStone, kSteel};
    default:
        return {kCharcoal, top, bottom};
    }
}

void GlossyFace(Canvas& cell, int state, std::uint32_t top, std::uint32_t bottom, float radius)
{
    const FaceColours colours = StateColours(state, top, bottom);
    const float width = static_cast<float>(cell.GetWidth());
    const float height = static_cast<float>(cell.GetHeight());
    cell.FillRoundedRect(2, 4, width - 4, height - 5, radius, WithAlpha(kBlack, 0x50));
    cell.FillRoundedRect(1, 1, width - 2, height - 4, radius, colours.rim);
    GradientRoundedRect(cell, 3, 3, static_cast<int>(width) - 6, static_cast<int>(height) - 8, radius - 2, colours.top,
                        colours.bottom);
    // The gloss is a pill in the upper part of the face. Its ends are as round
    // as its height allows and stand where the face's corner arcs begin, so
    // they stay inside the face's rounded outline however flat the button is.
    const float faceRadius = radius - 2;
    const float glossHeight = height * 0.4f;
    const float glossRadius = std::max(1.0f, std::min(glossHeight / 2, faceRadius - 1));
    const float glossLeft = 3 + faceRadius - glossRadius;
    cell.StrokeRoundedRect(glossLeft, 4, width - 2 * glossLeft, glossHeight, glossRadius, 1.2f,
                           state == 3 ? WithAlpha(kWhite, 0x30) : WithAlpha(kWhite, 0x80));
}

void CheckMark(Canvas& cell, float cx, float cy, float size, std::uint32_t colour)
{
    const float points[] = {cx - size,        cy,
                            cx - size * 0.3f, cy + size * 0.7f,
                            cx + size,        cy - size * 0.8f,
                            cx + size * 0.75f, cy - size,
                            cx - size * 0.3f, cy + size * 0.25f,
                            cx - size * 0.75f, cy - size * 0.3f};
    cell.FillPolygon(points, 6, colour);
}

void Star(Canvas& canvas, float cx, float cy, float outer, float inner, std::uint32_t colour)
{
    float points[20];
    for (int i = 0; i < 10; ++i) {
        const float radius = i % 2 == 0 ? outer : inner;
        const float angle = -std::numbers::pi_v<float> / 2 + static_cast<float>(i) * std::numbers::pi_v<float> / 5;
        points[2 * i] = cx + radius * std::cos(angle);
        points[2 * i + 1] = cy + radius * std::sin(angle);
    }
    canvas.FillPolygon(points, 10, colour);
}

// Title screen ---------------------------------------------------------------------

void MakeTitle(Output& out, Fonts& fonts)
{
    Canvas background = Backdrop(kInk, kTeal);
    // Two solved boards in the lower corners: a heart and a little house. They
    // stay clear of the middle, where the player screen's row of buttons runs
    // from x 194 to 830 at y 590.
    const char* heart[] = {"0110110", "1111111", "1111111", "0111110", "0011100", "0001000"};
    const char* house[] = {"0001000", "0011100", "0111110", "1111111", "0110110", "0110110"};
    constexpr float kTile = 20.0f;
    constexpr float kStep = 22.0f;
    constexpr float kBoardWidth = 6 * kStep + kTile;
    constexpr float kMargin = 24.0f;
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 7; ++column) {
            const float left = kMargin + column * kStep;
            const float right = kScreenWidth - kMargin - kBoardWidth + column * kStep;
            const float y = 546.0f + row * kStep;
            if (heart[row][column] == '1')
                Tile(background, left, y, kTile, row < 3 ? kRed : kCoral);
            else
                background.FillRoundedRect(left, y, kTile, kTile, 4, WithAlpha(kWhite, 0x20));
            if (house[row][column] == '1')
                Tile(background, right, y, kTile, row < 3 ? kBlue : kAmber);
            else
                background.FillRoundedRect(right, y, kTile, kTile, 4, WithAlpha(kWhite, 0x20));
        }
    }
    for (int i = 0; i < 40; ++i) {
        const float x = static_cast<float>((i * 397) % kScreenWidth);
        const float y = static_cast<float>((i * 173) % 360);
        background.FillCircle(x, y, (i % 3) * 0.6f + 0.8f, WithAlpha(kWhite, 0x90));
    }
    out.Save(background, "title_background");

    // The logo keeps its lower rows clear: the title screen centres it on
    // three eighths of its height, and the name entry, centred on the
    // screen, stands just below what it shows.
    Canvas logo(700, 190);
    const std::wstring title = L"Tarnvale";
    const int width = Canvas::TextWidth(*fonts.logo, title);
    const int x = (610 - width) / 2;
    constexpr int kTitleBaseline = 100;
    for (int d = 6; d >= 1; --d)
        logo.DrawText(*fonts.logo, title, x + d, kTitleBaseline + d, WithAlpha(kBlack, 0x30));
    logo.DrawText(*fonts.logo, title, x, kTitleBaseline, kGoldLight);
    // The "6" on a tile of its own.
    Tile(logo, 600, 8, 96, kBlue);
    CentredText(logo, *fonts.logo, L"6", 648, 86, kWhite);
    CentredText(logo, *fonts.small, L"PICTURE LOGIC PUZZLES", 350, 136, kSkyPale);
    out.Save(logo, "game_logo");

    Canvas base(420, 26);
    base.FillRoundedRect(0, 0, 420, 26, 13, kInkDeep);
    base.StrokeRoundedRect(1, 1, 418, 24, 12, 1.5f, kGold);
    out.Save(base, "loadingbar_base");
    Canvas top(420, 26);
    GradientRoundedRect(top, 4, 4, 412, 18, 9, kHoney, kGold);
    top.StrokeRoundedRect(6, 5, 408, 7, 3.5f, 1.0f, WithAlpha(kWhite, 0x80));
    out.Save(top, "loadingbar_top");

    out.Save(FourRows(240, 72,
                      [&](Canvas& cell, int state) {
                          GlossyFace(cell, state, kLeaf, kLeafDark, 22);
                          CentredText(cell, *fonts.label, L"Play", 120, 44 + (state == 2 ? 1 : 0),
                                      state == 3 ? kPale : kWhite);
                      }),
             "play_game_btn");
}

// Players and name entry --------------------------------------------------------------

void MakePlayers(Output& out)
{
    // The name entry is centred on the title screen, under the logo: its
    // card leaves the picture's upper rows clear and begins a little above
    // the prompt the dialog writes (baseline 75). The name field's well runs
    // on under the OK button (centred at x 250), which caps its end, so that
    // a long name scrolled to the field's end still stands on the well.
    constexpr int kEnterNameWidth = 296;
    constexpr int kEnterNameHeight = 156;
    constexpr int kCardTop = 44;
    // The card's shadow reaches 2 pixels left of it and 4 right and below.
    Canvas enterName(kEnterNameWidth, kEnterNameHeight);
    Panel(enterName, 2, kCardTop, kEnterNameWidth - 6, kEnterNameHeight - kCardTop - 4, 18);
    // The name field's well: the edit box draws only text and caret on it.
    enterName.FillRoundedRect(24, 88, 244, 39, 8, kGold);
    enterName.FillRoundedRect(26, 90, 240, 35, 7, kInkDeep);
    out.Save(enterName, "enter_name");

    // The tutorial's message panel: a wide strip that fits above the board,
    // left of the hint lamps (two lines of text over its OK button).
    Canvas tutorial(700, 142);
    Panel(tutorial, 0, 0, 700, 142, 18);
    out.Save(tutorial, "tutorial_panel");

    out.Save(FourRows(40, 50,
                      [&](Canvas& cell, int state) {
                          GlossyFace(cell, state, kLeaf, kLeafDark, 12);
                          CheckMark(cell, 20, 24, 10, state == 3 ? kPale : kWhite);
                      }),
             "enter_name_btn");
    out.Save(FourRows(44, 44,
                      [&](Canvas& cell, int state) {
                          GlossyFace(cell, state, kLeaf, kLeafDark, 12);
                          CheckMark(cell, 22, 21, 10, state == 3 ? kPale : kWhite);
                      }),
             "profile_ok_btn");
    // Name buttons: the third row is also the selected look, a gold rim
    // round a bronze face dark enough for the white name on it.
    out.Save(FourRows(320, 44,
                      [&](Canvas& cell, int state) {
                          if (state == 2) {
                              // No gloss across the face: only a sheen along its top edge.
                              cell.FillRoundedRect(2, 4, 316, 39, 14, WithAlpha(kBlack, 0x50));
                              cell.FillRoundedRect(1, 1, 318, 40, 14, kGoldLight);
                              GradientRoundedRect(cell, 3, 3, 314, 36, 12, Mix(kBronze, kGoldDark, 0.6f),
                                                  Mix(kGoldDark, kEarth, 0.35f));
                              cell.FillRoundedRect(14, 4, 292, 2, 1, WithAlpha(kWhite, 0x50));
                          } else {
                              GlossyFace(cell, state, kDusk, kNight, 14);
                          }
                      }),
             "profile_btn");
}

// Map and set list ----------------------------------------------------------------------

// The outline of an island: an ellipse whose radius wanders with a few slow
// waves, so that the coast is smooth but never regular.
std::vector<float> Coast(float cx, float cy, float rx, float ry, int seed, float scale)
{
    constexpr int kPoints = 96;
    std::vector<float> points;
    const float phase = static_cast<float>(seed);
    for (int i = 0; i < kPoints; ++i) {
        const float angle = static_cast<float>(i) * 2 * std::numbers::pi_v<float> / kPoints;
        const float wobble = 1.0f + 0.08f * std::sin(3 * angle + phase) +
                             0.05f * std::sin(5 * angle + 2 * phase) +
                             0.03f * std::sin(9 * angle + 3 * phase);
        points.push_back(cx + rx * scale * wobble * std::cos(angle));
        points.push_back(cy + ry * scale * wobble * std::sin(angle));
    }
    return points;
}

// An island: shallows around a sand beach, the grass inside, lit from the
// top left.
void Island(Canvas& canvas, float cx, float cy, float rx, float ry, int seed)
{
    const int count = 96;
    canvas.FillPolygon(Coast(cx, cy, rx, ry, seed, 1.14f).data(), count, WithAlpha(kSky, 0x38));
    canvas.FillPolygon(Coast(cx, cy, rx, ry, seed, 1.05f).data(), count, WithAlpha(kSkyPale, 0x40));
    canvas.FillPolygon(Coast(cx, cy, rx, ry, seed, 1.0f).data(), count, kSand);
    canvas.FillPolygon(Coast(cx + 3, cy + 4, rx, ry, seed, 0.88f).data(), count, kLeafDark);
    canvas.FillPolygon(Coast(cx, cy, rx, ry, seed, 0.87f).data(), count, kLeaf);
    canvas.FillPolygon(Coast(cx - rx * 0.12f, cy - ry * 0.14f, rx, ry, seed, 0.6f).data(), count,
                       WithAlpha(kLeafLight, 0x50));
}

// A small boat with a white sail, for the harbour's water.
void Boat(Canvas& canvas, float x, float y)
{
    const float hull[] = {x - 16, y, x + 16, y, x + 10, y + 8, x - 10, y + 8};
    canvas.FillPolygon(hull, 4, kGoldDark);
    const float sail[] = {x - 1, y - 24, x - 1, y - 2, x - 15, y - 2};
    canvas.FillPolygon(sail, 3, kCream);
    const float jib[] = {x + 2, y - 20, x + 2, y - 2, x + 12, y - 2};
    canvas.FillPolygon(jib, 3, kParchment);
}

void MakeMap(Output& out, Fonts& fonts)
{
    Canvas map(kScreenWidth, kScreenHeight);
    map.VerticalGradient(0, 0, kScreenWidth, kScreenHeight, kSea, kTeal);
    for (int y = 40; y < kScreenHeight; y += 46)
        for (int x = (y / 46) % 2 * 30; x < kScreenWidth; x += 90)
            map.FillRoundedRect(static_cast<float>(x), static_cast<float>(y), 22, 2, 1,
                                WithAlpha(kWhite, 0x30));
    Island(map, 250, 300, 200, 140, 1);
    Island(map, 660, 450, 230, 150, 2);
    Island(map, 180, 600, 110, 70, 3);
    Island(map, 840, 190, 120, 80, 4);
    // Trees and a path between the garden and the harbour.
    for (int i = 0; i < 9; ++i) {
        const float x = 150.0f + static_cast<float>((i * 53) % 200);
        const float y = 240.0f + static_cast<float>((i * 37) % 110);
        map.FillCircle(x, y, 11, kLeafDark);
        map.FillCircle(x - 3, y - 3, 5, WithAlpha(kLeafLight, 0x60));
    }
    for (int i = 0; i < 14; ++i)
        map.FillCircle(380.0f + i * 18.0f, 320.0f + i * 8.5f, 3, WithAlpha(kParchment, 0xC0));
    // The harbour: a pier out into the water and two boats beside it.
    for (int post = 0; post < 4; ++post)
        map.FillRect(838 + post * 20, 556, 4, 10, kBark);
    map.FillRect(812, 548, 96, 9, kGoldDark);
    Boat(map, 905, 615);
    Boat(map, 960, 565);
    Panel(map, 312, 14, 400, 64, 16);
    CentredText(map, *fonts.heading, L"World Map", 512, 58, kGoldLight);
    out.Save(map, "bg_worldselect");

    struct Badge
    {
        const char* name;
        std::uint32_t top, bottom;
        const wchar_t* letter;
    };
    const Badge badges[] = {{"garden", kLeafLight, kLeafDark, L"G"},
                            {"harbour", kSky, kSea, L"H"},
                            {"primer", kAmber, kBronze, L"P"}};
    for (const Badge& badge : badges) {
        out.Save(FourRows(96, 96,
                          [&](Canvas& cell, int state) {
                              const FaceColours colours = StateColours(state, badge.top, badge.bottom);
                              cell.FillCircle(49, 51, 44, WithAlpha(kBlack, 0x50));
                              cell.FillCircle(48, 48, 44, state == 1 ? kParchment : kGold);
                              cell.FillCircle(48, 48, 39, colours.bottom);
                              cell.FillCircle(48, 44, 34, colours.top);
                              CentredText(cell, *fonts.letter, badge.letter, 48, 60,
                                          state == 3 ? kPale : kWhite);
                          }),
                 std::string("map_") + badge.name + "_btn");
    }

    // The bonus sets' buttons carry their names in the small type ("tiny"):
    // slim pills of a list rather than the main menu's buttons, with a faint
    // sheen along the top edge that stays clear of the name. Every row is
    // dark enough for small white letters (at least 4.5 : 1). The screen
    // stretches them a tenth wider.
    const FaceColours pills[4] = {{kCharcoal, kPlumDark, Mix(kPlumDark, kInk, 0.4f)},
                                  {kInkDeep, Mix(kPlumDark, kPlum, 0.35f), kPlumDark},
                                  {kInkDeep, Mix(kPlumDark, kInk, 0.5f), kPlumDark},
                                  {kSlate, kSteel, kSlate}};
    out.Save(FourRows(200, 34,
                      [&](Canvas& cell, int state) {
                          const FaceColours& colours = pills[state];
                          cell.FillRoundedRect(2, 3, 196, 30, 12, WithAlpha(kBlack, 0x50));
                          cell.FillRoundedRect(1, 1, 196, 30, 12, colours.rim);
                          GradientRoundedRect(cell, 3, 3, 192, 26, 10, colours.top, colours.bottom);
                          cell.FillRoundedRect(12, 4, 174, 2, 1, WithAlpha(kWhite, state == 3 ? 0x20 : 0x60));
                      }),
             "menubutton");
    // The card beside the list, on which the screen writes the line about
    // the set under the pointer from the left, in the small type.
    Canvas info(346, 126);
    Panel(info, 2, 0, 340, 120, 14);
    out.Save(info, "set_info_panel");
}

// Puzzle choice -------------------------------------------------------------------------

void MakePuzzleChoice(Output& out, Fonts& fonts)
{
    Canvas background = Backdrop(kInk, kNavy);
    Panel(background, 440, 170, 540, 470, 22);
    // The card under the preview panel.
    Panel(background, 80, 200, 300, 380, 20);
    out.Save(background, "bg_puzzleselect");

    struct SetArt
    {
        const char* name;
        const wchar_t* title;
        std::uint32_t top, bottom;
    };
    const SetArt sets[] = {{"primer", L"Primer", kAmber, kBronze},
                           {"garden", L"The Garden", kLeafLight, kLeafDark},
                           {"harbour", L"The Harbour", kSky, kDusk},
                           {"nightsky", L"Night Sky", kPlumDark, kInk},
                           {"pantry", L"The Pantry", kCoral, kGoldDark}};
    for (const SetArt& set : sets) {
        Canvas banner(360, 120);
        banner.FillRoundedRect(4, 6, 352, 110, 20, WithAlpha(kBlack, 0x50));
        banner.FillRoundedRect(0, 0, 352, 110, 20, kGold);
        GradientRoundedRect(banner, kBannerFaceLeft, 4, kBannerFaceWidth, 102, 17, set.top, set.bottom);
        // The name stands in the middle of the banner's face, as far from the
        // rim on the right as on the left; a name too long for the heading
        // size is set smaller rather than crowding the rim.
        FontRasterizer* font = fonts.heading.get();
        std::unique_ptr<FontRasterizer> smaller;
        InkSpan ink = MeasureInk(*font, set.title);
        for (int size = kHeadingType.size - 2; ink.Width() > kBannerTextWidth && size >= 20; size -= 2) {
            smaller = OpenFont(Type{kHeadingType.name, kHeadingType.face, size});
            if (!smaller)
                break;
            font = smaller.get();
            ink = MeasureInk(*font, set.title);
        }
        const int x = kBannerFaceLeft + (kBannerFaceWidth - ink.Width()) / 2 - ink.left;
        banner.DrawText(*font, set.title, x + 2, 72 + 2, WithAlpha(kBlack, 0x90));
        banner.DrawText(*font, set.title, x, 72, kWhite);
        out.Save(banner, std::string(set.name) + "_select");
    }

    // The preview panel on its card: the well a puzzle's picture (240
    // pixels square at (1, 4)) lies in, with a thin gold edge, and the rule
    // above the name and the time. An unsolved puzzle's frame covers the well.
    Canvas preview(242, 260);
    preview.FillRect(0, 3, 242, 242, kGold);
    preview.FillRect(1, 4, 240, 240, kInkDeep);
    preview.FillRect(20, 256, 202, 1, WithAlpha(kGold, 0x80));
    out.Save(preview, "ui_preview");

    // Icons: an open puzzle (a blank board with a question), a solved one (a
    // gold frame for its thumbnail), a locked one (a padlock).
    out.Save(FourRows(96, 96,
                      [&](Canvas& cell, int state) {
                          GlossyFace(cell, state, kAzure, kTeal, 16);
                          for (int i = 0; i < 9; ++i)
                              cell.FillRoundedRect(24.0f + (i % 3) * 17.0f, 22.0f + (i / 3) * 17.0f, 14, 14,
                                                   3, WithAlpha(kWhite, 0x40));
                          CentredText(cell, *fonts.letter, L"?", 48, 60, kWhite);
                      }),
             "ui_puzzle_current");
    out.Save(FourRows(96, 96,
                      [&](Canvas& cell, int state) {
                          GlossyFace(cell, state, kGoldLight, kBronze, 16);
                          cell.FillRoundedRect(14, 12, 68, 68, 6, kInkDeep);
                      }),
             "ui_puzzle_complete");
    out.Save(FourRows(96, 96,
                      [&](Canvas& cell, int) {
                          GlossyFace(cell, 3, kSteel, kSlate, 16);
                          cell.StrokeRoundedRect(36, 24, 24, 30, 11, 4.0f, kSilver);
                          cell.FillRoundedRect(30, 42, 36, 28, 5, kSilver);
                          cell.FillCircle(48, 54, 4, kSlate);
                      }),
             "ui_puzzle_incomplete");

    // The stars under the preview: two cells each, unearned and earned.
    const std::uint32_t starColours[] = {kGoldLight, kSky, kLeafLight};
    const char* starNames[] = {"ui_star_complete", "ui_star_hint", "ui_star_mistake"};
    for (int i = 0; i < 3; ++i) {
        Canvas star(80, 40);
        Star(star, 20, 21, 18, 8, WithAlpha(kWhite, 0x60));
        Star(star, 20, 21, 14, 6, kNavy);
        Star(star, 61, 22, 18, 8, WithAlpha(kBlack, 0x60));
        Star(star, 60, 21, 18, 8, starColours[i]);
        Star(star, 58, 18, 7, 3, WithAlpha(kWhite, 0x80));
        out.Save(star, starNames[i]);
    }

    Canvas flash(96, 96);
    // Round, as the map's markers are: a glow that fades inward from the
    // rim onto the marker's own gold edge.
    for (int ring = 0; ring < 8; ++ring) {
        const float size = 92.0f - 2.0f * static_cast<float>(ring);
        flash.StrokeRoundedRect(2.0f + ring, 2.0f + ring, size, size, size / 2, 1.0f,
                                WithAlpha(kHoney, static_cast<std::uint32_t>(0xC0 - ring * 22)));
    }
    out.Save(flash, "new_puzzle_flash");
}

// Level summary ----------------------------------------------------------------------------

// The summary after a solve stands in the column beside the board, so the
// revealed picture stays in view on its own grid.
void MakeLevelSummary(Output& out)
{
    // It covers the whole column and runs on past the screen's bottom edge
    // (the picture ends there, from 8 px down): no rounded lower corner
    // lets the play screen's notes show through beside it.
    constexpr int kWidth = 244;
    constexpr int kHeight = 760;
    constexpr int kRunOff = 24;
    Canvas panel(kWidth + 4, kHeight);
    Panel(panel, 0, 0, kWidth, kHeight + kRunOff, 18);
    // A gold rule under the title and one above the results.
    panel.FillRect(24, 168, kWidth - 48, 1, WithAlpha(kGold, 0x80));
    panel.FillRect(24, 300, kWidth - 48, 1, WithAlpha(kGold, 0x80));
    out.Save(panel, "level_summary");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenart <data folder>\n");
        return 2;
    }
    Fonts fonts;
    if (!fonts.IsValid())
        return 1;
    Output out{fs::path(argv[1])};
    MakeTitle(out, fonts);
    MakePlayers(out);
    MakeMap(out, fonts);
    MakePuzzleChoice(out, fonts);
    MakeLevelSummary(out);
    return out.IsOk() ? 0 : 1;
}
