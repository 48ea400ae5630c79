// The options panel repeats the look of the plain dialog (slate card, gold
// rim, lighter title band) at the height its rows need; the icons are drawn
// in the gold of the controls; the letter is warm paper with a ruled margin, its gold seal a picture apart.
#include "DialogArt.h"

#include "Canvas.h"
#include "Look.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

using namespace look;

namespace {

namespace fs = std::filesystem;

Canvas MakeOptionsPanel()
{
    constexpr int kWidth = 600;
    constexpr int kHeight = 600;
    Canvas panel(kWidth, kHeight);
    for (int spread = 8; spread >= 1; --spread) {
        const float inset = static_cast<float>(8 - spread);
        panel.FillRoundedRect(inset, inset + 4, kWidth - 2 * inset, kHeight - 2 * inset - 4, 26,
                              WithAlpha(kBlack, 0x0C));
    }
    panel.FillRoundedRect(8, 6, kWidth - 16, kHeight - 18, 22, kGold);
    panel.FillRoundedRect(11, 9, kWidth - 22, kHeight - 24, 19, kInk);
    Canvas body(kWidth - 22, kHeight - 24);
    body.VerticalGradient(0, 0, kWidth - 22, kHeight - 24, kNavy, kInk);
    Canvas mask(kWidth - 22, kHeight - 24);
    mask.FillRoundedRect(0, 0, kWidth - 22, kHeight - 24, 19, kWhite);
    for (int y = 0; y < body.GetHeight(); ++y) {
        for (int x = 0; x < body.GetWidth(); ++x) {
            const float coverage = static_cast<float>(mask.GetImage().At(x, y) >> 24) / 255.0f;
            panel.Blend(11 + x, 9 + y, body.GetImage().At(x, y), coverage);
        }
    }
    panel.FillRoundedRect(24, 22, kWidth - 48, 64, 14, kDusk);
    panel.FillRect(40, 92, kWidth - 80, 2, WithAlpha(kGold, 0x80));
    // Separators between the volumes, the options and the buttons.
    panel.FillRect(60, 228, kWidth - 120, 1, WithAlpha(kGold, 0x50));
    panel.FillRect(60, 500, kWidth - 120, 1, WithAlpha(kGold, 0x50));
    panel.StrokeRoundedRect(16, 14, kWidth - 32, kHeight - 34, 16, 1.0f, WithAlpha(kHoney, 0x60));
    return panel;
}

// A pair of quavers joined by a beam.
Canvas MakeMusicIcon()
{
    Canvas icon(36, 36);
    for (int pass = 0; pass < 2; ++pass) {
        const float dy = pass == 0 ? 1.5f : 0.0f;
        const std::uint32_t colour = pass == 0 ? WithAlpha(kBlack, 0x80) : kAmber;
        icon.FillCircle(10.0f, 27.0f + dy, 5.0f, colour);
        icon.FillCircle(26.0f, 24.0f + dy, 5.0f, colour);
        icon.FillRect(13, static_cast<int>(7 + dy), 2, 20, colour);
        icon.FillRect(29, static_cast<int>(4 + dy), 2, 20, colour);
        const float beam[] = {13.0f, 7.0f + dy, 31.0f, 3.0f + dy, 31.0f, 8.0f + dy, 13.0f, 12.0f + dy};
        icon.FillPolygon(beam, 4, colour);
    }
    return icon;
}

// A speaker with two sound waves.
Canvas MakeSoundIcon()
{
    Canvas icon(36, 36);
    for (int pass = 0; pass < 2; ++pass) {
        const float dy = pass == 0 ? 1.5f : 0.0f;
        const std::uint32_t colour = pass == 0 ? WithAlpha(kBlack, 0x80) : kAmber;
        const float body[] = {4.0f,  13.0f + dy, 10.0f, 13.0f + dy, 18.0f, 5.0f + dy,
                              18.0f, 31.0f + dy, 10.0f, 23.0f + dy, 4.0f,  23.0f + dy};
        icon.FillPolygon(body, 6, colour);
        for (float radius : {6.0f, 11.0f}) {
            for (int step = -9; step <= 9; ++step) {
                const float angle = static_cast<float>(step) * 0.085f;
                icon.FillCircle(20.0f + radius * std::cos(angle), 18.0f + dy + radius * std::sin(angle), 1.3f,
                                colour);
            }
        }
    }
    return icon;
}

// Cream paper with a shaded edge and a ruled margin.
Canvas MakeLetter()
{
    constexpr int kWidth = 640;
    constexpr int kHeight = 620;
    Canvas letter(kWidth, kHeight);
    letter.FillRoundedRect(6, 10, kWidth - 10, kHeight - 12, 10, WithAlpha(kBlack, 0x50));
    letter.FillRoundedRect(2, 2, kWidth - 10, kHeight - 12, 8, kSand);
    letter.FillRoundedRect(8, 8, kWidth - 22, kHeight - 24, 6, kParchment);
    // A ruled margin down the left.
    letter.FillRect(28, 30, 1, kHeight - 66, WithAlpha(kBark, 0x40));
    return letter;
}

// The letter's gold seal, a picture of its own so that the story can set it
// under the signature once the writing has appeared.
Canvas MakeLetterSeal()
{
    constexpr float kCentre = 28.0f;
    Canvas seal(56, 56);
    seal.FillCircle(kCentre, kCentre + 2, 26.0f, kGoldDark);
    seal.FillCircle(kCentre, kCentre, 23.0f, kGold);
    seal.FillCircle(kCentre, kCentre, 15.0f, kBronze);
    seal.FillCircle(kCentre - 7, kCentre - 8, 4.0f, WithAlpha(kWhite, 0x90));
    return seal;
}

bool Save(const Canvas& canvas, const fs::path& root, const std::string& name)
{
    const fs::path path = root / "images" / "ui" / (name + ".png");
    fs::create_directories(path.parent_path());
    if (canvas.Save(path.string()))
        return true;
    std::fprintf(stderr, "imagegen: cannot write %s\n", path.string().c_str());
    return false;
}

} // namespace

bool MakeDialogArt(const std::string& dataFolder)
{
    const fs::path root(dataFolder);
    bool ok = Save(MakeOptionsPanel(), root, "options_dialog");
    ok = Save(MakeMusicIcon(), root, "icon_music_volume") && ok;
    ok = Save(MakeSoundIcon(), root, "icon_sound_volume") && ok;
    ok = Save(MakeLetter(), root, "letter") && ok;
    ok = Save(MakeLetterSeal(), root, "letter_seal") && ok;
    return ok;
}
