#include "LogoArt.h"

#include "Canvas.h"
#include "Look.h"

#include "platform/FontRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numbers>
#include <vector>

using namespace look;

namespace {

namespace fs = std::filesystem;

const char* const kLogoFace = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";
// Letter cells and the baseline inside them; the logo screen rests their top
// edge at mid-height.
constexpr int kLetterWidth = 96;
constexpr int kLetterHeight = 120;
constexpr int kBaseline = 112;
constexpr int kCapTop = 13;
// The widest a letter may be: the letters stand 84 to 91 pixels apart.
constexpr int kGlyphWidth = 82;
// Ball cells; the ball sits low in its cell so that it rests on the letters.
constexpr int kBallCell = 128;
constexpr float kBallRadius = 30.0f;
constexpr float kBallCentreY = 84.0f;

constexpr std::uint32_t kLetterColours[5] = {kBlue, kMint, kYellow, kRed, kViolet};

std::uint8_t Channel(std::uint32_t argb, int shift)
{
    return static_cast<std::uint8_t>((argb >> shift) & 0xFFu);
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, float t)
{
    auto lerp = [&](int shift) {
        return static_cast<std::uint32_t>(
            std::lround(Channel(a, shift) + (Channel(b, shift) - Channel(a, shift)) * t));
    };
    return (lerp(24) << 24) | (lerp(16) << 16) | (lerp(8) << 8) | lerp(0);
}

// Bilinear sample of straight-alpha pixels (transparent outside).
std::uint32_t Sample(const Canvas& canvas, float x, float y)
{
    const ImageData& image = canvas.GetImage();
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const float fx = x - x0;
    const float fy = y - y0;
    float sum[4] = {};
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            const int px = x0 + i;
            const int py = y0 + j;
            if (px < 0 || py < 0 || px >= image.width || py >= image.height)
                continue;
            const float weight = (i ? fx : 1.0f - fx) * (j ? fy : 1.0f - fy);
            const std::uint32_t p = image.At(px, py);
            const float alpha = Channel(p, 24) * weight;
            sum[0] += alpha;
            sum[1] += Channel(p, 16) * alpha;
            sum[2] += Channel(p, 8) * alpha;
            sum[3] += Channel(p, 0) * alpha;
        }
    }
    if (sum[0] <= 0.0f)
        return 0;
    auto c = [&](float v) {
        return static_cast<std::uint32_t>(std::clamp(std::lround(v / sum[0]), 0L, 255L));
    };
    return (static_cast<std::uint32_t>(std::lround(sum[0])) << 24) | (c(sum[1]) << 16) | (c(sum[2]) << 8) |
           c(sum[3]);
}

// The canvas turned by degrees (clockwise) about a pivot.
Canvas Rotated(const Canvas& source, float degrees, float pivotX, float pivotY)
{
    Canvas out(source.GetWidth(), source.GetHeight());
    const float angle = degrees * std::numbers::pi_v<float> / 180.0f;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    for (int y = 0; y < out.GetHeight(); ++y) {
        for (int x = 0; x < out.GetWidth(); ++x) {
            const float dx = x + 0.5f - pivotX;
            const float dy = y + 0.5f - pivotY;
            const float sx = c * dx + s * dy + pivotX - 0.5f;
            const float sy = -s * dx + c * dy + pivotY - 0.5f;
            if (std::uint32_t p = Sample(source, sx, sy))
                out.Blend(x, y, p);
        }
    }
    return out;
}

Canvas Letter(FontRasterizer& font, wchar_t letter, std::uint32_t colour)
{
    // Drawn at full size, then narrowed to fit its place, its cap height
    // (measured on "E", which has no overshoot) starting at kCapTop.
    const std::wstring text(1, letter);
    const int textWidth = Canvas::TextWidth(font, text);
    const int wideHeight = kLetterHeight * 2;
    const int wideBaseline = kLetterHeight + kLetterHeight / 2;
    Canvas wide(textWidth + 8, wideHeight);
    wide.DrawText(font, text, 4, wideBaseline, kWhite);
    Canvas flat(Canvas::TextWidth(font, L"E") + 8, wideHeight);
    flat.DrawText(font, L"E", 4, wideBaseline, kWhite);
    int capTop = 0;
    while (capTop < wideHeight && [&] {
        for (int x = 0; x < flat.GetWidth(); ++x)
            if (Channel(flat.GetImage().At(x, capTop), 24) > 128)
                return false;
        return true;
    }())
        ++capTop;
    int capBottom = wideHeight - 1;
    while (capBottom > capTop && [&] {
        for (int x = 0; x < flat.GetWidth(); ++x)
            if (Channel(flat.GetImage().At(x, capBottom), 24) > 128)
                return false;
        return true;
    }())
        --capBottom;
    const float stretch =
        static_cast<float>(capBottom + 1 - capTop) / static_cast<float>(kBaseline - kCapTop);
    const float squeeze = static_cast<float>(kGlyphWidth) / static_cast<float>(textWidth);
    const float left = (kLetterWidth - textWidth * squeeze) / 2.0f;
    Canvas glyph(kLetterWidth, kLetterHeight);
    for (int y = 0; y < kLetterHeight; ++y)
        for (int x = 0; x < kLetterWidth; ++x)
            if (std::uint32_t p = Sample(wide, (x + 0.5f - left) / squeeze + 4.0f - 0.5f,
                                         capTop + (y + 0.5f - kCapTop) * stretch - 0.5f))
                glyph.Blend(x, y, p);
    // A top-to-bottom shade of the letter's colour, with a soft drop shadow.
    Canvas out(kLetterWidth, kLetterHeight);
    const std::uint32_t light = Mix(colour, kWhite, 0.25f);
    const std::uint32_t dark = Mix(colour, kBlack, 0.25f);
    for (int y = 0; y < kLetterHeight; ++y) {
        for (int x2 = 0; x2 < kLetterWidth; ++x2) {
            const std::uint32_t shadow = x2 >= 3 && y >= 3 ? glyph.GetImage().At(x2 - 3, y - 3) : 0;
            if (Channel(shadow, 24) > 0)
                out.Blend(x2, y, WithAlpha(kBlack, 0x30), Channel(shadow, 24) / 255.0f);
        }
    }
    for (int y = 0; y < kLetterHeight; ++y) {
        const std::uint32_t shade = Mix(light, dark, static_cast<float>(y) / kLetterHeight);
        for (int x2 = 0; x2 < kLetterWidth; ++x2) {
            const std::uint32_t p = glyph.GetImage().At(x2, y);
            if (Channel(p, 24) > 0)
                out.Blend(x2, y, shade, Channel(p, 24) / 255.0f);
        }
    }
    return out;
}

Canvas Ball()
{
    Canvas ball(kBallCell * 3, kBallCell);
    for (int cell = 0; cell < 3; ++cell) {
        const float cx = kBallCell * cell + kBallCell / 2.0f;
        // A red ball with a white band; the spin frames turn the band.
        Canvas one(kBallCell * 3, kBallCell);
        one.FillCircle(cx + 3.0f, kBallCentreY + 3.0f, kBallRadius, WithAlpha(kBlack, 0x28));
        one.FillCircle(cx, kBallCentreY, kBallRadius, kRed);
        const float angle =
            (cell == 0 ? 0.0f : (cell == 1 ? 40.0f : 80.0f)) * std::numbers::pi_v<float> / 180.0f;
        for (int y = 0; y < kBallCell; ++y) {
            for (int x = kBallCell * cell; x < kBallCell * (cell + 1); ++x) {
                const float dx = x + 0.5f - cx;
                const float dy = y + 0.5f - kBallCentreY;
                const float r = std::sqrt(dx * dx + dy * dy);
                if (r > kBallRadius - 0.5f)
                    continue;
                const float along = std::abs(-std::sin(angle) * dx + std::cos(angle) * dy);
                if (along < 7.0f)
                    one.Blend(x, y, kCream, std::clamp(7.0f - along, 0.0f, 1.0f));
                // Light from the upper left.
                const float light =
                    std::clamp(1.0f - std::hypot(dx + 12.0f, dy + 12.0f) / (kBallRadius * 1.6f), 0.0f, 1.0f);
                one.Blend(x, y, kWhite, light * 0.45f);
                const float rim = std::clamp((r - kBallRadius * 0.7f) / (kBallRadius * 0.3f), 0.0f, 1.0f);
                one.Blend(x, y, kEarth, rim * 0.35f);
            }
        }
        one.FillCircle(cx - 12.0f, kBallCentreY - 13.0f, 6.0f, WithAlpha(kWhite, 0xB0));
        for (int y = 0; y < kBallCell; ++y)
            for (int x = kBallCell * cell; x < kBallCell * (cell + 1); ++x)
                if (std::uint32_t p = one.GetImage().At(x, y))
                    ball.Blend(x, y, p);
    }
    return ball;
}

// The ball's flight as the logo screen moves it (one step per update),
// without the dips of the letters: the points of its centre relative to the
// trail's corner.
std::vector<std::pair<float, float>> Flight()
{
    const float w = 1024.0f, h = 768.0f;
    const float cornerX = w / 2 - 229, cornerY = h / 2 - 73;
    const float floors[3] = {h / 2 - 101, h / 2 - 102, h / 2 + 4};
    const int periods[3] = {6, 7, 5};
    const float resume[2][2] = {{2.76f, -2.8f}, {1.98f, -3.4f}};
    float x = w / 2 - 740, y = h / 2 + 350, vx = 4.41f, vy = -9.6f;
    int phase = 0, spin = -1;
    std::vector<std::pair<float, float>> points;
    for (int tick = 0; tick < 1000 && vx != 0.0f; ++tick) {
        if (spin >= 0) {
            x += vx / 2;
            if (++spin >= 3 * periods[phase - 1]) {
                spin = -1;
                if (phase <= 2) {
                    vx = resume[phase - 1][0];
                    vy = resume[phase - 1][1];
                }
            }
        } else {
            x += vx;
            y += vy;
            vy += 0.1f;
            if (vy > 0 && y >= floors[phase]) {
                spin = 0;
                if (phase == 2) {
                    y = floors[2];
                    vx = 0;
                }
                ++phase;
            }
        }
        points.emplace_back(x + kBallCell / 2.0f - cornerX, y + kBallCentreY - cornerY);
    }
    return points;
}

Canvas Trail()
{
    Canvas trail(480, 180);
    const std::vector<std::pair<float, float>> points = Flight();
    const float last = points.empty() ? 1.0f : points.back().first;
    // A ribbon that widens and darkens towards the resting ball.
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto [x, y] = points[i];
        if (x < 0.0f)
            continue;
        const float t = std::clamp(x / last, 0.0f, 1.0f);
        const float radius = 2.0f + 7.0f * t;
        // The picture starts at the height of the lower arcs: the higher one
        // is flattened into it.
        const float top = 12.0f;
        const float shown = y >= top ? y : top - (top - y) * 0.3f;
        trail.FillCircle(x, shown, radius, Mix(WithAlpha(kRed, 0x30), WithAlpha(kRed, 0x70), t));
    }
    return trail;
}

// The trademark sign beside the resting ball. The logo screen writes it from
// 15 pixels left of the ball's right edge, and once the ball rests only the
// ball's own area is drawn again: as wide as those 15 pixels, the sign is
// drawn whole with it. The largest type that fits.
Canvas Trademark()
{
    constexpr int kWidth = 15;
    constexpr int kHeight = 14;
    Canvas trademark(kWidth, kHeight);
    std::unique_ptr<FontRasterizer> type = CreateFontRasterizer();
    for (int size = 12; size >= 6; --size) {
        if (!type->Open(kLogoFace, size, false, false)) {
            std::fprintf(stderr, "imagegen: cannot open the logo fonts\n");
            break;
        }
        const int width = Canvas::TextWidth(*type, L"TM");
        if (width > kWidth)
            continue;
        trademark.DrawText(*type, L"TM", (kWidth - width) / 2, type->GetAscent(), kDusk);
        break;
    }
    return trademark;
}

bool Save(const Canvas& canvas, const fs::path& path)
{
    fs::create_directories(path.parent_path());
    if (canvas.Save(path.string()))
        return true;
    std::fprintf(stderr, "imagegen: cannot write %s\n", path.string().c_str());
    return false;
}

} // namespace

bool MakeLogoArt(const std::string& dataFolder)
{
    const fs::path folder = fs::path(dataFolder) / "images" / "logo";
    std::unique_ptr<FontRasterizer> font = CreateFontRasterizer();
    if (!font->Open(kLogoFace, 136, false, false)) {
        std::fprintf(stderr, "imagegen: cannot open the logo fonts\n");
        return false;
    }
    bool ok = true;
    const wchar_t* names = L"OSTRE";
    for (int i = 0; i < 5; ++i) {
        const Canvas letter = Letter(*font, names[i], kLetterColours[i]);
        const std::string name(1, static_cast<char>(names[i]));
        ok = Save(letter, folder / (name + ".png")) && ok;
        // The letter dips under the ball: turned about its lower left.
        if (names[i] == L'S' || names[i] == L'R')
            ok = Save(Rotated(letter, -9.0f, 12.0f, static_cast<float>(kBaseline)),
                      folder / (name + "_tilt.png")) &&
                 ok;
    }
    ok = Save(Ball(), folder / "ball.png") && ok;
    ok = Save(Trail(), folder / "trail.png") && ok;
    ok = Save(Trademark(), folder / "ostrel_tm.png") && ok;
    return ok;
}
