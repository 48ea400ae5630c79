#pragma once

#include "app/DialogMenu.h"

#include <string>

class GameApp;

// A localized notice on the dialog panel: the texts of "<base>_title" and
// "<base>_text", the text in the given font, laid out by the script
// "notice_menu".
class NoticeMenu : public DialogMenu
{
public:
    NoticeMenu(GameApp& app, const std::wstring& baseName, Widget* fadeTarget, const std::wstring& textFont);
    // A notice of a title and a text given as they are shown.
    NoticeMenu(GameApp& app, const std::wstring& title, const std::wstring& text,
               const std::wstring& textFont);

private:
    NoticeMenu(GameApp& app, const std::wstring& title, const std::wstring& text,
               const std::wstring& textFont, Widget* fadeTarget);
};
