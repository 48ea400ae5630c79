#pragma once

#include "ui/NoticeMenuMaker.h"

#include <string>
#include <vector>

// A notice maker that remembers the notices asked for and shows none.
class RecordingNotices : public NoticeMenuMaker
{
public:
    DynamicWidget* ShowNoticeMenu(const std::wstring& text) override
    {
        shown.push_back(text);
        return nullptr;
    }
    std::vector<std::wstring> shown;
};
