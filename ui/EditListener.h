#pragma once

#include <string>

// Told about an edit box that names it, and asked before each change: a key,
// a character, and the whole text after an edit (false undoes the edit). The
// id is the box's widget id.
class EditListener
{
public:
    virtual ~EditListener() = default;

    // Enter was pressed.
    virtual void EditWidgetText(int id, const std::wstring& text) = 0;
    virtual bool AllowKey(int id, int key) = 0;
    virtual bool AllowChar(int id, wchar_t ch) = 0;
    virtual bool AllowText(int id, const std::wstring& text) = 0;
};
