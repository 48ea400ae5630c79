#include "puzzle/MyLocalization.h"

#include "puzzle/PuzzleNameTable.h"

#include <cwctype>

namespace {

std::wstring Trimmed(const std::wstring& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::iswspace(static_cast<wint_t>(text[first])))
        ++first;
    while (last > first && std::iswspace(static_cast<wint_t>(text[last - 1])))
        --last;
    return text.substr(first, last - first);
}

} // namespace

MyLocalization::MyLocalization()
{
    Load("localization.xml");
}

MyLocalization::MyLocalization(const std::string& path)
{
    ParseFile(path);
}

void MyLocalization::HandleElementStart(const std::wstring& name)
{
    lastElement = name;
    if (name == L"set") {
        currentSetName = GetAttribute(L"name");
        gPuzzleNameTable.Get(currentSetName).name = currentSetName;
        return;
    }
    Localization::HandleElementStart(name);
}

void MyLocalization::HandleText(const std::wstring& text)
{
    if (lastElement == L"puzzle" && GetElement().m_name == L"puzzle") {
        const std::wstring name = Trimmed(text);
        if (!name.empty())
            gPuzzleNameTable.Get(currentSetName).puzzles.push_back(ConvertLineBreaks(name));
        return;
    }
    Localization::HandleText(text);
}
