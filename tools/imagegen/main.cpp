// Renders the game's placeholder images and bitmap fonts into the data
// folder given as the only argument.
#include "Canvas.h"
#include "ControlArt.h"
#include "DialogArt.h"
#include "LogoArt.h"
#include "Look.h"
#include "PlayArt.h"

#include "graphics/ImageData.h"
#include "graphics/ImageWriter.h"
#include "platform/FontRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>

using namespace look;

namespace {

namespace fs = std::filesystem;

const std::string kFontFolder = "/usr/share/fonts/truetype/dejavu/";

std::unique_ptr<FontRasterizer> OpenFont(const Type& type)
{
    std::unique_ptr<FontRasterizer> font = CreateFontRasterizer();
    if (!font->Open(kFontFolder + type.face, type.size, false, false)) {
        std::fprintf(stderr, "imagegen: cannot open %s\n", type.face);
        return nullptr;
    }
    return font;
}

class Generator
{
public:
    explicit Generator(fs::path root) : m_root(std::move(root)) {}

    bool Save(const Canvas& canvas, const std::string& relative)
    {
        fs::path path = m_root / relative;
        fs::create_directories(path.parent_path());
        if (!canvas.Save(path.string())) {
            std::fprintf(stderr, "imagegen: cannot write %s\n", path.string().c_str());
            m_ok = false;
        }
        return m_ok;
    }

    bool SaveText(const std::string& text, const std::string& relative)
    {
        fs::path path = m_root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out << text;
        if (!out) {
            std::fprintf(stderr, "imagegen: cannot write %s\n", path.string().c_str());
            m_ok = false;
        }
        return m_ok;
    }

    bool IsOk() const { return m_ok; }

private:
    fs::path m_root;
    bool m_ok = true;
};

void MakeSplash(Generator& out, FontRasterizer& title, FontRasterizer& text, const std::wstring& heading,
                const std::wstring& line, std::uint32_t top, std::uint32_t bottom, const std::string& file)
{
    Canvas canvas(1024, 768);
    canvas.VerticalGradient(0, 0, 1024, 768, top, bottom);
    for (int i = 0; i < 12; ++i)
        canvas.FillRoundedRect(80.0f + 74.0f * i, 560.0f, 60.0f, 60.0f, 8.0f,
                               (i % 3 == 0) ? WithAlpha(kWhite, 0xC0) : WithAlpha(kWhite, 0x40));
    int width = Canvas::TextWidth(title, heading);
    canvas.DrawText(title, heading, (1024 - width) / 2 + 4, 344, WithAlpha(kBlack, 0x80));
    canvas.DrawText(title, heading, (1024 - width) / 2, 340, kWhite);
    width = Canvas::TextWidth(text, line);
    canvas.DrawText(text, line, (1024 - width) / 2, 420, kCream);
    out.Save(canvas, file);
}

void MakeCursors(Generator& out)
{
    Canvas arrow(32, 32);
    const float arrowShape[] = {1, 1, 1, 24, 7, 18, 12, 28, 16, 26, 11, 17, 19, 17};
    arrow.FillPolygon(arrowShape, 7, kBlack);
    const float arrowInside[] = {3, 5, 3, 19, 7.5f, 15, 12.5f, 25, 13.5f, 24.5f, 8.5f, 15, 14.5f, 15};
    arrow.FillPolygon(arrowInside, 7, kWhite);
    out.Save(arrow, "images/cursors/arrow.png");

    Canvas hand(32, 32);
    hand.FillRoundedRect(8, 2, 7, 18, 3.5f, kBlack);
    hand.FillRoundedRect(6, 12, 20, 18, 5, kBlack);
    hand.FillRoundedRect(9.5f, 3.5f, 4, 16, 2, kWhite);
    hand.FillRoundedRect(7.5f, 13.5f, 17, 15, 4, kWhite);
    out.Save(hand, "images/cursors/hand.png");

    Canvas brush(32, 32);
    const float handle[] = {28, 2, 31, 5, 14, 20, 11, 17};
    brush.FillPolygon(handle, 4, kGoldDark);
    brush.FillCircle(8, 23, 7, kCharcoal);
    brush.FillCircle(8, 23, 5, kBlue);
    out.Save(brush, "images/cursors/brushcursor.png");

    Canvas shovel(32, 32);
    const float shaft[] = {27, 3, 30, 6, 15, 20, 12, 17};
    shovel.FillPolygon(shaft, 4, kGoldDark);
    const float blade[] = {1, 31, 2, 20, 9, 14, 18, 23, 12, 30};
    shovel.FillPolygon(blade, 5, kStone);
    out.Save(shovel, "images/cursors/shovelcursor.png");
}

// A rounded rectangle filled with a vertical gradient, anti-aliased at its edge.
void GradientRoundedRect(Canvas& canvas, int x, int y, int width, int height, float radius, std::uint32_t top,
                         std::uint32_t bottom)
{
    Canvas shape(width, height);
    shape.FillRoundedRect(0, 0, static_cast<float>(width), static_cast<float>(height), radius, kWhite);
    Canvas gradient(width, height);
    gradient.VerticalGradient(0, 0, width, height, top, bottom);
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            float coverage = static_cast<float>(shape.GetImage().At(px, py) >> 24) / 255.0f;
            if (coverage > 0.0f)
                canvas.Blend(x + px, y + py, gradient.GetImage().At(px, py), coverage);
        }
    }
}

// The menu button's four rows: up, pointer over, pressed, disabled. Each is a
// dark rim and a face with a soft gloss along the top.
void MakeButton(Generator& out)
{
    struct Face
    {
        std::uint32_t rim, top, bottom, highlight;
    };
    const Face faces[4] = {
        {kNight, kAzure, kSea, WithAlpha(kWhite, 0x58)},
        {kNight, kSky, kAzure, WithAlpha(kWhite, 0x70)},
        {kInk, kSea, kAzure, WithAlpha(kWhite, 0x20)},
        {kSlate, kStone, kSteel, WithAlpha(kWhite, 0x30)},
    };
    // Narrow enough for the players' row: three side by side, 196 pixels
    // from middle to middle, 16 apart.
    constexpr int kWidth = 180;
    constexpr int kHeight = 48;
    Canvas button(kWidth, kHeight * 4);
    for (int state = 0; state < 4; ++state) {
        const Face& face = faces[state];
        Canvas cell(kWidth, kHeight);
        cell.FillRoundedRect(2, 3, kWidth - 4, kHeight - 4, 13, WithAlpha(kBlack, 0x50));
        cell.FillRoundedRect(1, 1, kWidth - 2, kHeight - 4, 13, face.rim);
        GradientRoundedRect(cell, 3, 3, kWidth - 6, kHeight - 8, 11, face.top, face.bottom);
        // A soft gloss over the upper half, fading downward.
        GradientRoundedRect(cell, 6, 4, kWidth - 12, 17, 9, face.highlight,
                            face.highlight & WithAlpha(kWhite, 0x08));
        button.Paste(cell, 0, kHeight * state);
    }
    out.Save(button, "images/ui/button.png");
}

// The panel under dialogs: a dark slate card with a gold rim, a lighter title
// band, a faint board grid over its body and a soft shadow, so white text
// reads on it. Tall enough for the options' rows, the tallest dialog.
void MakeDialog(Generator& out)
{
    constexpr int kWidth = 560;
    constexpr int kHeight = 576;
    constexpr int kGridStep = 32;
    Canvas dialog(kWidth, kHeight);
    for (int spread = 8; spread >= 1; --spread) {
        float inset = static_cast<float>(8 - spread);
        dialog.FillRoundedRect(inset, inset + 4, kWidth - 2 * inset, kHeight - 2 * inset - 4, 26,
                               WithAlpha(kBlack, 0x0C));
    }
    dialog.FillRoundedRect(8, 6, kWidth - 16, kHeight - 18, 22, kGold);
    GradientRoundedRect(dialog, 11, 9, kWidth - 22, kHeight - 24, 19, kNavy, kInk);
    // The grid of the screens' backdrops, inside the inner rule below the band.
    const int gridLeft = 24;
    const int gridRight = kWidth - 24;
    const int gridTop = 100;
    const int gridBottom = kHeight - 28;
    for (int x = gridLeft + kGridStep / 2; x < gridRight; x += kGridStep)
        dialog.FillRect(x, gridTop, 1, gridBottom - gridTop, WithAlpha(kWhite, 0x0C));
    for (int y = gridTop + kGridStep / 2; y < gridBottom; y += kGridStep)
        dialog.FillRect(gridLeft, y, gridRight - gridLeft, 1, WithAlpha(kWhite, 0x0C));
    GradientRoundedRect(dialog, 24, 22, kWidth - 48, 64, 14, kDusk, kNavy);
    dialog.FillRect(40, 92, kWidth - 80, 2, WithAlpha(kGold, 0x80));
    dialog.StrokeRoundedRect(16, 14, kWidth - 32, kHeight - 34, 16, 1.0f, WithAlpha(kHoney, 0x60));
    out.Save(dialog, "images/ui/dialog.png");
}

// A bitmap font from a DejaVu face: one page of white glyphs and its descriptor.
void BakeFont(Generator& out, const Type& type, const std::string& name)
{
    std::unique_ptr<FontRasterizer> font = OpenFont(type);
    if (!font)
        return;
    const int pageWidth = 512;
    std::vector<std::pair<char32_t, GlyphBitmap>> glyphs;
    for (char32_t c = 32; c < 256; ++c) {
        if (c >= 127 && c < 160)
            continue;
        GlyphBitmap glyph;
        if (!font->HasGlyph(c))
            continue;
        font->RenderGlyph(c, glyph);
        glyphs.emplace_back(c, std::move(glyph));
    }
    int rowHeight = font->GetHeight() + 1;
    int x = 0;
    int y = 0;
    std::string chars;
    std::vector<std::tuple<char32_t, int, int>> places;
    for (const auto& [c, glyph] : glyphs) {
        if (x + glyph.width + 1 > pageWidth) {
            x = 0;
            y += rowHeight;
        }
        places.emplace_back(c, x, y);
        x += glyph.width + 1;
    }
    int pageHeight = 1;
    while (pageHeight < y + rowHeight)
        pageHeight *= 2;
    Canvas page(pageWidth, pageHeight);
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const GlyphBitmap& glyph = glyphs[i].second;
        auto [c, gx, gy] = places[i];
        for (int py = 0; py < glyph.height; ++py) {
            for (int px = 0; px < glyph.width; ++px)
                page.Blend(gx + px, gy + py, glyph.pixels[static_cast<std::size_t>(py) * glyph.width + px]);
        }
        chars += "char id=" + std::to_string(static_cast<int>(c)) + " x=" + std::to_string(gx) +
                 " y=" + std::to_string(gy) + " width=" + std::to_string(glyph.width) +
                 " height=" + std::to_string(glyph.height) +
                 " xoffset=0 yoffset=0 xadvance=" + std::to_string(font->GetAdvance(c)) + " page=0\n";
    }
    std::string descriptor =
        "info face=\"" + std::string(type.face) + "\" size=" + std::to_string(type.size) + "\n";
    descriptor += "common lineHeight=" + std::to_string(font->GetLineSkip()) +
                  " base=" + std::to_string(font->GetAscent()) + " ascentPadding=0\n";
    descriptor += "page id=0 file=\"" + name + ".png\"\n";
    descriptor += chars;
    out.Save(page, "fonts/" + name + ".png");
    out.SaveText(descriptor, "fonts/" + name + ".txt");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: imagegen <data folder>\n");
        return 2;
    }
    Generator out{fs::path(argv[1])};
    std::unique_ptr<FontRasterizer> title = OpenFont(kDisplayType);
    std::unique_ptr<FontRasterizer> text = OpenFont(kBodyType);
    if (!title || !text)
        return 1;
    MakeSplash(out, *title, *text, L"Tarnvale 6", L"Picture logic from Ostrel", kNight, kSea,
               "images/splash.png");
    MakeSplash(out, *title, *text, L"Ostrel", L"Made with care for puzzle lovers", kTeal, kLeaf,
               "images/splash2.png");
    MakeCursors(out);
    MakeButton(out);
    MakeDialog(out);
    BakeFont(out, kLargeType, "large");
    BakeFont(out, kTitleType, "menu_title");
    const bool controlsOk = MakeControlArt(argv[1]);
    const bool playArt = MakePlayArt(argv[1]);
    const bool logoArt = MakeLogoArt(argv[1]);
    const bool dialogArt = MakeDialogArt(argv[1]);
    return out.IsOk() && controlsOk && playArt && logoArt && dialogArt ? 0 : 1;
}
