#include "graphics/FontTable.h"

#include "base/Common.h"
#include "base/LogWriter.h"
#include "graphics/Font.h"
#include "graphics/ImageFont.h"
#include "graphics/SysFont.h"
#include "resources/Parser.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

struct FontTable
{
    std::mutex lock;
    std::map<std::wstring, std::unique_ptr<Font>> fonts;
};

FontTable& Table()
{
    static FontTable table;
    return table;
}

bool HasFontEntry(const std::wstring& name)
{
    FontTable& table = Table();
    std::lock_guard<std::mutex> hold(table.lock);
    auto found = table.fonts.find(name);
    return found != table.fonts.end() && found->second != nullptr;
}

class FontsFileParser : public Parser
{
public:
    bool m_ok = true;

protected:
    void HandleElementStart(const std::wstring& element) override
    {
        if (element != L"font")
            return;
        std::wstring name = GetAttribute(L"name");
        if (name.empty()) {
            Report("A font without a name");
            return;
        }
        if (HasFontEntry(name))
            return;
        if (HasAttribute(L"descriptor")) {
            auto* font = new ImageFont(WStringToString(GetAttribute(L"descriptor")));
            if (!font->IsValid()) {
                delete font;
                Report("The bitmap font '" + WStringToString(name) + "' could not be loaded");
                return;
            }
            AddFont(name, font);
            return;
        }
        int size = GetAttributeIntDefault(L"size", 10);
        if (!HasAttribute(L"face") || size <= 0 || size > 500) {
            Report("The font '" + WStringToString(name) + "' needs a face and a size from 1 to 500");
            return;
        }
        auto* font =
            new SysFont(GetAttribute(L"face"), size, GetAttributeBool(L"bold"), GetAttributeBool(L"italic"));
        if (!font->IsValid()) {
            delete font;
            Report("The font '" + WStringToString(name) + "' could not be opened");
            return;
        }
        AddFont(name, font);
    }

private:
    void Report(const std::string& message)
    {
        LogWriter::WriteLine(message);
        m_ok = false;
    }
};

} // namespace

Font* GetFont(const std::wstring& name)
{
    FontTable& table = Table();
    std::lock_guard<std::mutex> hold(table.lock);
    return table.fonts[name].get();
}

void AddFont(const std::wstring& name, Font* font)
{
    FontTable& table = Table();
    std::lock_guard<std::mutex> hold(table.lock);
    table.fonts[name].reset(font);
}

void FreeFonts()
{
    FontTable& table = Table();
    std::lock_guard<std::mutex> hold(table.lock);
    table.fonts.clear();
}

bool LoadFonts(const std::string& path)
{
    FontsFileParser parser;
    if (!parser.ParseFile(path)) {
        if (parser.GetErrorText().empty())
            LogWriter::WriteLine("Cannot open the fonts file '" + path + "'");
        return false;
    }
    return parser.m_ok;
}
