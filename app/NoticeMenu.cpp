#include "app/NoticeMenu.h"

#include "resources/Localization.h"

NoticeMenu::NoticeMenu(const std::wstring& baseName, Widget* fadeTarget, const std::wstring& textFont)
    : DialogMenu(fadeTarget)
{
    SetVariable(L"title", Value(Localize(baseName + L"_title")));
    SetVariable(L"text", Value(Localize(baseName + L"_text")));
    SetVariable(L"text_font", Value(textFont));
    PlayAnimationByName(L"notice_menu");
}
