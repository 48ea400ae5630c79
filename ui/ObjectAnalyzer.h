#pragma once

class Animator;
class DynamicWidget;

// "analyze": facts about an object, an image or a text written into script
// variables. Each query attribute present names, by its text as written, the
// variable that receives the answer; absent queries leave their variables.
class ObjectAnalyzer
{
public:
    explicit ObjectAnalyzer(Animator& animator) : m_animator(animator) {}

    // Position, size, depth, colour, frames, image, clips, clocks, motion and
    // references to the animatable floats; or an oscillation's clock.
    void AnalyzeObject(DynamicWidget& object);
    // With "image": the named image's size and cells. With "font": the
    // wrapped size of "text" and the font's ascent. True when one applied.
    bool AnalyzeWithoutObject();

private:
    void Answer(const wchar_t* query, const class Value& value);

    Animator& m_animator;
};
