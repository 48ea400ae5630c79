#include "ControlsFixture.h"

#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "graphics/Image.h"
#include "resources/Assets.h"
#include "support/AppHarness.h"
#include "ui/ButtonListener.h"
#include "ui/ButtonWidget.h"
#include "ui/HyperlinkWidget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// Each script appends its event and the variable it should already see.
const char* const kScripts = R"(
  <animation name="probe_hover"><assign name="'log'" value="log + 'probe_hover:' + mouse_over + ' '"/></animation>
  <animation name="button_down"><assign name="'log'" value="log + 'down:' + mouse_down + ' '"/></animation>
  <animation name="button_up"><assign name="'log'" value="log + 'up:' + mouse_down + ' '"/></animation>
  <animation name="button_disabled"><assign name="'log'" value="log + 'disabled:' + disabled + ' '"/></animation>
)";

// Hears presses as the screens do, noting the button's state at that moment.
class PressListener : public ButtonListener
{
public:
    void ButtonPress(int) override { statesAtPress.push_back(button->GetState()); }
    ButtonWidget* button = nullptr;
    std::vector<int> statesAtPress;
};

class ButtonWidgetTest : public AppTest
{
protected:
    // The application's sounds are recorded, not played.
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = AppHarnessOptions::WithGameData();
        options.readPixels = true;
        options.makeApp = [] { return std::make_unique<ControlsApp>(); };
        return options;
    }
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(Harness().RunUntilLoaded());
        ASSERT_TRUE(Harness().LoadScripts(kScripts));
        Played().clear();
    }
    std::vector<int>& Played() { return static_cast<ControlsApp&>(App()).played; }

    ButtonWidget* AddButton(const std::wstring& style, int x = 100, int y = 100)
    {
        auto* button = new ButtonWidget(x, y, style, L"Play", false);
        button->SetVariable(L"log", Value(std::wstring()));
        Manager().AddWidget(button);
        return button;
    }
    static std::wstring Log(ButtonWidget* button) { return button->FindVariable(L"log")->ToString(); }
};

TEST_F(ButtonWidgetTest, StyleScriptsFallBackAndSeeTheNewPointerState)
{
    ButtonWidget* probe = AddButton(L"probe");
    for (int state = 0; state < ButtonWidget::StateCount; ++state)
        probe->SetFont(GetFont(L"button"), state);
    PressListener listener;
    listener.button = probe;
    probe->SetButtonListener(&listener);
    ButtonWidget* plain = AddButton(L"", 100, 300);

    Harness().MouseMove(105, 105);
    Harness().MouseDown(105, 105);
    Harness().MouseUp(105, 105);
    EXPECT_EQ(Log(probe), L"probe_hover:true down:true up:false ");
    // The listener is told last, when the state is already the pressed one.
    EXPECT_EQ(listener.statesAtPress, std::vector<int>{ButtonWidget::Pressed});

    Harness().Click(105, 305);
    EXPECT_EQ(Log(plain), L"");
}

TEST_F(ButtonWidgetTest, SoundsOnlyForSingleClicksOfEnabledButtonsWithLoadedSounds)
{
    ButtonWidget* button = AddButton(L"probe");
    const int highlight = GetSoundId(L"Highlight");
    const int press = GetSoundId(L"Button");
    ASSERT_GE(highlight, 0);
    Harness().MouseMove(105, 105);
    Harness().MouseDown(105, 105);
    Harness().MouseUp(105, 105);
    EXPECT_EQ(Played(), (std::vector<int>{highlight, press}));

    // A double click is no press: no sound, no script, not held down.
    Harness().MouseDown(105, 105, 2);
    EXPECT_FALSE(button->IsDown());
    EXPECT_TRUE(Log(button).ends_with(L"up:false "));
    Harness().MouseUp(105, 105, 2);

    Harness().MouseMove(5, 5);
    button->SetHoverSoundId(-1);
    Harness().MouseMove(105, 105);
    button->SetDisabled(true);
    Harness().MouseMove(5, 5);
    Harness().MouseMove(105, 105);
    EXPECT_EQ(Played().size(), 2u);
}

TEST_F(ButtonWidgetTest, StateFontsFollowThePointerAndDisablingShowsAtOnce)
{
    Font* large = GetFont(L"large");
    ButtonWidget* onlyNormal = AddButton(L"probe");
    Harness().MouseMove(105, 105);
    Harness().MouseDown(105, 105);
    EXPECT_EQ(onlyNormal->GetState(), ButtonWidget::Normal);
    Harness().MouseUp(105, 105);

    ButtonWidget* button = AddButton(L"probe", 400, 100);
    button->SetFont(large, ButtonWidget::Over);
    button->SetFont(large, ButtonWidget::Disabled);
    Harness().MouseMove(405, 105);
    EXPECT_EQ(button->GetState(), ButtonWidget::Over);
    EXPECT_EQ(button->GetLabelFont()->GetHeight(), large->GetHeight());
    Harness().MouseMove(5, 5);
    EXPECT_EQ(button->GetState(), ButtonWidget::Normal);
    // The disabled look is there as soon as the script hears of it.
    button->SetDisabled(true);
    EXPECT_EQ(button->GetState(), ButtonWidget::Disabled);
    EXPECT_TRUE(Log(button).ends_with(L"disabled:true "));

    // A link without a font measures nothing and draws nothing.
    auto* link = new HyperlinkWidget(nullptr);
    link->SetFont(nullptr);
    link->SetLabel(L"Visit the harbour");
    link->CenterAt(300, 200, 200);
    EXPECT_EQ(link->GetWidth(), 0);
    Manager().AddWidget(link);
    Harness().Redraw();
    link->SetFont(large);
    link->CenterAt(300, 200, 120);
    EXPECT_GT(link->GetHeight(), large->GetLineSpacing());
    EXPECT_NEAR(link->GetX() + link->GetWidth() / 2.0f, 300.0f, 1.0f);
}

// The face of each row and the label, which the pressed button shifts by a
// pixel. The frame stands for what the style's scripts pick.
TEST_F(ButtonWidgetTest, FourStatesShowTheirRowAndTheLabel)
{
    Image* art = GetImage(L"button");
    ASSERT_NE(art, nullptr);
    auto* button = new ButtonWidget(400, 300, L"button", L"OK", false);
    Manager().AddWidget(button);
    // As large as a cell of its picture.
    const int width = art->GetCellWidth();
    ASSERT_EQ(button->GetWidth(), width);
    ASSERT_EQ(button->GetHeight(), 48);

    // The face colour below the label, and the label's top-left corner.
    struct Look
    {
        std::uint32_t face;
        int labelLeft = 1 << 16;
        int labelTop = 48;
    };
    auto look = [&](int frame) {
        button->SetFrame(frame);
        Harness().Redraw();
        Look seen{Harness().ScreenPixel(420, 336)};
        std::vector<std::uint32_t> pixels = Harness().ScreenPixels(400, 300, width, 48);
        for (int i = 0; i < width * 48; ++i) {
            if ((pixels[static_cast<std::size_t>(i)] & 0xF0F0F0u) == 0xF0F0F0u) {
                seen.labelLeft = std::min(seen.labelLeft, i % width);
                seen.labelTop = std::min(seen.labelTop, i / width);
            }
        }
        return seen;
    };
    auto near = [](std::uint32_t a, std::uint32_t b) {
        return std::abs(static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF)) <= 3 &&
               std::abs(static_cast<int>((a >> 8) & 0xFF) - static_cast<int>((b >> 8) & 0xFF)) <= 3;
    };

    Harness().MouseMove(5, 5);
    const Look normal = look(0);
    Harness().MouseMove(500, 320);
    const Look over = look(1);
    Harness().MouseDown(500, 320);
    const Look pressed = look(2);
    Harness().MouseUp(500, 320);
    button->SetDisabled(true);
    const Look disabled = look(3);
    Harness().SaveScreen(::testing::TempDir() + "button_states.png");

    const Look looks[] = {normal, over, pressed, disabled};
    for (int state = 0; state < 4; ++state) {
        SCOPED_TRACE(state);
        EXPECT_TRUE(near(looks[state].face, art->GetPixel(20, 36, state))) << std::hex << looks[state].face;
        EXPECT_LT(looks[state].labelLeft, width / 2);
    }
    EXPECT_EQ(over.labelLeft, normal.labelLeft);
    EXPECT_EQ(pressed.labelLeft, normal.labelLeft + 1);
    EXPECT_EQ(pressed.labelTop, normal.labelTop + 1);
}

} // namespace
