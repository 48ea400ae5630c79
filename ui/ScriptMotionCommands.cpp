// The commands that set and move an object's properties ("set", "change",
// "propel", "bind", "oscillate", "clamp" and their stops).
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
#include "ui/TerminalPropeller.h"
#include "ui/Tweener.h"

#include <cmath>
#include <numbers>

namespace {

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

} // namespace

Animator::Outcome Animator::RunMotionCommand(const ScriptCommand& command, DynamicWidget& object)
{
    CommandReader reader(*this);
    switch (command.m_word) {
    case ScriptWord::Set: {
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
    case ScriptWord::Change: {
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
        object.AddController(std::make_unique<Tweener>(&object, ReadText(L"controller"), ReadCurve(),
                                                       ReadFloat(L"time", 50.0f), std::move(entries),
                                                       properties.refreshKind, ReadFloat(L"timer", 0.0f)));
        return Outcome::Next;
    }
    case ScriptWord::Propel: {
        CommandReader::PropertyList properties = reader.ReadProperties(object);
        size_t count = properties.targets.size();
        std::vector<float> speeds = ReadPolarOrList(*this, reader, L"velocity", count);
        std::unique_ptr<EasingCurve> curve = ReadCurve();
        std::wstring name = ReadText(L"controller");
        float clock = ReadFloat(L"timer", 0.0f);
        float curveSpeed = ReadFloat(L"curve_speed", 0.01f);
        if (Has(L"end")) {
            std::vector<float> ends = reader.ReadFloatList(L"end");
            std::vector<TerminalPropeller::Entry> entries;
            for (size_t i = 0; i < count; ++i) {
                float end = CommandReader::Fill(ends, i);
                entries.push_back({properties.targets[i], speeds[i], end, *properties.targets[i] < end});
            }
            object.AddController(std::make_unique<TerminalPropeller>(&object, name, std::move(curve),
                                                                     ReadBool(L"snap"), clock, curveSpeed,
                                                                     entries, properties.refreshKind));
        } else {
            std::vector<Propeller::Entry> entries;
            for (size_t i = 0; i < count; ++i)
                entries.push_back({properties.targets[i], speeds[i]});
            object.AddController(std::make_unique<Propeller>(&object, name, std::move(curve), clock,
                                                             curveSpeed, std::move(entries),
                                                             properties.refreshKind));
        }
        return Outcome::Next;
    }
    case ScriptWord::Bind: {
        CommandReader::PropertyList properties = reader.ReadProperties(object);
        std::vector<Value> expressions = reader.SplitCommaList(L"value", true);
        std::vector<Binder::Binding> bindings;
        for (size_t i = 0; i < properties.targets.size() && !expressions.empty(); ++i) {
            const Value& expression = expressions[std::min(i, expressions.size() - 1)];
            bindings.push_back({properties.targets[i], expression.GetString()});
        }
        object.AddController(std::make_unique<Binder>(&object, ReadText(L"controller"), std::move(bindings),
                                                      properties.refreshKind, this));
        return Outcome::Next;
    }
    case ScriptWord::StopController:
        object.StopController(ReadText(L"controller"));
        return Outcome::Next;
    case ScriptWord::Oscillate: {
        CommandReader::PropertyList properties = reader.ReadProperties(object);
        size_t count = properties.targets.size();
        std::vector<float> amplitudes = ReadPolarOrList(*this, reader, L"amplitude", count);
        std::vector<Oscillation::Entry> entries;
        for (size_t i = 0; i < count; ++i)
            entries.push_back({properties.targets[i], amplitudes[i]});
        double phase = 0.0;
        if (Has(L"timer")) {
            phase = ReadFloat(L"timer");
        } else {
            const std::wstring start = ReadText(L"start");
            if (start == L"top")
                phase = 0.25;
            else if (start == L"bottom")
                phase = 0.75;
            else if (start == L"random")
                phase = RandDouble(100.0);
        }
        const std::wstring& curveName = Raw(L"curve");
        std::unique_ptr<OscillatingCurve> wave;
        if (curveName == L"zigzag") {
            wave = std::make_unique<ZigZagWave>();
        } else if (curveName == L"noise") {
            wave = std::make_unique<NoiseWave>();
            if (!Has(L"timer"))
                phase = Rand(100);
        } else if (curveName == L"sine" || curveName.empty()) {
            wave = std::make_unique<SineWave>();
        } else {
            wave = std::make_unique<ExpressionWave>(curveName, this);
        }
        // The wave's time advances by the step times the rate; its period is
        // 1, so without a rate it swings once per 200 ticks.
        double rate = Has(L"rate") ? static_cast<double>(ReadFloat(L"rate")) : 1.0 / kDefaultSwingTicks;
        object.AddOscillation(std::make_unique<Oscillation>(&object, ReadText(L"oscillation"),
                                                            std::move(entries), phase, rate, std::move(wave),
                                                            properties.refreshKind));
        object.Refresh(properties.refreshKind);
        return Outcome::Next;
    }
    case ScriptWord::StopOscillation:
        object.RemoveOscillation(ReadText(L"oscillation"), ReadBool(L"undo", true));
        return Outcome::Next;
    case ScriptWord::StopOscillations:
        object.ClearOscillations(ReadBool(L"undo", true));
        return Outcome::Next;
    case ScriptWord::Clamp: {
        CommandReader::PropertyList properties = reader.ReadProperties(object);
        std::vector<float> minimums = reader.ReadFloatList(L"min");
        std::vector<float> maximums = reader.ReadFloatList(L"max");
        std::vector<Clamp::Entry> entries;
        for (size_t i = 0; i < properties.targets.size(); ++i) {
            float minimum = Has(L"min") ? CommandReader::Fill(minimums, i) : -1.0e20f;
            float maximum = Has(L"max") ? CommandReader::Fill(maximums, i) : 1.0e20f;
            entries.push_back({properties.targets[i], minimum, maximum});
        }
        object.AddClamp(
            std::make_unique<Clamp>(&object, ReadText(L"clamp"), std::move(entries), properties.refreshKind));
        object.Refresh(properties.refreshKind);
        return Outcome::Next;
    }
    case ScriptWord::StopClamp:
        object.RemoveClamp(ReadText(L"clamp"), ReadBool(L"undo", true));
        return Outcome::Next;
    case ScriptWord::StopClamps:
        object.ClearClamps(ReadBool(L"undo", true));
        return Outcome::Next;
    default:
        return Outcome::NotMine;
    }
}
