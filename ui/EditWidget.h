#pragma once

#include "ui/ColorWidget.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class EditListener;
class Font;

// The one-line text entry: draws its own box, text, caret and selection with
// the table colours (0 background, 1 border, 2 text, 3 caret and selection,
// 4 selected text); edits with the keyboard and the mouse, with a selection,
// word-wise moves, copy, cut and paste through the application's clipboard,
// one level of undo (a run of typing or deleting is one step), a character
// limit, a pixel-width limit and a password mode. Every change is offered to
// the listener, which can refuse a key, a character or the resulting text.
//
// Limits trim what an edit inserts, never the text that was already there.
// A paste takes the clipboard's first line a character at a time, each one
// offered to the listener against the text as it has grown, and stops where
// nothing more fits: its work follows what it keeps, not the clipboard.
// With the application's system-caret option the box keeps the system's text
// caret (where input methods show their text) at its position while focused.
class EditWidget : public ColorWidget
{
public:
    using Widget::MouseDown;
    using Widget::MouseUp;

    explicit EditWidget(EditListener* listener);
    ~EditWidget() override;

    void UpdateFrame() override;
    void Draw(Graphics* g) override;
    bool WantsFocus() override;
    void GotFocus() override;
    void LostFocus() override;
    void KeyChar(int ch) override;
    void KeyDown(int key) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(int x, int y, int button, int clicks) override;
    void MouseUp(int x, int y, int button, int clicks) override;
    void MouseDrag(int x, int y) override;

    // key is a key code (see KeyCodes.h) or 0; ch a typed character or 0.
    virtual void ProcessKey(int key, wchar_t ch);
    // Selects the word around the caret.
    virtual void HiliteWord();
    // Keeps a copy of the font; with constrainWidth the text must also fit
    // the pixel limit in it.
    virtual void SetFont(Font* font, bool constrainWidth);
    virtual void SetText(const std::wstring& text, bool resetScroll);
    virtual bool IsPartOfWord(wchar_t ch);
    // The caret position nearest to a point of the box.
    virtual int GetCharAt(int x, int y);
    virtual void Resize(float x, float y, int width, int height);
    // Scrolls the text so the caret shows, by 10 characters a step when
    // bigJump, else by one.
    virtual void FocusCursor(bool bigJump);

    const std::wstring& GetText() const { return m_text; }
    int GetCursor() const { return m_cursor; }
    int GetAnchor() const { return m_anchor; }
    int GetScroll() const { return m_scroll; }
    Font* GetFont() const { return m_font.get(); }
    void SetMaxChars(int maxChars) { m_maxChars = maxChars; }
    void SetMaxPixels(int maxPixels) { m_maxPixels = maxPixels; }
    void SetHideChar(wchar_t hideChar);
    void SetBlinkPeriod(int updates) { m_blinkPeriod = updates; }
    bool IsCaretVisible() const { return m_caretVisible; }

private:
    // What an edit can be undone to, and what a refused edit returns to.
    struct EditState
    {
        std::wstring text;
        int cursor = 0;
        int anchor = -1;
        std::wstring undoText;
        int undoCursor = 0;
        int undoAnchor = -1;
        int lastEditPos = 0;
    };
    // The part of the text one key inserted.
    struct Insertion
    {
        int position = 0;
        int length = 0;
    };
    // What one key did: whether it starts an undo step and keeps the
    // selection, and what it inserted.
    struct KeyEffect
    {
        bool newUndoStep = false;
        bool clearSelection = true;
        Insertion insertion;
    };
    // A width the text must keep in one font, and the text's width in it.
    struct WidthLimit
    {
        Font* font = nullptr;
        int limit = 0;
        int width = 0;
    };

    bool HasSelection() const;
    int SelectionStart() const;
    int SelectionEnd() const;
    // Removes the selection; the caret goes to its start.
    void DeleteSelection();
    // Inserts at the caret in place of any selection; the caret moves past it.
    Insertion InsertText(const std::wstring& text);

    void Copy() const;
    void Paste(KeyEffect& effect);
    Insertion InsertPasted(std::string_view clipboard);
    void Backspace(KeyEffect& effect);
    void Delete(KeyEffect& effect);
    void MoveLeft(bool control, bool shift);
    void MoveRight(bool control, bool shift);
    void TypeCharacter(wchar_t ch, KeyEffect& effect);
    bool CanType(wchar_t ch);
    bool IsFull() const;
    // The pixel limits in force, their widths not yet measured.
    std::vector<WidthLimit> WidthLimits();
    // Whether ch fits every limit at the caret; when it does, the limits'
    // widths grow by it.
    bool FitsWidthLimits(std::vector<WidthLimit>& limits, wchar_t ch);
    void ApplyLimits(Insertion insertion);
    // Removes count characters at a position, keeping the caret and the
    // anchor on the characters they were at.
    void RemoveText(int position, int count);

    EditState SaveState() const;
    void RestoreState(const EditState& state);

    // The font the box measures and draws with; the fallback font is made
    // when none was given, so measuring never waits for the first draw.
    Font* MeasureFont();
    const std::wstring& ShownText();
    int ShownWidth(int from, int to);
    // The width the shown characters from..to add to those before them.
    int ShownGrowth(int from, int to);
    void PlaceCaret();

    std::wstring m_text;
    std::wstring m_displayText;
    std::unique_ptr<Font> m_font;
    std::vector<std::pair<std::unique_ptr<Font>, int>> m_widthFonts;
    EditListener* m_listener = nullptr;
    bool m_caretVisible = false;
    bool m_doubleClicked = false;
    int m_cursor = 0;
    int m_anchor = -1;
    int m_blinkCounter = 0;
    int m_blinkPeriod = 40;
    int m_scroll = 0;
    int m_maxChars = -1;
    int m_maxPixels = -1;
    wchar_t m_hideChar = 0;
    std::wstring m_undoText;
    int m_undoCursor = 0;
    int m_undoAnchor = -1;
    // No one-character edit yet: matches no caret position.
    int m_lastEditPos = -2;
};
