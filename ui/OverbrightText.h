#pragma once

#include <functional>

class DynamicWidget;
class Graphics;

// Writes text in a widget's colour the way labels and counters do: red, green
// and blue above 1 (after the opacity) add light in further passes at alpha 0,
// each pass taking 1 off every component. The passes are capped: a pass adds
// at most full white, so more than a few change nothing on screen.
void DrawOverbrightText(Graphics* g, const DynamicWidget& widget, const std::function<void()>& writePass);

// The most passes one text is written in.
constexpr int kMaxOverbrightPasses = 4;
