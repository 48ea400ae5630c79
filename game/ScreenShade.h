#pragma once

class Graphics;
class Widget;

// Darkens the whole screen behind a dialog: the widget draws at its
// own position, so the shade starts at minus that position.
void ShadeScreen(Graphics* g, const Widget& dialog);
