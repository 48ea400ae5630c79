#include "ui/TextBoxBuilder.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "resources/Assets.h"
#include "ui/Animator.h"
#include "ui/CommandReader.h"
#include "ui/DynamicWidget.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kCopyMode = 7;

// The images of a nine-part frame, [column][row] with l/c/r and t/c/b.
struct FramePieces
{
    std::array<std::array<Image*, 3>, 3> images{};

    explicit FramePieces(const std::wstring& frame)
    {
        const wchar_t* letters = L"lcr";
        const wchar_t* rows = L"tcb";
        for (int column = 0; column < 3; ++column) {
            for (int row = 0; row < 3; ++row)
                images[column][row] = GetImage(frame + L"_" + letters[column] + rows[row]);
        }
    }
    static int Width(Image* image) { return image != nullptr ? image->GetWidth() : 0; }
    static int Height(Image* image) { return image != nullptr ? image->GetHeight() : 0; }
    int ColumnWidth(int column) const
    {
        return std::max({Width(images[column][0]), Width(images[column][1]), Width(images[column][2])});
    }
};

void DrawStretched(Graphics& g, Image* image, int x, int y, int width, int height)
{
    if (image == nullptr || width <= 0 || height <= 0)
        return;
    g.DrawImage(image, Rect{x, y, width, height}, Rect{0, 0, image->GetWidth(), image->GetHeight()});
}

int FontAscent(Graphics& g)
{
    return g.GetFont() != nullptr ? g.GetFont()->GetAscent() : 0;
}

} // namespace

// The box anchored at "x", "y" by "align" and "valign", and its text colour
// (faded by "opacity" when drawn into an existing object).
TextBoxBuilder::Canvas TextBoxBuilder::PlaceCanvas(CommandReader& reader, int width, int height, Color* color)
{
    const int a = reader.ReadAnchorCode(L"align", false);
    const int v = reader.ReadAnchorCode(L"valign", true);
    const int x = reader.ReadCoordinate(L"x") - ((a + 1) * width) / 2;
    const int y = reader.ReadCoordinate(L"y") - ((v + 1) * height) / 2;
    Canvas canvas = PrepareCanvas(x, y, width, height);
    if (canvas.surface == nullptr)
        return canvas;
    reader.ReadColorAttributes(color);
    if (canvas.intoObject)
        color->alpha =
            std::clamp(static_cast<int>(static_cast<float>(color->alpha) *
                                        CommandReader::Sane(m_animator.ReadFloat(L"opacity", 1.0f), 1.0f)),
                       0, 255);
    return canvas;
}

TextBoxBuilder::Canvas TextBoxBuilder::PrepareCanvas(int x, int y, int width, int height)
{
    Canvas canvas;
    if (DynamicWidget* target = m_animator.Has(L"to") ? m_animator.ReadObject(L"to") : nullptr) {
        auto* surface = dynamic_cast<ImageSurface*>(target->GetImage());
        if (surface == nullptr || !target->OwnsImage()) {
            surface = CreateSurfaceFromImageData(target->GetImage());
            if (surface == nullptr)
                return canvas;
            target->SetImage(surface);
            target->SetOwnsImage(true);
            m_animator.CountCreation(target);
        }
        target->MarkDirty();
        Vector4 layerOrigin{0.0f, 0.0f, 1.0f, 1.0f};
        if (WidgetContainer* layer = m_animator.GetCurrentLayer())
            layerOrigin = layer->GetScreenOrigin();
        Vector4 targetOrigin = target->GetScreenOrigin();
        canvas.surface = surface;
        canvas.dx = static_cast<float>(x) + layerOrigin.x - targetOrigin.x;
        canvas.dy = static_cast<float>(y) + layerOrigin.y - targetOrigin.y;
        canvas.intoObject = true;
        return canvas;
    }
    auto* surface = new ImageSurface();
    surface->Create(CommandReader::SurfaceSide(width), CommandReader::SurfaceSide(height));
    auto* object = new DynamicWidget(x, y, surface, m_animator.ReadFloat(L"opacity", 1.0f));
    object->SetOwnsImage(true);
    object->SetPriority(m_animator.ReadInt(L"depth"));
    object->SetProperty(L"z", m_animator.ReadFloat(L"z"));
    m_animator.AddObject(m_animator.ReadText(L"id"), object);
    canvas.surface = surface;
    return canvas;
}

void TextBoxBuilder::AddTextLabel(int textDy, int bottomMargin)
{
    CommandReader reader(m_animator);
    const std::wstring text = reader.ReadShownText(L"text");
    const int wrapWidth = m_animator.Has(L"width") ? reader.ReadCoordinate(L"width") : 10000;
    const int justification = reader.ReadAnchorCode(L"justification", false);
    const std::wstring frame = m_animator.ReadText(L"textbox");
    Font* font = m_animator.ReadFont(L"font");

    int left = 0;
    int right = 0;
    int frameHeight = 8;
    if (!frame.empty()) {
        FramePieces pieces(frame);
        left = pieces.ColumnWidth(0);
        right = pieces.ColumnWidth(2);
        frameHeight = FramePieces::Height(pieces.images[1][0]) + FramePieces::Height(pieces.images[1][2]);
    }
    int width = 0;
    int height = 0;
    if (!text.empty()) {
        Graphics measure;
        measure.SetFont(font);
        int widest = 0;
        int textHeight =
            measure.GetWordWrappedHeight(std::max(1, wrapWidth - left - right), text, -1, &widest);
        width = (m_animator.ReadBool(L"force_width") ? wrapWidth : widest) + left + right;
        height = textHeight + bottomMargin + frameHeight;
    } else {
        width = m_animator.Has(L"width") ? reader.ReadCoordinate(L"width") : 64;
        height = reader.ReadCoordinate(L"height");
        if (height == 0)
            height = 64;
    }
    width = CommandReader::SurfaceSide(width);
    height = CommandReader::SurfaceSide(height);
    Color color;
    Canvas canvas = PlaceCanvas(reader, width, height, &color);
    if (canvas.surface == nullptr)
        return;
    Graphics g(canvas.surface);
    g.Translate(canvas.dx, canvas.dy);
    g.SetColor(color);
    g.SetFont(font);
    if (frame.empty()) {
        g.WriteWordWrapped(Rect{0, 4 + FontAscent(g), width, height}, text, -1, justification);
        return;
    }
    if (!canvas.intoObject)
        g.SetDrawMode(kCopyMode);
    // The frame fills the box as measured above: its width already fits the
    // text, and its height is given, so the frame measures nothing again.
    DrawNineSliceBox(g, frame, 0, width, height, -1, text, justification, textDy,
                     m_animator.ReadBool(L"force-width"));
}

void TextBoxBuilder::DrawNineSliceBox(Graphics& g, const std::wstring& frame, int x, int width, int height,
                                      int anchor, const std::wstring& text, int justification, int textDy,
                                      bool forceWidth)
{
    FramePieces pieces(frame);
    const int left = pieces.ColumnWidth(0);
    const int right = pieces.ColumnWidth(2);
    const int top = FramePieces::Height(pieces.images[1][0]);
    const int bottom = FramePieces::Height(pieces.images[1][2]);
    if (width <= 0)
        width = 10000;
    Font* font = g.GetFont();
    if (!text.empty() && !forceWidth && font != nullptr && font->StringWidth(text) + left + right <= width)
        width = font->StringWidth(text) + left + right;
    if (anchor == 0)
        x -= width / 2;
    else if (anchor == 1)
        x -= width;
    int innerWidth = std::max(0, width - left - right);
    int innerHeight = 0;
    if (height == 0 && !text.empty()) {
        int widest = 0;
        innerHeight = g.GetWordWrappedHeight(std::max(1, innerWidth), text, -1, &widest);
        if (!forceWidth)
            innerWidth = widest;
    } else {
        innerHeight = std::max(0, height - top - bottom);
    }
    int total = top + innerHeight + bottom;
    total = std::max(total,
                     FramePieces::Height(pieces.images[0][0]) + FramePieces::Height(pieces.images[0][2]) + 1);
    total = std::max(total,
                     FramePieces::Height(pieces.images[2][0]) + FramePieces::Height(pieces.images[2][2]) + 1);

    const int rightX = x + left + innerWidth;
    for (int column = 0; column < 3; ++column) {
        Image* topImage = pieces.images[column][0];
        Image* bottomImage = pieces.images[column][2];
        int columnX = column == 0 ? x + left - FramePieces::Width(topImage) : column == 1 ? x + left : rightX;
        int topHeight = FramePieces::Height(topImage);
        int bottomHeight = FramePieces::Height(bottomImage);
        if (column == 1) {
            DrawStretched(g, topImage, x + left, 0, innerWidth, topHeight);
            DrawStretched(g, pieces.images[1][1], x + left, top, innerWidth, total - top - bottom);
            DrawStretched(g, bottomImage, x + left, total - bottomHeight, innerWidth, bottomHeight);
            continue;
        }
        if (topImage != nullptr)
            g.DrawImage(topImage, columnX, 0);
        if (bottomImage != nullptr) {
            int bottomX = column == 0 ? x + left - FramePieces::Width(bottomImage) : rightX;
            g.DrawImage(bottomImage, bottomX, total - bottomHeight);
        }
        Image* edge = pieces.images[column][1];
        int edgeX = column == 0 ? x + left - FramePieces::Width(edge) : rightX;
        DrawStretched(g, edge, edgeX, topHeight, FramePieces::Width(edge), total - topHeight - bottomHeight);
    }
    if (text.empty())
        return;
    g.SetDrawMode(0);
    g.WriteWordWrapped(Rect{x + left, top + textDy + FontAscent(g), innerWidth, innerHeight}, text, -1,
                       justification);
}

void TextBoxBuilder::AddFramedTextBox()
{
    CommandReader reader(m_animator);
    const std::wstring text = reader.ReadShownText(L"text");
    const int justification = reader.ReadAnchorCode(L"justification", false);
    const std::wstring ends = m_animator.ReadText(L"textends");
    Image* leftImage = GetImage(ends + L"_left");
    Image* centreImage = GetImage(ends + L"_center");
    Image* rightImage = GetImage(ends + L"_right");
    const int boxHeight = centreImage != nullptr ? centreImage->GetHeight() : 0;
    const int marginTop = reader.ReadCoordinate(L"margin_top");
    const int marginBottom = reader.ReadCoordinate(L"margin_bottom");
    const int innerHeight = boxHeight - marginBottom - marginTop;
    const int minWidth = reader.ReadCoordinate(L"min_width");
    Font* font = m_animator.ReadFont(L"font");

    Graphics measure;
    measure.SetFont(font);
    int wrapWidth = std::max(innerHeight, minWidth);
    int textWidth = 0;
    int textHeight = measure.GetWordWrappedHeight(std::max(1, wrapWidth), text, -1, &textWidth);
    // Widens until the text fits, but not for ever: a box without a centre
    // image or a font can never fit it.
    while (textHeight > innerHeight && wrapWidth < kMaxWrapWidth) {
        wrapWidth += 10;
        textHeight = measure.GetWordWrappedHeight(std::max(1, wrapWidth), text, -1, &textWidth);
        // Each measure reads the whole text again: the command costs as much.
        m_animator.GetEvaluator().CountTextWork(text.size());
    }
    const int marginLeft = m_animator.Has(L"margin_left")
                               ? reader.ReadCoordinate(L"margin_left")
                               : (leftImage != nullptr ? leftImage->GetWidth() : 0);
    const int marginRight = m_animator.Has(L"margin_right")
                                ? reader.ReadCoordinate(L"margin_right")
                                : (rightImage != nullptr ? rightImage->GetWidth() : 0);
    int contentWidth = textWidth;
    int textX = marginLeft;
    if (textWidth < minWidth) {
        contentWidth = minWidth;
        textX = marginLeft + (minWidth - textWidth) / 2;
    }
    const int width = CommandReader::SurfaceSide(marginLeft + contentWidth + marginRight);
    const int height = CommandReader::SurfaceSide(boxHeight);
    Color color;
    Canvas canvas = PlaceCanvas(reader, width, height, &color);
    if (canvas.surface == nullptr)
        return;
    Graphics g(canvas.surface);
    g.Translate(canvas.dx, canvas.dy);
    g.SetColor(color);
    if (!canvas.intoObject)
        g.SetDrawMode(kCopyMode);
    const int leftWidth = leftImage != nullptr ? leftImage->GetWidth() : 0;
    const int rightWidth = rightImage != nullptr ? rightImage->GetWidth() : 0;
    if (leftImage != nullptr)
        g.DrawImage(leftImage, 0, 0);
    DrawStretched(g, centreImage, leftWidth, 0, width - rightWidth - leftWidth, height);
    if (rightImage != nullptr)
        g.DrawImage(rightImage, width - rightWidth, 0);
    g.SetDrawMode(0);
    g.SetFont(font);
    g.WriteWordWrapped(Rect{textX, (height - textHeight - marginBottom + marginTop) / 2 + FontAscent(g),
                            contentWidth, textHeight},
                       text, -1, justification);
}
