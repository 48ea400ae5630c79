// The options' volume icons are drawn in the gold of the controls; the letter
// is warm paper with a ruled margin, its gold seal a picture apart. The
// dialogs' emblems are small solved boards, as the game's pictures are: a
// question mark over questions, an "i" over notices, and a broken heart over
// a lost puzzle.
#include "DialogArt.h"

#include "Canvas.h"
#include "Look.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

using namespace look;

namespace {

namespace fs = std::filesystem;

constexpr int kEmblemCells = 7;
constexpr float kEmblemTile = 20.0f;
constexpr float kEmblemStep = 24.0f;
constexpr int kEmblemSide = static_cast<int>(kEmblemStep * (kEmblemCells - 1) + kEmblemTile) + 4;

std::uint32_t Darker(std::uint32_t colour, float amount)
{
    auto channel = [&](int shift) {
        return static_cast<std::uint32_t>(std::lround(((colour >> shift) & 0xFFu) * (1.0f - amount))) << shift;
    };
    return (colour & 0xFF000000u) | channel(16) | channel(8) | channel(0);
}

// One tile of a board, lit from the top, with its shadow.
void EmblemTile(Canvas& canvas, float x, float y, std::uint32_t colour)
{
    canvas.FillRoundedRect(x + 1, y + 2, kEmblemTile, kEmblemTile, 4.0f, WithAlpha(kBlack, 0x60));
    canvas.FillRoundedRect(x, y, kEmblemTile, kEmblemTile, 4.0f, Darker(colour, 0.3f));
    canvas.FillRoundedRect(x + 1, y + 1, kEmblemTile - 2, kEmblemTile - 3, 3.5f, colour);
    canvas.FillRoundedRect(x + 3, y + 2, kEmblemTile - 6, 4, 2.0f, WithAlpha(kWhite, 0x60));
}

// A solved board of 7 x 7 cells: '1' a tile, '0' an empty cell; rows from the top.
Canvas MakeEmblem(const char* const (&rows)[kEmblemCells], std::uint32_t colour)
{
    Canvas emblem(kEmblemSide, kEmblemSide);
    for (int row = 0; row < kEmblemCells; ++row) {
        for (int column = 0; column < kEmblemCells; ++column) {
            const float x = 1 + column * kEmblemStep;
            const float y = 1 + row * kEmblemStep;
            if (rows[row][column] == '1')
                EmblemTile(emblem, x, y, colour);
            else
                emblem.FillRoundedRect(x, y, kEmblemTile, kEmblemTile, 4.0f, WithAlpha(kWhite, 0x16));
        }
    }
    return emblem;
}

// The heart of the lost puzzle, broken: along a zigzag down its middle its
// right part has slipped away, down and out.
Canvas MakeLostEmblem()
{
    const char* const heart[kEmblemCells] = {"0110110", "1111111", "1111111", "1111111",
                                             "0111110", "0011100", "0001000"};
    // The last column of each row that stays; the cells right of it slip.
    constexpr int kBreak[kEmblemCells] = {3, 3, 2, 3, 2, 3, 3};
    constexpr float kSlipX = 14.0f;
    constexpr float kSlipY = 10.0f;
    Canvas emblem(kEmblemSide + static_cast<int>(kSlipX), kEmblemSide + static_cast<int>(kSlipY));
    for (int row = 0; row < kEmblemCells; ++row) {
        for (int column = 0; column < kEmblemCells; ++column)
            emblem.FillRoundedRect(1 + column * kEmblemStep, 1 + row * kEmblemStep, kEmblemTile, kEmblemTile, 4.0f,
                                   WithAlpha(kWhite, 0x16));
    }
    for (int row = 0; row < kEmblemCells; ++row) {
        for (int column = 0; column < kEmblemCells; ++column) {
            if (heart[row][column] != '1')
                continue;
            const bool slipped = column > kBreak[row];
            EmblemTile(emblem, 1 + column * kEmblemStep + (slipped ? kSlipX : 0.0f),
                       1 + row * kEmblemStep + (slipped ? kSlipY : 0.0f), slipped ? Darker(kRed, 0.12f) : kRed);
        }
    }
    return emblem;
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
    bool ok = Save(MakeMusicIcon(), root, "icon_music_volume");
    const char* const question[kEmblemCells] = {"0011100", "0110110", "0000110", "0001100",
                                                "0001000", "0000000", "0001000"};
    const char* const information[kEmblemCells] = {"0001000", "0000000", "0011000", "0001000",
                                                   "0001000", "0001000", "0011100"};
    ok = Save(MakeEmblem(question, kAmber), root, "emblem_question") && ok;
    ok = Save(MakeEmblem(information, kSky), root, "emblem_information") && ok;
    ok = Save(MakeLostEmblem(), root, "emblem_lost") && ok;
    ok = Save(MakeSoundIcon(), root, "icon_sound_volume") && ok;
    ok = Save(MakeLetter(), root, "letter") && ok;
    ok = Save(MakeLetterSeal(), root, "letter_seal") && ok;
    return ok;
}
