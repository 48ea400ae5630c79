#include "app/NoticeMenu.h"

#include "resources/Localization.h"

NoticeMenu::NoticeMenu(GameApp& app, const std::wstring& baseName, Widget* fadeTarget,
                       const std::wstring& textFont)
    : NoticeMenu(app, Localize(baseName + L"_title"), Localize(baseName + L"_text"), textFont, fadeTarget)
{
}

NoticeMenu::NoticeMenu(GameApp& app, const std::wstring& title, const std::wstring& text,
                       const std::wstring& textFont)
    : NoticeMenu(app, title, text, textFont, nullptr)
{
}

NoticeMenu::NoticeMenu(GameApp& app, const std::wstring& title, const std::wstring& text,
                       const std::wstring& textFont, Widget* fadeTarget)
    : DialogMenu(app, fadeTarget)
{
    SetVariable(L"title", Value(title));
    SetVariable(L"text", Value(text));
    SetVariable(L"text_font", Value(textFont));
    PlayAnimationByName(L"notice_menu");
}
