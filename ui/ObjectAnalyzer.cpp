#include "ui/ObjectAnalyzer.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "resources/Assets.h"
#include "resources/Value.h"
#include "ui/Animator.h"
#include "ui/CommandReader.h"
#include "ui/DynamicWidget.h"
#include "ui/Oscillation.h"

#include <algorithm>

void ObjectAnalyzer::Answer(const wchar_t* query, const Value& value)
{
    if (m_animator.Has(query))
        m_animator.SetVariable(m_animator.Raw(query), value);
}

void ObjectAnalyzer::AnalyzeObject(DynamicWidget& object)
{
    if (m_animator.Has(L"oscillation")) {
        Oscillation* oscillation = object.FindOscillation(m_animator.ReadText(L"oscillation"));
        if (oscillation != nullptr)
            Answer(L"timer", Value(oscillation->GetTime()));
        return;
    }
    const float x = object.GetX();
    const float y = object.GetY();
    Answer(L"x", Value(x));
    Answer(L"y", Value(y));
    Answer(L"z", Value(object.GetZ()));
    Answer(L"right", Value(x + static_cast<float>(object.GetWidth())));
    Answer(L"bottom", Value(y + static_cast<float>(object.GetHeight())));
    Answer(L"center_x", Value(object.GetCenterX()));
    Answer(L"center_y", Value(object.GetCenterY()));
    if (m_animator.Has(L"abs_x") || m_animator.Has(L"abs_y")) {
        Vector4 origin = object.GetScreenOrigin();
        Answer(L"abs_x", Value(origin.x));
        Answer(L"abs_y", Value(origin.y));
    }
    Answer(L"width", Value(object.GetWidth()));
    Answer(L"height", Value(object.GetHeight()));
    Answer(L"depth", Value(object.GetPriority()));
    Answer(L"opacity", Value(object.GetOpacity()));
    Answer(L"angle", Value(object.GetAngle()));
    Answer(L"frame", Value(object.GetFrame()));
    Answer(L"frame_rate", Value(*object.GetProperty(L"frame_rate")));
    Answer(L"frame_timer", Value(object.GetFrameTimer()));
    Image* image = object.GetImage();
    if (image != nullptr) {
        Answer(L"image", Value(Assets::Get().FindImageName(image)));
        Answer(L"cols", Value(image->GetColumns()));
        Answer(L"rows", Value(image->GetRows()));
        Answer(L"frames", Value(image->GetColumns() * image->GetRows()));
    }
    Answer(L"scale_x", Value(object.GetScaleX()));
    Answer(L"scale_y", Value(object.GetScaleY()));
    Answer(L"flip_x", Value(object.IsFlippedX()));
    Answer(L"flip_y", Value(object.IsFlippedY()));
    for (const wchar_t* clip : {L"abs_clip_x1", L"abs_clip_y1", L"abs_clip_x2", L"abs_clip_y2",
                                L"rel_clip_x1", L"rel_clip_y1", L"rel_clip_x2", L"rel_clip_y2"})
        Answer(clip, Value(*object.GetProperty(clip)));
    Answer(L"timer", Value(object.GetTimer()));
    Answer(L"clock", Value(object.GetClock()));
    if (m_animator.Has(L"changing"))
        Answer(L"changing", Value(object.IsMoving()));
    for (const wchar_t* name : {L"x", L"y", L"opacity", L"angle", L"scale_x", L"scale_y", L"timer"}) {
        std::wstring query = std::wstring(name) + L"_ptr";
        if (m_animator.Has(query))
            m_animator.SetVariable(m_animator.Raw(query), object.GetPropertyReference(name));
    }
}

bool ObjectAnalyzer::AnalyzeWithoutObject()
{
    if (m_animator.Has(L"image")) {
        // A missing image leaves the variables as they were.
        if (Image* image = m_animator.ReadImage(L"image")) {
            Answer(L"width", Value(image->GetWidth()));
            Answer(L"height", Value(image->GetHeight()));
            Answer(L"cols", Value(image->GetColumns()));
            Answer(L"rows", Value(image->GetRows()));
            Answer(L"frames", Value(image->GetColumns() * image->GetRows()));
        }
        return true;
    }
    if (!m_animator.Has(L"font"))
        return false;
    Font* font = m_animator.ReadFont(L"font");
    if (font == nullptr)
        return true;
    std::wstring text = CommandReader(m_animator).ReadShownText(L"text");
    Graphics g;
    g.SetFont(font);
    int widest = 0;
    int height =
        g.GetWordWrappedHeight(std::max(1, m_animator.ReadInt(L"maxwidth", 10000)), text, -1, &widest);
    Answer(L"width", Value(widest));
    Answer(L"height", Value(height));
    Answer(L"ascent", Value(static_cast<float>(font->GetAscent())));
    return true;
}
