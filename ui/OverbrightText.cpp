#include "ui/OverbrightText.h"

#include "base/Color.h"
#include "graphics/Graphics.h"
#include "ui/DynamicWidget.h"

#include <algorithm>
#include <cmath>

namespace {

int ToByte(float component)
{
    if (!(component > 0.0f))
        return 0;
    return static_cast<int>(std::min(component, 1.0f) * 255.0f + 0.5f);
}

} // namespace

void DrawOverbrightText(Graphics* g, const DynamicWidget& widget, const std::function<void()>& writePass)
{
    float opacity = widget.GetOpacity();
    float red = widget.GetRed() * opacity;
    float green = widget.GetGreen() * opacity;
    float blue = widget.GetBlue() * opacity;
    float alpha = widget.GetAlpha() * opacity;
    auto overbright = [&] { return red > 1.0f || green > 1.0f || blue > 1.0f; };

    const bool wasBatching = g->IsBatching();
    if (overbright())
        g->SetBatching(true);
    for (int pass = 0; pass < kMaxOverbrightPasses; ++pass) {
        g->SetColor(Color(ToByte(red), ToByte(green), ToByte(blue), ToByte(alpha)));
        writePass();
        if (!overbright())
            break;
        red -= 1.0f;
        green -= 1.0f;
        blue -= 1.0f;
        alpha = 0.0f;
    }
    g->SetBatching(wasBatching);
}
