#pragma once

#include "app/DialogMenu.h"

#include <string>

// A localized notice on the dialog panel: the texts of "<base>_title" and
// "<base>_text", the text in the given font, laid out by the script
// "notice_menu".
class NoticeMenu : public DialogMenu
{
public:
    NoticeMenu(const std::wstring& baseName, Widget* fadeTarget, const std::wstring& textFont);
    // A notice of a title and a text given as they are shown.
    NoticeMenu(const std::wstring& title, const std::wstring& text, const std::wstring& textFont);

private:
    NoticeMenu(const std::wstring& title, const std::wstring& text, const std::wstring& textFont,
               Widget* fadeTarget);
};
