#include "puzzle/BasicPlayerState.h"

#include "base/Common.h"
#include "resources/XmlText.h"
#include "resources/GlobalVariables.h"

#include <algorithm>
#include <string_view>

BasicPlayerState* gCurrentBasicPlayerState = nullptr;

namespace {

// The scripts' global() and globaldefined() read the current state's properties.
class CurrentPlayerGlobals : public GlobalVariables
{
public:
    bool GetGlobal(const std::wstring& name, Value& value) const override
    {
        if (!gCurrentBasicPlayerState)
            return false;
        auto found = gCurrentBasicPlayerState->properties.find(name);
        if (found == gCurrentBasicPlayerState->properties.end())
            return false;
        value = found->second;
        return true;
    }
};

const CurrentPlayerGlobals gCurrentPlayerGlobals;

// The longest property element (with the longest type name), without its name, value and other
// attributes, in UTF-16 units.
constexpr std::size_t kPropertyUnits =
    std::wstring_view(L"<property name=\"\" type=\"string\" value=\"\"/>").size();
// The longest number a property writes ("%d", "%.9g").
constexpr std::size_t kMaxNumberUnits = 16;

// The type attribute of a value a property can hold, or null.
const wchar_t* TypeName(const Value& value)
{
    switch (value.GetType()) {
    case Value::Type::Bool:
        return L"bool";
    case Value::Type::Int:
        return L"int";
    case Value::Type::Float:
        return L"float";
    case Value::Type::String:
        return L"string";
    default:
        return nullptr;
    }
}

// The value attribute's text before escaping; a number is formatted into scratch.
const std::wstring& WrittenValue(const Value& value, std::wstring& scratch)
{
    switch (value.GetType()) {
    case Value::Type::Bool:
        scratch = value.ToBool() ? L"1" : L"0";
        return scratch;
    case Value::Type::Int:
        scratch = StrFormatW(L"%d", value.ToInt());
        return scratch;
    case Value::Type::Float:
        scratch = StrFormatW(L"%.9g", static_cast<double>(value.ToFloat()));
        return scratch;
    default:
        return value.GetString();
    }
}

} // namespace

BasicPlayerState::~BasicPlayerState()
{
    if (gCurrentBasicPlayerState == this)
        gCurrentBasicPlayerState = nullptr;
}

void BasicPlayerState::MakeCurrent()
{
    gCurrentBasicPlayerState = this;
    SetGlobalVariables(&gCurrentPlayerGlobals);
}

void BasicPlayerState::AddPlayTick()
{
    if (++centiseconds < 6000)
        return;
    centiseconds -= 6000;
    if (++minutes < 60)
        return;
    minutes -= 60;
    ++hours;
}

std::wstring BasicPlayerState::WritePlayTime() const
{
    return StrFormatW(L" started=\"%d\" hours=\"%d\" minutes=\"%d\" centiseconds=\"%d\"", started ? 1 : 0,
                      hours, minutes, centiseconds);
}

std::wstring BasicPlayerState::WriteProperties(std::size_t room, std::vector<LeftOut>* leftOut) const
{
    // Each property that can be written, in name order, with what it takes.
    struct Candidate
    {
        const std::wstring* name;
        const Value* value;
        const XMLAttributes* other;
        std::size_t units;
        bool kept;
    };
    static const XMLAttributes none;
    std::vector<Candidate> candidates;
    std::wstring scratch;
    for (const auto& [name, value] : properties) {
        if (!TypeName(value))
            continue;
        auto other = propertyAttributes.find(name);
        const XMLAttributes& attributes = other == propertyAttributes.end() ? none : other->second;
        candidates.push_back({&name, &value, &attributes,
                              PropertyUnits(name, WrittenValue(value, scratch), attributes), false});
    }
    // Smallest first, so one huge value leaves out only itself.
    std::vector<Candidate*> bySize;
    for (Candidate& candidate : candidates)
        bySize.push_back(&candidate);
    std::stable_sort(bySize.begin(), bySize.end(),
                     [](const Candidate* a, const Candidate* b) { return a->units < b->units; });
    for (Candidate* candidate : bySize) {
        candidate->kept = candidate->units <= room;
        if (candidate->kept)
            room -= candidate->units;
        else if (leftOut)
            leftOut->push_back({*candidate->name, candidate->units});
    }
    std::wstring text;
    for (const Candidate& candidate : candidates) {
        if (!candidate.kept)
            continue;
        text += StrFormatW(L"<property name=\"%s\" type=\"%s\" value=\"%s\"%s/>",
                           EscapeXmlAttribute(*candidate.name), TypeName(*candidate.value),
                           EscapeXmlAttribute(WrittenValue(*candidate.value, scratch)),
                           WriteXmlAttributes(*candidate.other));
    }
    return text;
}

std::size_t BasicPlayerState::PropertyUnits(const std::wstring& name, const std::wstring& value,
                                            const XMLAttributes& otherAttributes)
{
    return kPropertyUnits + EscapedXmlAttributeLength(name) +
           std::max(EscapedXmlAttributeLength(value), kMaxNumberUnits) +
           WrittenXmlAttributesLength(otherAttributes);
}

bool BasicPlayerState::ReadProperty(const std::wstring& name, const std::wstring& type,
                                    const std::wstring& value)
{
    if (type == L"bool") {
        properties[name] = Value(value == L"1" || value == L"true");
    } else if (type == L"int") {
        int number = 0;
        StringToInt(value, number);
        properties[name] = Value(number);
    } else if (type == L"float") {
        properties[name] = Value(ParseFloatW(value));
    } else if (type == L"string") {
        properties[name] = Value(value);
    } else {
        return false;
    }
    return true;
}
