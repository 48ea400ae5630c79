#include "app/NoticeMenu.h"

#include "resources/Localization.h"

NoticeMenu::NoticeMenu(const std::wstring& baseName, Widget* fadeTarget, const std::wstring& textFont)
    : NoticeMenu(Localize(baseName + L"_title"), Localize(baseName + L"_text"), textFont, fadeTarget)
{
}

NoticeMenu::NoticeMenu(const std::wstring& title, const std::wstring& text, const std::wstring& textFont)
    : NoticeMenu(title, text, textFont, nullptr)
{
}

NoticeMenu::NoticeMenu(const std::wstring& title, const std::wstring& text, const std::wstring& textFont,
                       Widget* fadeTarget)
    : DialogMenu(fadeTarget)
{
    SetVariable(L"title", Value(title));
    SetVariable(L"text", Value(text));
    SetVariable(L"text_font", Value(textFont));
    PlayAnimationByName(L"notice_menu");
}
