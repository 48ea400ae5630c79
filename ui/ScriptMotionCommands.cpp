// The motion family: the words that set and move an object's properties
// ("set", "change", "propel", "bind", "oscillate", "clamp" and their stops).
#include "base/Common.h"
#include "ui/Animator.h"
#include "ui/Binder.h"
#include "ui/Clamp.h"
#include "ui/CommandReader.h"
#include "ui/DynamicWidget.h"
#include "ui/EasingCurve.h"
#include "ui/ExpressionWave.h"
#include "ui/Oscillation.h"
#include "ui/Propeller.h"
#include "ui/ScriptWordTable.h"
#include "ui/TerminalPropeller.h"
#include "ui/Tweener.h"

#include <cmath>
#include <numbers>

namespace {

using Outcome = ScriptOutcome;

// Without a "rate" a wave makes one swing in this many ticks (2 s).
constexpr double kDefaultSwingTicks = 200.0;

// The align entries shift x by the width and y by the height.
void AlignEnds(const std::vector<Value>& aligns, const CommandReader::PropertyList& properties,
               DynamicWidget& object, std::vector<float>& ends)
{
    for (size_t i = 0; i < aligns.size() && i < ends.size(); ++i) {
        const std::wstring& align = aligns[i].GetString();
        if (properties.names[i] == L"x") {
            if (align == L"center")
                ends[i] -= static_cast<float>(object.GetWidth() / 2);
            else if (align == L"right")
                ends[i] -= static_cast<float>(object.GetWidth());
        } else if (properties.names[i] == L"y") {
            if (align == L"center")
                ends[i] -= static_cast<float>(object.GetHeight() / 2);
            else if (align == L"bottom")
                ends[i] -= static_cast<float>(object.GetHeight());
        }
    }
}

// Speeds or amplitudes: from "angle" and "amplitude" for the first two
// properties (0 for more), else the named list.
std::vector<float> ReadPolarOrList(Animator& animator, CommandReader& reader, std::wstring_view list,
                                   size_t count)
{
    std::vector<float> values(count, 0.0f);
    if (animator.Has(L"angle")) {
        double angle = animator.ReadFloat(L"angle") * std::numbers::pi / 180.0;
        float amplitude = animator.ReadFloat(L"amplitude");
        if (count > 0)
            values[0] = static_cast<float>(std::cos(angle)) * amplitude;
        if (count > 1)
            values[1] = static_cast<float>(std::sin(angle)) * amplitude;
        return values;
    }
    std::vector<float> given = reader.ReadFloatList(list);
    for (size_t i = 0; i < count; ++i)
        values[i] = CommandReader::Fill(given, i);
    return values;
}

// The values to write, or (without "value") each property moved by its
// "offset"; "align" shifts given x and y values by the object's size.
Outcome Set(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    CommandReader reader(script);
    CommandReader::PropertyList properties = reader.ReadProperties(object);
    std::vector<float> values = reader.ReadFloatList(L"value");
    std::vector<float> offsets = reader.ReadFloatList(L"offset");
    std::vector<Value> aligns = reader.SplitCommaList(L"align", false);
    object.WriteBaseValues([&] {
        std::vector<float> written;
        for (size_t i = 0; i < properties.targets.size(); ++i) {
            float value = values.empty() ? *properties.targets[i] + CommandReader::Fill(offsets, i)
                                         : CommandReader::Fill(values, i);
            written.push_back(value);
        }
        if (!values.empty())
            AlignEnds(aligns, properties, object, written);
        for (size_t i = 0; i < written.size(); ++i)
            *properties.targets[i] = written[i];
    });
    object.Refresh(properties.refreshKind);
    return Outcome::Next;
}

// A tween from "start" (or where the properties are) to "end" (or by "offset").
Outcome Change(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    CommandReader reader(script);
    CommandReader::PropertyList properties = reader.ReadProperties(object);
    std::vector<float> starts = reader.ReadFloatList(L"start");
    std::vector<float> endList = reader.ReadFloatList(L"end");
    std::vector<float> offsets = reader.ReadFloatList(L"offset");
    std::vector<Value> aligns = reader.SplitCommaList(L"align", false);
    if (!starts.empty()) {
        object.WriteBaseValues([&] {
            for (size_t i = 0; i < properties.targets.size(); ++i)
                *properties.targets[i] = CommandReader::Fill(starts, i);
        });
    }
    // The tween runs on the base values: the layers are lifted while they
    // are read and laid on again whatever the command was given.
    std::vector<Tweener::Entry> entries;
    object.WriteBaseValues([&] {
        std::vector<float> ends;
        for (size_t i = 0; i < properties.targets.size(); ++i) {
            ends.push_back(endList.empty() ? *properties.targets[i] + CommandReader::Fill(offsets, i)
                                           : CommandReader::Fill(endList, i));
        }
        if (!endList.empty())
            AlignEnds(aligns, properties, object, ends);
        for (size_t i = 0; i < properties.targets.size(); ++i)
            entries.push_back({properties.targets[i], *properties.targets[i], ends[i]});
    });
    object.AddController(std::make_unique<Tweener>(
        &object, script.ReadText(L"controller"), script.ReadCurve(), script.ReadFloat(L"time", 50.0f),
        std::move(entries), properties.refreshKind, script.ReadFloat(L"timer", 0.0f)));
    return Outcome::Next;
}

// Constant speeds, until "end" when it is given.
Outcome Propel(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    CommandReader reader(script);
    CommandReader::PropertyList properties = reader.ReadProperties(object);
    size_t count = properties.targets.size();
    std::vector<float> speeds = ReadPolarOrList(script, reader, L"velocity", count);
    std::unique_ptr<EasingCurve> curve = script.ReadCurve();
    std::wstring name = script.ReadText(L"controller");
    float clock = script.ReadFloat(L"timer", 0.0f);
    float curveSpeed = script.ReadFloat(L"curve_speed", 0.01f);
    if (script.Has(L"end")) {
        std::vector<float> ends = reader.ReadFloatList(L"end");
        std::vector<TerminalPropeller::Entry> entries;
        for (size_t i = 0; i < count; ++i) {
            float end = CommandReader::Fill(ends, i);
            entries.push_back({properties.targets[i], speeds[i], end, *properties.targets[i] < end});
        }
        object.AddController(std::make_unique<TerminalPropeller>(&object, name, std::move(curve),
                                                                 script.ReadBool(L"snap"), clock, curveSpeed,
                                                                 entries, properties.refreshKind));
    } else {
        std::vector<Propeller::Entry> entries;
        for (size_t i = 0; i < count; ++i)
            entries.push_back({properties.targets[i], speeds[i]});
        object.AddController(std::make_unique<Propeller>(&object, name, std::move(curve), clock, curveSpeed,
                                                         std::move(entries), properties.refreshKind));
    }
    return Outcome::Next;
}

// Each property follows an expression of the script's variables.
Outcome Bind(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    CommandReader reader(script);
    CommandReader::PropertyList properties = reader.ReadProperties(object);
    std::vector<Value> expressions = reader.SplitCommaList(L"value", true);
    std::vector<Binder::Binding> bindings;
    for (size_t i = 0; i < properties.targets.size() && !expressions.empty(); ++i) {
        const Value& expression = expressions[std::min(i, expressions.size() - 1)];
        bindings.push_back({properties.targets[i], expression.GetString()});
    }
    object.AddController(std::make_unique<Binder>(&object, script.ReadText(L"controller"),
                                                  std::move(bindings), properties.refreshKind, &script));
    return Outcome::Next;
}

Outcome StopController(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    object.StopController(script.ReadText(L"controller"));
    return Outcome::Next;
}

// Where in its swing a new oscillation starts: "timer", else "start".
double OscillationPhase(Animator& script)
{
    if (script.Has(L"timer"))
        return script.ReadFloat(L"timer");
    const std::wstring start = script.ReadText(L"start");
    if (start == L"top")
        return 0.25;
    if (start == L"bottom")
        return 0.75;
    if (start == L"random")
        return RandDouble(100.0);
    return 0.0;
}

// The wave "curve" names (as written): sine, zigzag, noise or an expression
// of t. Noise without a "timer" starts at a random place of its own.
std::unique_ptr<OscillatingCurve> ReadWave(Animator& script, double& phase)
{
    const std::wstring& curveName = script.Raw(L"curve");
    if (curveName == L"zigzag")
        return std::make_unique<ZigZagWave>();
    if (curveName == L"noise") {
        if (!script.Has(L"timer"))
            phase = Rand(100);
        return std::make_unique<NoiseWave>();
    }
    if (curveName == L"sine" || curveName.empty())
        return std::make_unique<SineWave>();
    return std::make_unique<ExpressionWave>(curveName, &script);
}

Outcome Oscillate(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    CommandReader reader(script);
    CommandReader::PropertyList properties = reader.ReadProperties(object);
    size_t count = properties.targets.size();
    std::vector<float> amplitudes = ReadPolarOrList(script, reader, L"amplitude", count);
    std::vector<Oscillation::Entry> entries;
    for (size_t i = 0; i < count; ++i)
        entries.push_back({properties.targets[i], amplitudes[i]});
    double phase = OscillationPhase(script);
    std::unique_ptr<OscillatingCurve> wave = ReadWave(script, phase);
    // The wave's time advances by the step times the rate; its period is
    // 1, so without a rate it swings once per 200 ticks.
    double rate =
        script.Has(L"rate") ? static_cast<double>(script.ReadFloat(L"rate")) : 1.0 / kDefaultSwingTicks;
    object.AddOscillation(std::make_unique<Oscillation>(&object, script.ReadText(L"oscillation"),
                                                        std::move(entries), phase, rate, std::move(wave),
                                                        properties.refreshKind));
    object.Refresh(properties.refreshKind);
    return Outcome::Next;
}

// "stop-oscillation" and "stop-clamp": the layer of that kind the attribute
// of the kind's name names; "undo" (default true) takes back what it added.
template <bool (DynamicWidget::*remove)(const std::wstring&, bool), const wchar_t* kind>
Outcome StopLayer(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    (object.*remove)(script.ReadText(kind), script.ReadBool(L"undo", true));
    return Outcome::Next;
}

// "stop-oscillations" and "stop-clamps": every layer of that kind.
template <void (DynamicWidget::*clear)(bool)>
Outcome StopLayers(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    (object.*clear)(script.ReadBool(L"undo", true));
    return Outcome::Next;
}

constexpr wchar_t kOscillation[] = L"oscillation";
constexpr wchar_t kClamp[] = L"clamp";

Outcome ClampProperties(Animator& script, const ScriptCommand&, DynamicWidget& object)
{
    CommandReader reader(script);
    CommandReader::PropertyList properties = reader.ReadProperties(object);
    std::vector<float> minimums = reader.ReadFloatList(L"min");
    std::vector<float> maximums = reader.ReadFloatList(L"max");
    std::vector<Clamp::Entry> entries;
    for (size_t i = 0; i < properties.targets.size(); ++i) {
        float minimum = script.Has(L"min") ? CommandReader::Fill(minimums, i) : -1.0e20f;
        float maximum = script.Has(L"max") ? CommandReader::Fill(maximums, i) : 1.0e20f;
        entries.push_back({properties.targets[i], minimum, maximum});
    }
    object.AddClamp(std::make_unique<Clamp>(&object, script.ReadText(L"clamp"), std::move(entries),
                                            properties.refreshKind));
    object.Refresh(properties.refreshKind);
    return Outcome::Next;
}

constexpr ScriptWordRow kMotionWords[] = {
    {L"set", ScriptWord::Set, ScriptReach::Object, Set},
    {L"change", ScriptWord::Change, ScriptReach::Object, Change},
    {L"propel", ScriptWord::Propel, ScriptReach::Object, Propel},
    {L"bind", ScriptWord::Bind, ScriptReach::Object, Bind},
    {L"stop-controller", ScriptWord::StopController, ScriptReach::Object, StopController},
    {L"oscillate", ScriptWord::Oscillate, ScriptReach::Object, Oscillate},
    {L"stop-oscillation", ScriptWord::StopOscillation, ScriptReach::Object,
     StopLayer<&DynamicWidget::RemoveOscillation, kOscillation>},
    {L"stop-oscillations", ScriptWord::StopOscillations, ScriptReach::Object,
     StopLayers<&DynamicWidget::ClearOscillations>},
    {L"clamp", ScriptWord::Clamp, ScriptReach::Object, ClampProperties},
    {L"stop-clamp", ScriptWord::StopClamp, ScriptReach::Object,
     StopLayer<&DynamicWidget::RemoveClamp, kClamp>},
    {L"stop-clamps", ScriptWord::StopClamps, ScriptReach::Object, StopLayers<&DynamicWidget::ClearClamps>},
};
static_assert(AllRowsFit(kMotionWords));

} // namespace

std::span<const ScriptWordRow> MotionWords()
{
    return kMotionWords;
}
