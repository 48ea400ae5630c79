#include "ui/CommandReader.h"

#include "base/Common.h"
#include "graphics/GraphicsState.h"
#include "resources/Localization.h"
#include "ui/Animator.h"
#include "ui/DynamicWidget.h"
#include "ui/ScriptServices.h"

#include <algorithm>
#include <cmath>

namespace {

std::wstring Trimmed(const std::wstring& text)
{
    const wchar_t* blanks = L" \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos)
        return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

} // namespace

std::vector<Value> CommandReader::SplitCommaList(std::wstring_view attribute, bool literal)
{
    std::vector<Value> list;
    if (!m_animator.Has(attribute))
        return list;
    const std::wstring& raw = m_animator.Raw(attribute);
    if (!literal)
        return m_animator.GetEvaluator().EvaluateList(raw);
    for (const std::wstring& piece : SplitString(raw, L","))
        list.emplace_back(Trimmed(piece));
    return list;
}

std::vector<float> CommandReader::ReadFloatList(std::wstring_view attribute)
{
    std::vector<float> list;
    for (const Value& value : SplitCommaList(attribute, false))
        list.push_back(ParseFloatW(value.ToString()));
    return list;
}

CommandReader::PropertyList CommandReader::ReadProperties(DynamicWidget& object)
{
    PropertyList properties;
    for (const Value& name : SplitCommaList(L"property", true)) {
        const std::wstring& text = name.GetString();
        float* target = object.GetProperty(text);
        if (target == nullptr)
            continue;
        properties.targets.push_back(target);
        properties.names.push_back(text);
        properties.refreshKind |= DynamicWidget::GetRefreshKind(text);
    }
    return properties;
}

void CommandReader::ReadColorAttributes(Color* out)
{
    *out = GraphicsState{}.color;
    auto component = [this](std::wstring_view name, int& field) {
        if (m_animator.Has(name))
            field = std::clamp(static_cast<int>(Sane(m_animator.ReadFloat(name), 2.0f) * 255.0f), 0, 255);
    };
    component(L"red", out->red);
    component(L"green", out->green);
    component(L"blue", out->blue);
    component(L"alpha", out->alpha);
}

std::wstring CommandReader::ReadShownText(std::wstring_view attribute)
{
    std::wstring text = m_animator.ReadText(attribute);
    if (!text.empty() && m_animator.ReadBool(L"lookup", true))
        text = Localize(text);
    static const std::wstring kPlayer = L"[player]";
    if (text.find(kPlayer) != std::wstring::npos)
        text = WithPlayerName(text, m_animator.GetServices().GetScriptPlayerName());
    // A translation is a text of the script's too, as long as its own are.
    m_animator.GetEvaluator().LimitText(text);
    return text;
}

std::wstring CommandReader::WithPlayerName(std::wstring_view text, std::wstring_view name)
{
    // Built in one pass, and no longer than a script's text may be: a text of
    // many "[player]"s must not cost a copy of the rest for each one.
    static constexpr std::wstring_view kPlayer = L"[player]";
    const size_t limit = ExpressionEvaluator::kMaxTextLength + 1;
    std::wstring shown;
    size_t from = 0;
    while (from < text.size() && shown.size() < limit) {
        const size_t at = text.find(kPlayer, from);
        const std::wstring_view piece = text.substr(from, at == std::wstring_view::npos ? text.size() - from
                                                                                          : at - from);
        shown.append(piece.substr(0, limit - shown.size()));
        if (at == std::wstring_view::npos)
            break;
        shown.append(name.substr(0, limit - std::min(limit, shown.size())));
        from = at + kPlayer.size();
    }
    return shown;
}

int CommandReader::ReadCoordinate(std::wstring_view attribute, int whenAbsent)
{
    return std::clamp(m_animator.ReadInt(attribute, whenAbsent), -kMaxCoordinate, kMaxCoordinate);
}

float CommandReader::Fill(const std::vector<float>& list, size_t i, float whenEmpty)
{
    if (list.empty())
        return whenEmpty;
    return list[std::min(i, list.size() - 1)];
}

int CommandReader::ReadAnchorCode(std::wstring_view attribute, bool vertical)
{
    const std::wstring text = m_animator.ReadText(attribute);
    if (text == L"center")
        return 0;
    if (text == (vertical ? L"bottom" : L"right"))
        return 1;
    return -1;
}

float CommandReader::Sane(float value, float limit, float fallback)
{
    if (!std::isfinite(value))
        return fallback;
    return std::clamp(value, -limit, limit);
}

int CommandReader::SurfaceSide(int side)
{
    return std::clamp(side, 1, kMaxSurfaceSide);
}
