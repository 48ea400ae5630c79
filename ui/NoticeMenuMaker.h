#pragma once

#include <string>

class DynamicWidget;

// Shows the notice of the "notice-menu" script command. The application that
// has the menus provides it (WidgetHost::GetNoticeMenuMaker); without one the
// command shows nothing and the script goes on.
class NoticeMenuMaker
{
public:
    virtual ~NoticeMenuMaker() = default;

    // A new notice with the text as its base name, shown; null when none could
    // be made. The notice removes itself when it closes.
    virtual DynamicWidget* ShowNoticeMenu(const std::wstring& text) = 0;
};
