#include "graphics/FontTable.h"

#include "graphics/Font.h"

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

}

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

static bool HasFontEntry(const std::wstring& name)
{
    FontTable& table = Table();
    std::lock_guard<std::mutex> hold(table.lock);
    auto found = table.fonts.find(name);
    return found != table.fonts.end() && found->second != nullptr;
}

void FreeFonts()
{
    FontTable& table = Table();
    std::lock_guard<std::mutex> hold(table.lock);
    table.fonts.clear();
}

[[maybe_unused]] static bool Unused() { return HasFontEntry(L""); }

bool LoadFonts(const std::string&)
{
    return false;
}
