// The controls sit on the dialogs' dark slate card with its gold rim, so they
// share its colours: slate grooves, gold metal for what the player moves.
#include "ControlArt.h"

#include "Canvas.h"
#include "Look.h"

#include <cstdio>
#include <filesystem>
#include <initializer_list>

using namespace look;

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kShadow = WithAlpha(kBlack, 0x60);
constexpr std::uint32_t kGrooveRim = kInkDeep;
constexpr std::uint32_t kGrooveTop = kInk;
constexpr std::uint32_t kGrooveBottom = kNavy;
constexpr std::uint32_t kGrooveLight = WithAlpha(kWhite, 0x50);
constexpr std::uint32_t kTick = kDusk;
constexpr std::uint32_t kGoldRim = kBark;
constexpr std::uint32_t kGoldTop = kGoldLight;
constexpr std::uint32_t kGoldBottom = kBronze;
constexpr std::uint32_t kGlint = WithAlpha(kWhite, 0xB0);

// A rounded rectangle filled with a vertical gradient, anti-aliased at its
// edge (the shape's coverage weights the gradient).
void FillRoundedGradient(Canvas& canvas, float x, float y, float width, float height, float radius,
                         std::uint32_t top, std::uint32_t bottom)
{
    const int w = static_cast<int>(width) + 2;
    const int h = static_cast<int>(height) + 2;
    Canvas shape(w, h);
    shape.FillRoundedRect(1, 1, width, height, radius, kWhite);
    Canvas gradient(w, h);
    gradient.VerticalGradient(0, 0, w, h, top, bottom);
    const int left = static_cast<int>(x) - 1;
    const int upper = static_cast<int>(y) - 1;
    for (int py = 0; py < h; ++py) {
        for (int px = 0; px < w; ++px) {
            const float coverage = static_cast<float>(shape.GetImage().At(px, py) >> 24) / 255.0f;
            canvas.Blend(left + px, upper + py, gradient.GetImage().At(px, py), coverage);
        }
    }
}

// A recessed groove with a light lip along its lower edge and five ticks.
Canvas MakeTrack()
{
    constexpr int kWidth = 220;
    constexpr int kHeight = 18;
    Canvas track(kWidth, kHeight);
    track.FillRoundedRect(0, 2, kWidth, 16, 8, kGrooveLight);
    track.FillRoundedRect(0, 1, kWidth, 15, 7.5f, kGrooveRim);
    FillRoundedGradient(track, 2, 3, kWidth - 4, 11, 5.5f, kGrooveTop, kGrooveBottom);
    for (int tick = 0; tick <= 4; ++tick) {
        const float x = 12.0f + static_cast<float>(tick) * (kWidth - 24) / 4.0f;
        track.FillCircle(x, 8.5f, 1.6f, kTick);
    }
    return track;
}

// A round gold knob with a shadow, a glint and two engraved grip lines.
Canvas MakeThumb()
{
    constexpr int kSize = 26;
    Canvas thumb(kSize, kSize);
    thumb.FillCircle(13.0f, 14.5f, 11.5f, kShadow);
    thumb.FillCircle(13.0f, 12.5f, 11.0f, kGoldRim);
    FillRoundedGradient(thumb, 3.5f, 2.5f, 19, 19, 9.5f, kGoldTop, kGoldBottom);
    thumb.FillCircle(9.5f, 7.0f, 2.6f, kGlint);
    for (float x : {10.5f, 14.5f}) {
        thumb.FillRoundedRect(x, 8.5f, 1.4f, 8, 0.7f, WithAlpha(kEarth, 0x90));
        thumb.FillRoundedRect(x + 1.4f, 8.5f, 0.8f, 8, 0.4f, WithAlpha(kParchment, 0x60));
    }
    return thumb;
}

// The box in one of its looks: the slate well, a gold rim that brightens
// under the pointer, and a gold tick when checked. The rim is as tall as a
// label's capitals and small letters together and stands on their middle
// (a label's baseline is 22 pixels under the box's top), which leaves a
// dialog's button row, 35 pixels under the last box, clear of it.
Canvas MakeCheckbox(bool checked, bool hovered)
{
    constexpr int kCellWidth = 26;
    constexpr int kCellHeight = 27;
    constexpr float kLeft = 2.0f;
    constexpr float kTop = 4.0f;
    constexpr float kSize = 22.0f;
    // The tick is drawn on a box 28 pixels wide at (1, 1) and scaled to this one.
    constexpr float kScale = kSize / 28.0f;
    Canvas box(kCellWidth, kCellHeight);
    box.FillRoundedRect(kLeft, kTop + 2, kSize, kSize - 1, 6, kShadow);
    box.FillRoundedRect(kLeft, kTop, kSize, kSize, 6, hovered ? kAmber : kBronze);
    FillRoundedGradient(box, kLeft + 2, kTop + 2, kSize - 4, kSize - 4, 4, kGrooveTop, hovered ? kNavy : kGrooveBottom);
    box.StrokeRoundedRect(kLeft + 2.5f, kTop + 2.5f, kSize - 5, kSize - 5, 4, 1.0f, WithAlpha(kWhite, 0x30));
    if (checked) {
        float shadow[] = {7.5f, 16.5f, 10.5f, 13.5f, 13.5f, 17.0f, 22.0f, 8.0f, 25.0f, 11.0f, 13.5f, 23.0f};
        float tick[] = {6.5f, 15.0f, 9.5f, 12.0f, 12.5f, 15.5f, 21.0f, 6.5f, 24.0f, 9.5f, 12.5f, 21.5f};
        for (float* points : {shadow, tick}) {
            for (int i = 0; i < 12; i += 2) {
                points[i] = kLeft + (points[i] - 1.0f) * kScale;
                points[i + 1] = kTop + (points[i + 1] - 1.0f) * kScale;
            }
        }
        box.FillPolygon(shadow, 6, WithAlpha(kBlack, 0x90));
        box.FillPolygon(tick, 6, hovered ? kHoney : kAmber);
    }
    return box;
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

bool MakeControlArt(const std::string& dataFolder)
{
    const fs::path root(dataFolder);
    bool ok = Save(MakeTrack(), root, "slider");
    ok = Save(MakeThumb(), root, "slider_thumb") && ok;
    ok = Save(MakeCheckbox(false, false), root, "checkbox") && ok;
    ok = Save(MakeCheckbox(false, true), root, "checkbox_hover") && ok;
    ok = Save(MakeCheckbox(true, false), root, "checkbox_checked") && ok;
    ok = Save(MakeCheckbox(true, true), root, "checkbox_checked_hover") && ok;
    return ok;
}
