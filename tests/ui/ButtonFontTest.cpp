#include "RecordingWidget.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "ui/ButtonWidget.h"

#include <gtest/gtest.h>

namespace {

// Without the "button" font a label falls back to a small system font, which
// the button owns: the leak check of this test finds it freed.
TEST(ButtonFontTest, TheFallbackLabelFontBelongsToTheButton)
{
    StandInHost host;
    auto* button = new ButtonWidget(0, 0, L"", L"Play", false);
    ASSERT_EQ(button->GetLabelFont(), nullptr);
    Graphics measuring;
    button->Draw(&measuring);
    ASSERT_NE(button->GetLabelFont(), nullptr);
    EXPECT_GT(button->GetLabelFont()->StringWidth(L"Play"), 0);
    delete button;
}

} // namespace
