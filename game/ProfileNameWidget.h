#pragma once

#include "graphics/Rect.h"
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
    // The whole name keeps the rule: each character would have been accepted
    // after the ones before it.
    static bool FollowsNameRule(const std::wstring& name);

    // The selected look.
    void Refresh();
    void Deselect();
    // The profile was deleted: the slot is free again.
    void ClearName();
    // Typing reaches the name only while the menu has the slot in editing
    // (a free slot just selected), so a named player is never renamed or
    // emptied by keys that land on its button.
    void SetEditing(bool editing);
    void KeyChar(int ch) override;
    // While the slot is in editing and has the focus, a caret blinks where
    // the next character goes, as in the name entry's field.
    void GotFocus() override;
    void LostFocus() override;
    void UpdateFrame() override;
    void Draw(Graphics* g) override;
    bool IsCaretVisible() const { return m_caretVisible; }
    // The caret's bar in the widget's coordinates (empty while not editing).
    Rect GetCaretRect();

    bool HasNoName() const { return m_noName; }
    // The name typed so far (empty while the slot shows its placeholder).
    std::wstring GetName() const { return m_noName ? std::wstring() : GetLabel(); }

private:
    bool ShowsCaret() const { return m_editing && HasFocus(); }
    void RestartBlink();
    void PlaceSystemCaret();

    bool m_noName{true};
    bool m_editing{false};
    PlayerSelectMenu* m_owner{nullptr};
    bool m_caretVisible{false};
    int m_blinkCounter{0};
};
