#pragma once

#include "ui/ButtonWidget.h"

#include <string>

class PlayerSelectMenu;

// One profile slot on the player screen: a button labelled with the player's
// name, or "no_name" while the slot is free. Selected, a free slot takes the
// name typed into it.
class ProfileNameWidget : public ButtonWidget
{
public:
    static constexpr int kMaxNameLength = 10;

    // Centred on x.
    ProfileNameWidget(int x, int y, const std::wstring& name, PlayerSelectMenu* owner);

    // The name rule: fewer than 10 characters so far, no control characters,
    // no blank at the start, never '"' or '\'.
    static bool AllowNameChar(const std::wstring& name, int ch);

    // The selected look.
    void Refresh();
    void Deselect();
    // The profile was deleted: the slot is free again.
    void Clear();
    // Typing reaches the name only while the menu has the slot in editing
    // (a free slot just selected), so a named player is never renamed or
    // emptied by keys that land on its button.
    void SetEditing(bool editing) { m_editing = editing; }
    void KeyChar(int ch) override;

    bool HasNoName() const { return m_noName; }
    // The name typed so far (empty while the slot shows its placeholder).
    std::wstring GetName() const { return m_noName ? std::wstring() : GetLabel(); }

private:
    bool m_noName{true};
    bool m_editing{false};
    PlayerSelectMenu* m_owner{nullptr};
};
