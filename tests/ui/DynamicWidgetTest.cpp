#include "ui/DynamicWidget.h"

#include "base/Common.h"
#include "graphics/Image.h"
#include "resources/Constants.h"
#include "ui/Clamp.h"
#include "ui/Oscillation.h"
#include "ui/Propeller.h"
#include "ui/Tweener.h"
#include "ui/WidgetManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <vector>

namespace {

constexpr float kKeep = 268435456.0f;

// A wave that holds one value, so an oscillation's offset is its amplitude.
class ConstantWave : public OscillatingCurve
{
public:
    double Value(double) override { return 1.0; }
};

std::unique_ptr<Image> MakeImage(int width, int height, std::uint32_t argb, int rows = 1, int columns = 1)
{
    auto image = std::make_unique<Image>(
        ImageData{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height, argb)});
    image->SetGrid(rows, columns);
    return image;
}

std::unique_ptr<Tweener> Tween(DynamicWidget& widget, const std::wstring& property, float to, float duration,
                               const std::wstring& name = L"")
{
    float* field = widget.GetProperty(property);
    return std::make_unique<Tweener>(&widget, name, nullptr, duration,
                                     std::vector<Tweener::Entry>{{field, *field, to}},
                                     DynamicWidget::GetRefreshKind(property));
}

std::unique_ptr<Oscillation> Swing(DynamicWidget& widget, const std::wstring& property, float amplitude,
                                   const std::wstring& name = L"")
{
    return std::make_unique<Oscillation>(
        &widget, name, std::vector<Oscillation::Entry>{{widget.GetProperty(property), amplitude}}, 0.0, 1.0,
        std::make_unique<ConstantWave>(), DynamicWidget::GetRefreshKind(property));
}

std::unique_ptr<Clamp> Limit(DynamicWidget& widget, const std::wstring& property, float minimum,
                             float maximum, const std::wstring& name = L"")
{
    return std::make_unique<Clamp>(
        &widget, name, std::vector<Clamp::Entry>{{widget.GetProperty(property), minimum, maximum}},
        DynamicWidget::GetRefreshKind(property));
}

void Ticks(DynamicWidget& widget, int count)
{
    for (int i = 0; i < count; ++i)
        widget.UpdateF(1.0f);
}

// The frames shown after each of count ticks of a cycle with rate 1.
std::vector<int> FramesShown(DynamicWidget& widget, int count)
{
    std::vector<int> frames;
    for (int i = 0; i < count; ++i) {
        widget.UpdateF(1.0f);
        frames.push_back(widget.GetFrame());
    }
    return frames;
}

} // namespace

TEST(DynamicWidgetProperties, EveryScriptNameReachesItsOwnField)
{
    DynamicWidget widget(0, 0, nullptr, 1.0f);
    const std::vector<std::wstring> names =
        SplitString(L"x y z angle scale_x scale_y opacity alpha red green blue frame_rate mask_frame_rate "
                    L"abs_clip_x1 abs_clip_y1 abs_clip_x2 abs_clip_y2 rel_clip_x1 rel_clip_y1 rel_clip_x2 "
                    L"rel_clip_y2 clock timer shear_x shear_y shear_x_offset shear_y_offset",
                    L" ");
    std::set<float*> fields;
    for (const std::wstring& name : names)
        fields.insert(widget.GetProperty(name));
    EXPECT_EQ(fields.size(), names.size());
    EXPECT_EQ(fields.count(nullptr), 0u);
    EXPECT_EQ(widget.GetProperty(L"X"), nullptr);
    EXPECT_EQ(widget.GetProperty(L"scale"), nullptr);

    widget.SetProperty(L"x", 12.0f);
    widget.SetProperty(L"x", 3.0f, true);
    EXPECT_EQ(widget.GetX(), 15.0f);
    EXPECT_EQ(DynamicWidget(0, 0, nullptr, -0.5f).GetOpacity(), 0.5f);
}

TEST(DynamicWidgetProperties, ScriptReferencesAndShaderConstantsReadZeroOnceTheWidgetIsGone)
{
    DynamicWidget shaded(0, 0, nullptr, 1.0f);
    auto widget = std::make_unique<DynamicWidget>(0, 0, nullptr, 1.0f);
    widget->SetProperty(L"angle", 30.0f);
    Value angle = widget->GetPropertyReference(L"angle");
    Value self = Value::WidgetReference(widget.get(), widget->GetReferenceAnchor());
    shaded.SetShaderConstant("Offset", angle);
    EXPECT_EQ(angle.ToFloat(), 30.0f);
    EXPECT_EQ(shaded.GetShaderConstant("Offset"), 30.0f);
    EXPECT_EQ(self.GetWidget(), widget.get());
    EXPECT_FALSE(widget->GetPropertyReference(L"nothing").IsReference());

    widget.reset();
    EXPECT_EQ(angle.ToFloat(), 0.0f);
    EXPECT_EQ(angle.GetFloatTarget(), nullptr);
    EXPECT_EQ(self.GetWidget(), nullptr);
    EXPECT_EQ(shaded.GetShaderConstant("Offset"), 0.0f);
    shaded.SetShaderConstant("Offset", Value(L"not a number"));
    EXPECT_EQ(shaded.GetShaderConstant("Offset"), 0.0f);
}

TEST(DynamicWidgetLayers, TweenOscillationAndClampComposeAndUnwindExactly)
{
    DynamicWidget widget(0, 0, nullptr, 1.0f);
    widget.AddController(Tween(widget, L"x", 100.0f, 100.0f));
    widget.AddOscillation(Swing(widget, L"x", 10.0f, L"swing"));
    widget.AddClamp(Limit(widget, L"x", -1000.0f, 105.0f, L"limit"));
    EXPECT_EQ(widget.GetX(), 10.0f);

    Ticks(widget, 1);
    EXPECT_FLOAT_EQ(widget.GetX(), 11.0f);
    Ticks(widget, 99);
    EXPECT_EQ(widget.GetX(), 105.0f);
    EXPECT_FALSE(widget.IsMoving());

    EXPECT_TRUE(widget.RemoveClamp(L"limit"));
    EXPECT_EQ(widget.GetX(), 110.0f);
    EXPECT_TRUE(widget.RemoveOscillation(L"swing"));
    EXPECT_EQ(widget.GetX(), 100.0f);
    EXPECT_FALSE(widget.RemoveOscillation(L"swing"));
}

TEST(DynamicWidgetLayers, WritesWhileLayeredSurviveTheNextTick)
{
    DynamicWidget widget(0, 0, nullptr, 1.0f);
    widget.AddClamp(Limit(widget, L"y", 0.0f, 50.0f));
    widget.SetProperty(L"y", 80.0f);
    EXPECT_EQ(widget.GetY(), 50.0f);
    widget.SetProperty(L"y", 30.0f);
    Ticks(widget, 1);
    EXPECT_EQ(widget.GetY(), 30.0f);

    widget.AddOscillation(Swing(widget, L"x", 5.0f));
    EXPECT_EQ(widget.GetX(), 5.0f);
    // A plain move bypasses the property path; it still becomes the base value.
    widget.Move(200.0f, widget.GetY());
    Ticks(widget, 1);
    EXPECT_EQ(widget.GetX(), 205.0f);
    widget.ClearOscillations();
    EXPECT_EQ(widget.GetX(), 200.0f);
}

TEST(DynamicWidgetLayers, ReusedNamesReplaceTheOldEntryAndRemovalWithoutUndoKeepsTheEffect)
{
    DynamicWidget widget(0, 0, nullptr, 1.0f);
    widget.AddOscillation(Swing(widget, L"x", 10.0f, L"same"));
    widget.AddOscillation(Swing(widget, L"x", 3.0f, L"same"));
    EXPECT_EQ(widget.GetX(), 3.0f);
    widget.AddClamp(Limit(widget, L"y", 5.0f, 6.0f, L"range"));
    widget.AddClamp(Limit(widget, L"y", -5.0f, 6.0f, L"range"));
    EXPECT_EQ(widget.GetY(), 0.0f);
    widget.SetProperty(L"y", 9.0f);
    widget.RemoveOscillation(L"same", false);
    widget.RemoveClamp(L"range", false);
    Ticks(widget, 2);
    EXPECT_EQ(widget.GetX(), 3.0f);
    EXPECT_EQ(widget.GetY(), 6.0f);

    widget.AddController(Tween(widget, L"z", 10.0f, 100.0f, L"move"));
    widget.AddController(Tween(widget, L"z", 10.0f, 2.0f, L"move"));
    EXPECT_EQ(widget.GetRunningControllerCount(), 1);
    Ticks(widget, 2);
    EXPECT_FALSE(widget.IsMoving());
    EXPECT_EQ(widget.GetZ(), 10.0f);
}

TEST(DynamicWidgetMotion, UncountedControllersDoNotKeepTheWidgetMoving)
{
    DynamicWidget widget(0, 0, nullptr, 1.0f);
    widget.AddController(std::make_unique<Propeller>(
        &widget, L"push", nullptr, 0.0f, 1.0f,
        std::vector<Propeller::Entry>{{widget.GetProperty(L"x"), 2.0f}}, RefreshKind::Redraw));
    EXPECT_FALSE(widget.IsMoving());
    Ticks(widget, 3);
    EXPECT_EQ(widget.GetX(), 6.0f);
    EXPECT_TRUE(widget.StopController(L"push"));
    EXPECT_EQ(widget.FindController(L"push"), nullptr);
}

TEST(DynamicWidgetMotion, AsksForTicksOnlyWhileSomethingMoves)
{
    WidgetManager manager(nullptr);
    DynamicWidget widget(0, 0, nullptr, 1.0f);
    widget.SetDeleteWhenRemoved(false);
    manager.AddWidget(&widget);
    auto tick = [&manager] {
        manager.UpdateFrame();
        manager.UpdateFrameF(1.0f);
        return manager.AreTicksWanted();
    };
    EXPECT_FALSE(tick());

    widget.AddController(Tween(widget, L"x", 10.0f, 3.0f));
    EXPECT_TRUE(manager.AreTicksWanted());
    EXPECT_TRUE(tick());
    EXPECT_TRUE(tick());
    tick();
    EXPECT_EQ(widget.GetX(), 10.0f);
    EXPECT_FALSE(tick());

    widget.Flash(2, 1, 0);
    EXPECT_TRUE(tick());
    for (int i = 0; i < 4; ++i)
        tick();
    EXPECT_FALSE(tick());
    manager.RemoveWidget(&widget);
}

TEST(DynamicWidgetMotion, WhenDoneActionsFireOnceAtTheEndOfMotion)
{
    WidgetContainer parent;
    DynamicWidget widget(0, 0, nullptr, 1.0f);
    widget.SetDeleteWhenRemoved(false);
    parent.AddWidget(&widget);
    widget.AddController(Tween(widget, L"x", 10.0f, 3.0f));
    widget.SetRecursiveTransform(true);
    widget.SetHideWhenDone(true);
    widget.SetEndRecursiveWhenDone(true);
    Ticks(widget, 2);
    EXPECT_TRUE(widget.IsVisible());
    EXPECT_TRUE(widget.GetRecursiveTransform());
    Ticks(widget, 1);
    EXPECT_FALSE(widget.IsVisible());
    EXPECT_FALSE(widget.GetRecursiveTransform());

    widget.SetVisible(true);
    Ticks(widget, 1);
    EXPECT_TRUE(widget.IsVisible());

    // Removal ends the step: the hide waiting behind it does not run.
    widget.AddController(Tween(widget, L"x", 0.0f, 1.0f));
    widget.SetRemoveWhenDone(true);
    widget.SetHideWhenDone(true);
    EXPECT_TRUE(parent.HasChild(&widget));
    Ticks(widget, 1);
    EXPECT_FALSE(parent.HasChild(&widget));
    EXPECT_TRUE(widget.IsVisible());

    // A still widget is removed at once.
    parent.AddWidget(&widget);
    widget.SetRemoveWhenDone(true);
    EXPECT_FALSE(parent.HasChild(&widget));
}

TEST(DynamicWidgetMotion, HopArrivesAndPeaksWithinItsBounds)
{
    for (float targetY : {300.0f, 100.0f, 20.0f}) {
        DynamicWidget widget(0, 100, nullptr, 1.0f);
        widget.HopTo(100.0f, targetY, -50, -150, 40);
        float highest = widget.GetY();
        for (int tick = 0; tick < 40; ++tick) {
            widget.UpdateF(1.0f);
            highest = std::min(highest, widget.GetY());
        }
        EXPECT_FALSE(widget.IsMoving()) << targetY;
        EXPECT_NEAR(widget.GetX(), 100.0f, 1e-3f);
        EXPECT_NEAR(widget.GetY(), targetY, 1e-3f);
        // The apex rises 50 above the higher end, within a tick's travel.
        EXPECT_NEAR(highest, std::min(100.0f, targetY) - 50.0f, 1.0f) << targetY;
    }

    DynamicWidget still(0, 0, nullptr, 1.0f);
    still.HopTo(100.0f, 0.0f, 0, 0, 40);
    still.HopTo(100.0f, 0.0f, -50, -50, 0);
    EXPECT_FALSE(still.IsMoving());
}

TEST(DynamicWidgetFrames, CyclesCountRepeatsStayInTheImageAndStopOnTheirLastFrame)
{
    struct Case
    {
        int last, repeats, first, mode;
        std::vector<int> frames;
    };
    const Case cases[] = {
        {3, 2, 0, 1, {1, 2, 3, 0, 1, 2, 3, 3, 3}}, // forward
        {3, 2, 0, 0, {1, 2, 3, 2, 1, 0, 0, 0}},    // ping-pong
        {-1, 1, 1, -1, {2, 1, 1, 1}},              // backward from the last frame
        {12, 1, -5, 1, {1, 2, 3, 3}},              // ends beyond the image
    };
    auto image = MakeImage(40, 10, 0xFF000000, 1, 4);
    for (const Case& c : cases) {
        DynamicWidget widget(0, 0, image.get(), 1.0f);
        widget.StartCycle(0, c.last, 1.0f, c.repeats, c.first, 0.0f, c.mode);
        EXPECT_EQ(FramesShown(widget, static_cast<int>(c.frames.size())), c.frames) << c.mode;
        EXPECT_FALSE(widget.IsMoving()) << c.mode;
    }

    // Stopping a cycle through its rate ends the motion even with repeats left.
    DynamicWidget widget(0, 0, image.get(), 1.0f);
    widget.StartCycle(0, 3, 1.0f, 5);
    widget.SetProperty(L"frame_rate", 0.0f);
    EXPECT_FALSE(widget.IsMoving());
}

TEST(DynamicWidgetFrames, RandomCyclesEndAndNeverSpin)
{
    SeedRandom(7);
    auto image = MakeImage(40, 10, 0xFF000000, 1, 4);
    DynamicWidget widget(0, 0, image.get(), 1.0f);
    widget.StartCycle(0, 3, 1.0f, 2, 0, 0.0f, 2);
    int previous = widget.GetFrame();
    for (int tick = 0; tick < 8; ++tick) {
        widget.UpdateF(1.0f);
        EXPECT_NE(widget.GetFrame(), previous);
        previous = widget.GetFrame();
    }
    EXPECT_FALSE(widget.IsMoving());

    DynamicWidget single(0, 0, image.get(), 1.0f);
    single.StartCycle(0, 2, 1.0f, 1, 2, 0.0f, 2);
    Ticks(single, 3);
    EXPECT_EQ(single.GetFrame(), 2);
    EXPECT_FALSE(single.IsMoving());

    // A rate lost in the rounding of the cycle's time must not spin forever.
    DynamicWidget tiny(0, 0, image.get(), 1.0f);
    tiny.StartCycle(0, 3, 1e-9f, 0, 0, 1.0f);
    tiny.UpdateF(1.0f);
    EXPECT_GE(tiny.GetFrame(), 0);
    EXPECT_LE(tiny.GetFrame(), 3);
}

TEST(DynamicWidgetFrames, FrameNumbersStayWithinTheImage)
{
    auto image = MakeImage(40, 10, 0xFF000000, 1, 4);
    DynamicWidget widget(0, 0, image.get(), 1.0f);
    widget.SetFrame(9);
    EXPECT_EQ(widget.GetFrame(), 3);
    widget.SetFrame(-2);
    EXPECT_EQ(widget.GetFrame(), 0);
    widget.SetMaskFrame(4);
    EXPECT_EQ(widget.GetMaskFrame(), 0);

    auto small = MakeImage(10, 10, 0xFF000000);
    widget.SetFrame(3);
    widget.SetImage(small.get());
    EXPECT_EQ(widget.GetFrame(), 0);
    EXPECT_EQ(widget.GetWidth(), 10);
    widget.SetImage(nullptr);
    widget.StartCycle(0, -1, 1.0f, 1);
    Ticks(widget, 2);
    EXPECT_EQ(widget.GetFrame(), 0);
}

TEST(DynamicWidgetBlinking, FlashBlinksForItsRepeatsAndEndsVisible)
{
    DynamicWidget widget(0, 0, nullptr, 1.0f);
    widget.Flash(2, 2, 0);
    std::vector<bool> shown;
    for (int tick = 0; tick < 9; ++tick) {
        widget.Update();
        shown.push_back(widget.IsVisible());
    }
    EXPECT_EQ(shown, (std::vector<bool>{true, false, false, true, true, false, false, true, true}));
    EXPECT_FALSE(widget.IsMoving());

    widget.Flash(0, 3, 0);
    EXPECT_TRUE(widget.IsVisible());
    EXPECT_FALSE(widget.IsMoving());
}

TEST(DynamicWidgetTimer, NestedTimersCompoundAndZeroFreezes)
{
    WidgetManager manager(nullptr);
    DynamicWidget parent(0, 0, nullptr, 1.0f);
    DynamicWidget child(0, 0, nullptr, 1.0f);
    parent.SetDeleteWhenRemoved(false);
    child.SetDeleteWhenRemoved(false);
    manager.AddWidget(&parent);
    parent.AddWidget(&child);
    parent.SetProperty(L"timer", 0.5f);
    child.SetProperty(L"timer", 2.0f);
    manager.UpdateFrameF(1.0f);
    EXPECT_EQ(parent.GetClock(), 0.5f);
    EXPECT_EQ(child.GetClock(), 1.0f);

    parent.SetProperty(L"timer", 0.0f);
    child.AddController(Tween(child, L"x", 10.0f, 1.0f));
    manager.UpdateFrameF(1.0f);
    EXPECT_EQ(child.GetClock(), 1.0f);
    EXPECT_EQ(child.GetX(), 0.0f);
    EXPECT_TRUE(child.IsMoving());
    parent.RemoveWidget(&child);
    manager.RemoveWidget(&parent);
}

TEST(DynamicWidgetTransform, RotationAboutAKeptPivotAndRoundTrips)
{
    DynamicWidget widget(50, 40, nullptr, 1.0f);
    widget.Resize(50.0f, 40.0f, 20, 10);
    widget.SetRecursiveTransform(true);
    widget.SetCenter(0.0f, 0.0f, kKeep);
    widget.SetProperty(L"angle", 90.0f);
    // Clockwise on screen about the top-left corner: the right end of the top
    // edge swings down below the corner.
    Vector4 moved = widget.LocalToParent({20.0f, 0.0f, 1.0f, 1.0f});
    EXPECT_NEAR(moved.x, 50.0f, 1e-4f);
    EXPECT_NEAR(moved.y, 60.0f, 1e-4f);

    widget.SetProperty(L"scale_x", 1.5f);
    widget.SetProperty(L"shear_x", 0.25f);
    widget.Flip(true);
    Vector4 point{7.0f, 3.0f, 1.0f, 1.0f};
    Vector4 back = widget.ParentToLocal(widget.LocalToParent(point));
    EXPECT_NEAR(back.x, 7.0f, 1e-4f);
    EXPECT_NEAR(back.y, 3.0f, 1e-4f);

    // Kept centre coordinates: pivot (20, 0) turns the origin to (40, 0), with
    // a zero rotation axis too.
    DynamicWidget turned(0, 0, nullptr, 1.0f);
    turned.Resize(0.0f, 0.0f, 20, 10);
    turned.SetRecursiveTransform(true);
    turned.SetProperty(L"angle", 180.0f);
    turned.SetCenter(0.0f, 0.0f, 0.0f);
    turned.SetCenter(20.0f, kKeep, kKeep);
    turned.SetRotationAxis(0.0f, 0.0f, 0.0f);
    moved = turned.LocalToParent({0.0f, 0.0f, 1.0f, 1.0f});
    EXPECT_NEAR(moved.x, 40.0f, 1e-4f);
    EXPECT_NEAR(moved.y, 0.0f, 1e-4f);
}

TEST(DynamicWidgetTransform, ShearMovesLinesByTheirDistanceFromTheFixedLine)
{
    DynamicWidget widget(0, 0, nullptr, 1.0f);
    widget.Resize(0.0f, 0.0f, 20, 10);
    widget.SetRecursiveTransform(true);
    widget.SetProperty(L"shear_x", 1.0f);
    // Offsets count from the centre: the bottom edge is fixed here.
    widget.SetProperty(L"shear_y_offset", 5.0f);
    Vector4 bottom = widget.LocalToParent({4.0f, 10.0f, 1.0f, 1.0f});
    Vector4 top = widget.LocalToParent({4.0f, 0.0f, 1.0f, 1.0f});
    EXPECT_NEAR(bottom.x, 4.0f, 1e-4f);
    EXPECT_NEAR(top.x, -6.0f, 1e-4f);
    EXPECT_NEAR(top.y, 0.0f, 1e-4f);
}

TEST(DynamicWidgetHitTest, PixelsThroughTheInverseTransform)
{
    SetConstant(L"opacity_threshold", Value(100));
    ImageData data;
    data.width = 20;
    data.height = 10;
    data.pixels.assign(200, 0);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x)
            data.pixels[y * 20 + x] = 0xFF102030;
    }
    data.pixels[15] = 0x64FFFFFF; // alpha 100: equal to the threshold
    data.pixels[16] = 0x65FFFFFF;
    Image image(std::move(data));
    DynamicWidget widget(0, 0, &image, 1.0f);

    EXPECT_TRUE(widget.HitTest(2.0f, 5.0f));
    EXPECT_FALSE(widget.HitTest(12.0f, 5.0f));
    EXPECT_FALSE(widget.HitTest(15.0f, 0.0f));
    EXPECT_TRUE(widget.HitTest(16.0f, 0.0f));
    EXPECT_FALSE(widget.HitTest(-0.5f, 5.0f));
    EXPECT_FALSE(widget.HitTest(20.0f, 5.0f));

    widget.Flip(false);
    EXPECT_FALSE(widget.HitTest(2.0f, 5.0f));
    EXPECT_TRUE(widget.HitTest(17.0f, 5.0f));
    widget.Flip(false);

    widget.SetCenter(0.0f, 0.0f, kKeep);
    widget.SetProperty(L"angle", 90.0f);
    // The opaque half turns to the left of the pivot.
    EXPECT_TRUE(widget.HitTest(-5.0f, 5.0f));
    EXPECT_FALSE(widget.HitTest(5.0f, 5.0f));

    widget.SetProperty(L"angle", 0.0f);
    widget.SetProperty(L"rel_clip_x1", 4.0f);
    EXPECT_FALSE(widget.HitTest(2.0f, 5.0f));
    widget.SetPixelHitTest(false);
    EXPECT_TRUE(widget.HitTest(12.0f, 5.0f));
    SetConstant(L"opacity_threshold", Value(0));
}

TEST(DynamicWidgetHitTest, ChildOfAnOffsetClippingWidgetIsFound)
{
    auto image = MakeImage(10, 10, 0xFFFFFFFF);
    WidgetManager manager(nullptr);
    DynamicWidget holder(100, 100, nullptr, 1.0f);
    holder.Resize(100.0f, 100.0f, 50, 50);
    holder.SetClipChildren(true);
    DynamicWidget child(10, 10, image.get(), 1.0f);
    child.SetMouseVisible(true);
    holder.SetDeleteWhenRemoved(false);
    child.SetDeleteWhenRemoved(false);
    manager.AddWidget(&holder);
    holder.AddWidget(&child);

    float localX = 0.0f;
    float localY = 0.0f;
    EXPECT_EQ(manager.GetWidgetAt(115.0f, 115.0f, &localX, &localY), &child);
    EXPECT_EQ(localX, 5.0f);
    EXPECT_EQ(manager.GetWidgetAt(95.0f, 115.0f, nullptr, nullptr), nullptr);

    // A scaled holder covers its box about its centre.
    holder.SetProperty(L"scale_x", 0.5f);
    EXPECT_TRUE(holder.Contains(12, 0));
    EXPECT_FALSE(holder.Contains(11, 0));
    EXPECT_FALSE(holder.Contains(38, 0));
    holder.RemoveWidget(&child);
    manager.RemoveWidget(&holder);
}
