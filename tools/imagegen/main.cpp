// Renders the game's placeholder images and bitmap fonts into the data
// folder given as the only argument.
#include "Canvas.h"
#include "ControlArt.h"

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

namespace {

namespace fs = std::filesystem;

const std::string kFontFolder = "/usr/share/fonts/truetype/dejavu/";

std::unique_ptr<FontRasterizer> OpenFont(const std::string& file, int size)
{
    std::unique_ptr<FontRasterizer> font = CreateFontRasterizer();
    if (!font->Open(kFontFolder + file, size, false, false)) {
        std::fprintf(stderr, "imagegen: cannot open %s\n", file.c_str());
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

// The maker's letters, the ball (three cells: at rest, two spin frames),
// the trail and the trademark of the start-up logo.
void MakeLogo(Generator& out, FontRasterizer& letters, FontRasterizer& small)
{
    const wchar_t* names = L"OSTRE";
    const std::uint32_t colours[5] = {0xFFE8503Au, 0xFFF2A33Au, 0xFF4CB85Cu, 0xFF3A8FE8u, 0xFF9A5CE8u};
    for (int i = 0; i < 5; ++i) {
        std::wstring letter(1, names[i]);
        Canvas canvas(96, 120);
        int width = Canvas::TextWidth(letters, letter);
        int x = (96 - width) / 2;
        canvas.DrawText(letters, letter, x + 3, 100, 0x80000000u);
        canvas.DrawText(letters, letter, x, 97, colours[i]);
        out.Save(canvas, "images/logo/" + std::string(1, static_cast<char>(names[i])) + ".png");
    }

    Canvas ball(192, 64);
    for (int cell = 0; cell < 3; ++cell) {
        float cx = 32.0f + 64.0f * cell;
        ball.FillCircle(cx, 32.0f, 28.0f, 0xFFD8D8D8u);
        float angle = static_cast<float>(cell) * std::numbers::pi_v<float> / 3.0f;
        ball.FillCircle(cx + 14.0f * std::cos(angle), 32.0f + 14.0f * std::sin(angle), 8.0f, 0xFFE8503Au);
        ball.FillCircle(cx - 9.0f, 23.0f, 6.0f, 0xC0FFFFFFu);
    }
    out.Save(ball, "images/logo/ball.png");

    Canvas trail(256, 24);
    for (int x = 0; x < 256; ++x) {
        std::uint32_t alpha = static_cast<std::uint32_t>(x * 200 / 255);
        for (int y = 0; y < 24; ++y) {
            float edge = 1.0f - std::abs(static_cast<float>(y) - 11.5f) / 12.0f;
            trail.Blend(x, y, (alpha << 24) | 0xFFFFFFu, edge);
        }
    }
    out.Save(trail, "images/logo/trail.png");

    Canvas trademark(40, 24);
    trademark.DrawText(small, L"TM", 2, 18, 0xFFFFFFFFu);
    out.Save(trademark, "images/logo/ostrel_tm.png");
}

void MakeSplash(Generator& out, FontRasterizer& title, FontRasterizer& text, const std::wstring& heading,
                const std::wstring& line, std::uint32_t top, std::uint32_t bottom, const std::string& file)
{
    Canvas canvas(1024, 768);
    canvas.VerticalGradient(0, 0, 1024, 768, top, bottom);
    for (int i = 0; i < 12; ++i)
        canvas.FillRoundedRect(80.0f + 74.0f * i, 560.0f, 60.0f, 60.0f, 8.0f,
                               (i % 3 == 0) ? 0xC0FFFFFFu : 0x40FFFFFFu);
    int width = Canvas::TextWidth(title, heading);
    canvas.DrawText(title, heading, (1024 - width) / 2 + 4, 344, 0x80000000u);
    canvas.DrawText(title, heading, (1024 - width) / 2, 340, 0xFFFFFFFFu);
    width = Canvas::TextWidth(text, line);
    canvas.DrawText(text, line, (1024 - width) / 2, 420, 0xFFF0F0F0u);
    out.Save(canvas, file);
}

void MakeCursors(Generator& out)
{
    Canvas arrow(32, 32);
    const float arrowShape[] = {1, 1, 1, 24, 7, 18, 12, 28, 16, 26, 11, 17, 19, 17};
    arrow.FillPolygon(arrowShape, 7, 0xFF000000u);
    const float arrowInside[] = {3, 5, 3, 19, 7.5f, 15, 12.5f, 25, 13.5f, 24.5f, 8.5f, 15, 14.5f, 15};
    arrow.FillPolygon(arrowInside, 7, 0xFFFFFFFFu);
    out.Save(arrow, "images/cursors/arrow.png");

    Canvas hand(32, 32);
    hand.FillRoundedRect(8, 2, 7, 18, 3.5f, 0xFF000000u);
    hand.FillRoundedRect(6, 12, 20, 18, 5, 0xFF000000u);
    hand.FillRoundedRect(9.5f, 3.5f, 4, 16, 2, 0xFFFFFFFFu);
    hand.FillRoundedRect(7.5f, 13.5f, 17, 15, 4, 0xFFFFFFFFu);
    out.Save(hand, "images/cursors/hand.png");

    Canvas brush(32, 32);
    const float handle[] = {28, 2, 31, 5, 14, 20, 11, 17};
    brush.FillPolygon(handle, 4, 0xFF8A5A2Bu);
    brush.FillCircle(8, 23, 7, 0xFF2B2B2Bu);
    brush.FillCircle(8, 23, 5, 0xFF3A8FE8u);
    out.Save(brush, "images/cursors/brushcursor.png");

    Canvas shovel(32, 32);
    const float shaft[] = {27, 3, 30, 6, 15, 20, 12, 17};
    shovel.FillPolygon(shaft, 4, 0xFF8A5A2Bu);
    const float blade[] = {1, 31, 2, 20, 9, 14, 18, 23, 12, 30};
    shovel.FillPolygon(blade, 5, 0xFF9AA0A8u);
    out.Save(shovel, "images/cursors/shovelcursor.png");
}

// Three rows: up, hovered, pressed.
void MakeButton(Generator& out, FontRasterizer&)
{
    const std::uint32_t faces[3][2] = {
        {0xFF5C8FD8u, 0xFF2F5FA8u},
        {0xFF79A8EAu, 0xFF3B6FBDu},
        {0xFF2F5FA8u, 0xFF5C8FD8u},
    };
    Canvas button(200, 144);
    for (int state = 0; state < 3; ++state) {
        Canvas face(200, 48);
        face.FillRoundedRect(1, 1, 198, 46, 12, 0xFF1C2E4Au);
        Canvas gradient(196, 42);
        gradient.VerticalGradient(0, 0, 196, 42, faces[state][0], faces[state][1]);
        for (int y = 0; y < 42; ++y) {
            for (int x = 0; x < 196; ++x) {
                float inside = 1.0f;
                float dx = std::max({10.0f - static_cast<float>(x), 0.0f, static_cast<float>(x) - 185.0f});
                float dy = std::max({10.0f - static_cast<float>(y), 0.0f, static_cast<float>(y) - 31.0f});
                if (dx * dx + dy * dy > 100.0f)
                    inside = 0.0f;
                face.Blend(3 + x, 3 + y, gradient.GetImage().At(x, y), inside);
            }
        }
        button.Paste(face, 0, 48 * state);
    }
    out.Save(button, "images/ui/button.png");
}

// A bitmap font from a DejaVu face: one page of white glyphs and its descriptor.
void BakeFont(Generator& out, const std::string& file, int size, const std::string& name)
{
    std::unique_ptr<FontRasterizer> font = OpenFont(file, size);
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
    std::string descriptor = "info face=\"" + file + "\" size=" + std::to_string(size) + "\n";
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
    std::unique_ptr<FontRasterizer> letters = OpenFont("DejaVuSans-Bold.ttf", 72);
    std::unique_ptr<FontRasterizer> small = OpenFont("DejaVuSans-Bold.ttf", 10);
    std::unique_ptr<FontRasterizer> title = OpenFont("DejaVuSerif-Bold.ttf", 48);
    std::unique_ptr<FontRasterizer> text = OpenFont("DejaVuSans.ttf", 18);
    if (!letters || !small || !title || !text)
        return 1;
    MakeLogo(out, *letters, *small);
    MakeSplash(out, *title, *text, L"Tarnvale 6", L"Picture logic from Ostrel", 0xFF1E3C72u, 0xFF2A5298u,
               "images/splash.png");
    MakeSplash(out, *title, *text, L"Ostrel", L"Made with care for puzzle lovers", 0xFF134E5Eu, 0xFF71B280u,
               "images/splash2.png");
    MakeCursors(out);
    MakeButton(out, *text);
    BakeFont(out, "DejaVuSans-Bold.ttf", 28, "large");
    BakeFont(out, "DejaVuSerif-Bold.ttf", 26, "menu_title");
    const bool controlsOk = MakeControlArt(argv[1]);
    return out.IsOk() && controlsOk ? 0 : 1;
}
