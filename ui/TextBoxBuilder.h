#pragma once

#include <string>

class Animator;
struct Color;
class CommandReader;
class Graphics;
class ImageSurface;

// The text boxes of "add": word-wrapped text on a plain box or in a frame of
// nine images ("textbox"), and the box stretched between a left, a centre and
// a right image ("textends"). The box becomes the image of a new object, or
// is drawn into the image of the object named by "to".
class TextBoxBuilder
{
public:
    explicit TextBoxBuilder(Animator& animator) : m_animator(animator) {}

    // The text form; textDy shifts the text inside a frame, bottomMargin is
    // added below it.
    void AddTextLabel(int textDy, int bottomMargin);
    // The form with "textends".
    void AddFramedTextBox();

    // A frame of the nine images "<frame>_<column><row>" (columns l, c, r;
    // rows t, c, b) with the text wrapped inside it. A width of 0 or less is
    // 10000; without forceWidth the box shrinks to one line of text that fits.
    // Anchor 0 centres the box on x, 1 puts its right edge there.
    static void DrawNineSliceBox(Graphics& g, const std::wstring& frame, int x, int width, int height,
                                 int anchor, const std::wstring& text, int justification, int textDy,
                                 bool forceWidth);

    // The wrap width of "textends" stops growing here: text that cannot fit
    // (no font, no centre image) ends in one wide box.
    static constexpr int kMaxWrapWidth = 4096;

private:
    // Where the box is drawn: a new surface shown by a new object, or the
    // image of "to" translated so the box lands at (x, y) in the current
    // layer. The Graphics starts translated to the box's corner.
    struct Canvas
    {
        ImageSurface* surface = nullptr;
        float dx = 0.0f;
        float dy = 0.0f;
        bool intoObject = false;
    };
    Canvas PrepareCanvas(int x, int y, int width, int height);
    Canvas PlaceCanvas(CommandReader& reader, int width, int height, Color* color);

    Animator& m_animator;
};
