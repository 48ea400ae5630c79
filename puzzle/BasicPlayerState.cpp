#include "puzzle/BasicPlayerState.h"

#include "base/Common.h"
#include "resources/XmlText.h"
#include "resources/GlobalVariables.h"

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

std::wstring BasicPlayerState::WriteProperties() const
{
    std::wstring text;
    for (const auto& [name, value] : properties) {
        const wchar_t* type = nullptr;
        std::wstring written;
        switch (value.GetType()) {
        case Value::Type::Bool:
            type = L"bool";
            written = value.ToBool() ? L"1" : L"0";
            break;
        case Value::Type::Int:
            type = L"int";
            written = StrFormatW(L"%d", value.ToInt());
            break;
        case Value::Type::Float:
            type = L"float";
            written = StrFormatW(L"%.9g", static_cast<double>(value.ToFloat()));
            break;
        case Value::Type::String:
            type = L"string";
            written = value.GetString();
            break;
        default:
            continue;
        }
        auto other = propertyAttributes.find(name);
        text += StrFormatW(L"<property name=\"%s\" type=\"%s\" value=\"%s\"%s/>", EscapeXmlAttribute(name),
                           type, EscapeXmlAttribute(written),
                           other == propertyAttributes.end() ? std::wstring()
                                                             : WriteXmlAttributes(other->second));
    }
    return text;
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
