#include "ui/EditWidget.h"

#include "base/Common.h"
#include "base/Utf8.h"
#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/SysFont.h"
#include "platform/KeyCodes.h"
#include "ui/EditListener.h"
#include "ui/WidgetHost.h"
#include "ui/WidgetManager.h"

#include <algorithm>

namespace {

enum TableColor
{
    kBackground = 0,
    kBorder = 1,
    kTextColor = 2,
    kCaretColor = 3,
    kSelectedText = 4,
};

constexpr int kArrowCursor = 0;
constexpr int kTextCursor = 3;
// The text starts this far in; the caret stays this far from the right edge.
constexpr int kTextInset = 4;
constexpr int kInsets = 8;
constexpr int kCaretWidth = 2;
// The system caret stays this far inside the application area.
constexpr int kCaretMargin = 10;
constexpr int kBigScrollStep = 10;
// Matches no caret position: the next one-character edit starts an undo step.
constexpr int kNoEdit = -2;

constexpr wchar_t kFirstPrintable = 0x20;

// How much wider a text grows when ch stands between left and right, the
// text on either side of it. A font measures a text as its characters'
// advances and a kerning for each pair of neighbours, so the neighbours are
// all that needs measuring: a long text is measured once, not once per
// character added to it or taken from it.
int AddedWidth(const Font& font, std::wstring_view left, wchar_t ch, std::wstring_view right)
{
    std::wstring with;
    std::wstring without;
    if (!left.empty()) {
        with += left.back();
        without += left.back();
    }
    with += ch;
    if (!right.empty()) {
        with += right.front();
        without += right.front();
    }
    return font.StringWidth(with) - (without.empty() ? 0 : font.StringWidth(without));
}

} // namespace

EditWidget::EditWidget(EditListener* listener) : m_listener(listener)
{
    SetColors();
}

EditWidget::~EditWidget() = default;

// ---------------------------------------------------------------------------
// Set-up

void EditWidget::SetFont(Font* font, bool constrainWidth)
{
    // The font given may be one this box owns (its own font or a width font): take both copies before
    // anything is freed.
    std::unique_ptr<Font> own(font != nullptr ? font->Duplicate() : nullptr);
    std::unique_ptr<Font> widthFont(constrainWidth && font != nullptr ? font->Duplicate() : nullptr);
    m_font = std::move(own);
    m_widthFonts.clear();
    if (widthFont)
        m_widthFonts.emplace_back(std::move(widthFont), -1);
    MarkDirty();
}

void EditWidget::SetText(const std::wstring& text, bool resetScroll)
{
    m_text = text;
    m_cursor = static_cast<int>(m_text.size());
    m_anchor = -1;
    if (resetScroll)
        m_scroll = 0;
    else
        FocusCursor(true);
    MarkDirty();
}

void EditWidget::SetHideChar(wchar_t hideChar)
{
    m_hideChar = hideChar;
    m_displayText.clear();
    MarkDirty();
}

bool EditWidget::IsPartOfWord(wchar_t ch)
{
    return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z') || (ch >= L'0' && ch <= L'9') ||
           ch == L'_' || ch == 0;
}

void EditWidget::Resize(float x, float y, int width, int height)
{
    Widget::Resize(x, y, width, height);
    FocusCursor(false);
}

// ---------------------------------------------------------------------------
// Keys

bool EditWidget::WantsFocus()
{
    return true;
}

void EditWidget::KeyDown(int key)
{
    // Letters arrive as characters; 'Z' is passed on for Ctrl+Z.
    const bool letter = key >= 'A' && key <= 'Y';
    if (!letter && (m_listener == nullptr || m_listener->AllowKey(m_id, key)))
        ProcessKey(key, 0);
    Widget::KeyDown(key);
}

void EditWidget::KeyChar(int ch)
{
    ProcessKey(0, static_cast<wchar_t>(ch));
}

void EditWidget::ProcessKey(int key, wchar_t ch)
{
    if (key == KeyCode::Shift || key == KeyCode::Control)
        return;
    const bool shift = m_manager != nullptr && m_manager->IsKeyDown(KeyCode::Shift);
    const bool control = m_manager != nullptr && m_manager->IsKeyDown(KeyCode::Control);
    const EditState before = SaveState();
    if (shift && m_anchor == -1)
        m_anchor = m_cursor;

    KeyEffect effect;
    effect.clearSelection = !shift;
    if (ch == KeyCode::CharCopy) {
        Copy();
        effect.clearSelection = false;
    } else if (ch == KeyCode::CharCut) {
        if (HasSelection()) {
            Copy();
            DeleteSelection();
            effect.newUndoStep = true;
        }
    } else if (ch == KeyCode::CharPaste) {
        Paste(effect);
    } else if (ch == KeyCode::CharUndo) {
        m_lastEditPos = kNoEdit;
        std::swap(m_text, m_undoText);
        std::swap(m_cursor, m_undoCursor);
        std::swap(m_anchor, m_undoAnchor);
        effect.clearSelection = false;
    } else if (key == KeyCode::Left) {
        MoveLeft(control, shift);
    } else if (key == KeyCode::Right) {
        MoveRight(control, shift);
    } else if (key == KeyCode::Backspace) {
        Backspace(effect);
    } else if (key == KeyCode::Delete) {
        Delete(effect);
    } else if (key == KeyCode::Home) {
        m_cursor = 0;
    } else if (key == KeyCode::End) {
        m_cursor = static_cast<int>(m_text.size());
    } else if (key == KeyCode::Enter) {
        if (m_listener != nullptr)
            m_listener->EditWidgetText(m_id, m_text);
    } else {
        TypeCharacter(ch, effect);
    }

    ApplyLimits(effect.insertion);
    const int length = static_cast<int>(m_text.size());
    m_cursor = std::clamp(m_cursor, 0, length);
    m_anchor = std::min(m_anchor, length);
    if (m_cursor != before.cursor) {
        m_blinkCounter = 0;
        m_caretVisible = true;
    }
    FocusCursor(true);
    if (effect.clearSelection || m_anchor == m_cursor)
        m_anchor = -1;

    if (m_listener != nullptr && !m_listener->AllowText(m_id, m_text)) {
        RestoreState(before);
        FocusCursor(true);
    } else if (effect.newUndoStep) {
        m_undoText = before.text;
        m_undoCursor = before.cursor;
        m_undoAnchor = before.anchor;
    }
    MarkDirty();
}

void EditWidget::Copy() const
{
    if (WidgetHost* host = GetHost(); HasSelection() && host != nullptr)
        host->SetClipboard(
            WStringToString(m_text.substr(SelectionStart(), SelectionEnd() - SelectionStart())));
}

void EditWidget::Paste(KeyEffect& effect)
{
    WidgetHost* host = GetHost();
    const std::string clipboard = host != nullptr ? host->GetClipboard() : std::string();
    const bool replacesSelection = HasSelection();
    if (replacesSelection)
        DeleteSelection();
    effect.insertion = InsertPasted(clipboard);
    effect.newUndoStep = replacesSelection || effect.insertion.length > 0;
}

EditWidget::Insertion EditWidget::InsertPasted(std::string_view clipboard)
{
    // Decoded as it is taken: the clipboard past the first line break, or
    // past the point where the box is full, is never looked at.
    Insertion insertion{m_cursor, 0};
    std::vector<WidthLimit> limits = WidthLimits();
    for (WidthLimit& limit : limits)
        limit.width = limit.font->StringWidth(m_text);
    std::size_t position = 0;
    while (position < clipboard.size() && !IsFull()) {
        const auto ch = static_cast<wchar_t>(DecodeUtf8(clipboard, position));
        if (ch == L'\r' || ch == L'\n')
            break;
        // Asked with what was pasted so far already in the text, so a rule
        // on the whole text holds for a paste as it does for typing.
        if (!CanType(ch))
            continue;
        // Whatever follows a character that is too wide would be cut with it.
        if (!FitsWidthLimits(limits, ch))
            break;
        m_text.insert(static_cast<std::size_t>(m_cursor), 1, ch);
        ++m_cursor;
        ++insertion.length;
    }
    return insertion;
}

void EditWidget::Backspace(KeyEffect& effect)
{
    if (m_text.empty())
        return;
    if (HasSelection()) {
        DeleteSelection();
        effect.newUndoStep = true;
        return;
    }
    if (m_cursor <= 0)
        return;
    if (m_cursor != m_lastEditPos)
        effect.newUndoStep = true;
    --m_cursor;
    m_text.erase(static_cast<std::size_t>(m_cursor), 1);
    m_lastEditPos = m_cursor;
}

void EditWidget::Delete(KeyEffect& effect)
{
    if (m_text.empty())
        return;
    if (HasSelection()) {
        DeleteSelection();
        effect.newUndoStep = true;
        return;
    }
    if (m_cursor >= static_cast<int>(m_text.size()))
        return;
    if (m_cursor != m_lastEditPos)
        effect.newUndoStep = true;
    m_text.erase(static_cast<std::size_t>(m_cursor), 1);
    m_lastEditPos = m_cursor;
}

void EditWidget::MoveLeft(bool control, bool shift)
{
    if (control) {
        while (m_cursor > 0 && !IsPartOfWord(m_text[m_cursor - 1]))
            --m_cursor;
        while (m_cursor > 0 && IsPartOfWord(m_text[m_cursor - 1]))
            --m_cursor;
    } else if (HasSelection() && !shift) {
        m_cursor = SelectionStart();
    } else {
        --m_cursor;
    }
}

void EditWidget::MoveRight(bool control, bool shift)
{
    const int last = static_cast<int>(m_text.size()) - 1;
    if (control) {
        while (m_cursor < last && IsPartOfWord(m_text[m_cursor + 1]))
            ++m_cursor;
        while (m_cursor < last && !IsPartOfWord(m_text[m_cursor + 1]))
            ++m_cursor;
    }
    if (HasSelection() && !shift)
        m_cursor = SelectionEnd();
    else
        ++m_cursor;
}

void EditWidget::TypeCharacter(wchar_t ch, KeyEffect& effect)
{
    if (!CanType(ch)) {
        effect.clearSelection = false;
        return;
    }
    if (HasSelection()) {
        effect.newUndoStep = true;
        m_lastEditPos = SelectionStart();
    } else {
        if (m_cursor != m_lastEditPos + 1)
            effect.newUndoStep = true;
        m_lastEditPos = m_cursor;
    }
    effect.insertion = InsertText(std::wstring(1, ch));
    m_anchor = -1;
    FocusCursor(false);
}

bool EditWidget::CanType(wchar_t ch)
{
    return ch >= kFirstPrintable && MeasureFont()->StringWidth(std::wstring(1, ch)) > 0 &&
           (m_listener == nullptr || m_listener->AllowChar(m_id, ch));
}

// ---------------------------------------------------------------------------
// Text and selection

bool EditWidget::HasSelection() const
{
    return m_anchor != -1 && m_anchor != m_cursor;
}

int EditWidget::SelectionStart() const
{
    return std::min(m_anchor, m_cursor);
}

int EditWidget::SelectionEnd() const
{
    return std::max(m_anchor, m_cursor);
}

void EditWidget::DeleteSelection()
{
    const int start = SelectionStart();
    m_text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(SelectionEnd() - start));
    m_cursor = start;
    m_anchor = -1;
}

EditWidget::Insertion EditWidget::InsertText(const std::wstring& text)
{
    if (HasSelection())
        DeleteSelection();
    m_text.insert(static_cast<std::size_t>(m_cursor), text);
    const Insertion insertion{m_cursor, static_cast<int>(text.size())};
    m_cursor += insertion.length;
    return insertion;
}

bool EditWidget::IsFull() const
{
    return m_maxChars >= 0 && static_cast<int>(m_text.size()) >= m_maxChars;
}

std::vector<EditWidget::WidthLimit> EditWidget::WidthLimits()
{
    std::vector<WidthLimit> limits;
    if (m_widthFonts.empty()) {
        if (m_maxPixels > 0)
            limits.push_back({MeasureFont(), m_maxPixels, 0});
        return limits;
    }
    for (const auto& [font, width] : m_widthFonts) {
        const int limit = width <= 0 ? m_maxPixels : width;
        if (limit > 0)
            limits.push_back({font.get(), limit, 0});
    }
    return limits;
}

bool EditWidget::FitsWidthLimits(std::vector<WidthLimit>& limits, wchar_t ch)
{
    const std::wstring_view text(m_text);
    const auto caret = static_cast<std::size_t>(m_cursor);
    std::vector<int> grown;
    grown.reserve(limits.size());
    for (const WidthLimit& limit : limits) {
        grown.push_back(limit.width + AddedWidth(*limit.font, text.substr(0, caret), ch, text.substr(caret)));
        if (grown.back() > limit.limit)
            return false;
    }
    for (std::size_t i = 0; i < limits.size(); ++i)
        limits[i].width = grown[i];
    return true;
}

void EditWidget::ApplyLimits(Insertion insertion)
{
    // What this key inserted goes first, from its end; only text that was
    // already too long is cut at its own end.
    const int length = static_cast<int>(m_text.size());
    if (m_maxChars >= 0 && length > m_maxChars) {
        const int excess = length - m_maxChars;
        const int inserted = std::min(excess, insertion.length);
        insertion.length -= inserted;
        RemoveText(insertion.position + insertion.length, inserted);
        RemoveText(m_maxChars, excess - inserted);
    }
    for (WidthLimit& limit : WidthLimits()) {
        limit.width = limit.font->StringWidth(m_text);
        while (!m_text.empty() && limit.width > limit.limit) {
            int at = static_cast<int>(m_text.size()) - 1;
            if (insertion.length > 0)
                at = insertion.position + --insertion.length;
            const std::wstring_view text(m_text);
            const auto index = static_cast<std::size_t>(at);
            limit.width -= AddedWidth(*limit.font, text.substr(0, index), text[index], text.substr(index + 1));
            RemoveText(at, 1);
        }
    }
}

void EditWidget::RemoveText(int position, int count)
{
    if (count <= 0)
        return;
    m_text.erase(static_cast<std::size_t>(position), static_cast<std::size_t>(count));
    if (m_cursor > position)
        m_cursor -= std::min(count, m_cursor - position);
    if (m_anchor > position)
        m_anchor -= std::min(count, m_anchor - position);
}

EditWidget::EditState EditWidget::SaveState() const
{
    return {m_text, m_cursor, m_anchor, m_undoText, m_undoCursor, m_undoAnchor, m_lastEditPos};
}

void EditWidget::RestoreState(const EditState& state)
{
    m_text = state.text;
    m_cursor = state.cursor;
    m_anchor = state.anchor;
    m_undoText = state.undoText;
    m_undoCursor = state.undoCursor;
    m_undoAnchor = state.undoAnchor;
    m_lastEditPos = state.lastEditPos;
}

void EditWidget::HiliteWord()
{
    const int length = static_cast<int>(m_text.size());
    if (m_cursor >= length)
        return;
    m_anchor = m_cursor;
    while (m_anchor > 0 && IsPartOfWord(m_text[m_anchor - 1]))
        --m_anchor;
    while (m_cursor < length - 1 && IsPartOfWord(m_text[m_cursor + 1]))
        ++m_cursor;
    ++m_cursor;
}

// ---------------------------------------------------------------------------
// Measuring and scrolling

Font* EditWidget::MeasureFont()
{
    if (!m_font)
        m_font = std::make_unique<SysFont>(L"Arial Unicode MS", 10);
    return m_font.get();
}

const std::wstring& EditWidget::ShownText()
{
    if (m_hideChar == 0)
        return m_text;
    if (m_displayText.size() != m_text.size())
        m_displayText.assign(m_text.size(), m_hideChar);
    return m_displayText;
}

int EditWidget::ShownWidth(int from, int to)
{
    const std::wstring& shown = ShownText();
    const int length = static_cast<int>(shown.size());
    from = std::clamp(from, 0, length);
    to = std::clamp(to, 0, length);
    if (to <= from)
        return 0;
    return MeasureFont()->StringWidth(
        shown.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)));
}

int EditWidget::ShownGrowth(int from, int to)
{
    const std::wstring_view shown(ShownText());
    Font* font = MeasureFont();
    int growth = 0;
    for (int i = from; i < to; ++i) {
        const auto index = static_cast<std::size_t>(i);
        growth += AddedWidth(*font, shown.substr(0, index), shown[index], {});
    }
    return growth;
}

void EditWidget::FocusCursor(bool bigJump)
{
    const int step = bigJump ? kBigScrollStep : 1;
    while (m_cursor < m_scroll) {
        m_scroll = std::max(0, m_scroll - step);
        MarkDirty();
    }
    const int room = m_width - kInsets;
    if (room <= 0)
        return;
    // Never past the caret: a glyph wider than the box would otherwise never
    // fit and the scrolling never end.
    const int furthest = std::max(0, std::min(m_cursor, static_cast<int>(m_text.size()) - 1));
    if (m_scroll >= furthest)
        return;
    // Each width is measured once and then grown by the characters the
    // scroll passes, so a long text costs one pass, not one per step.
    const int caretWidth = ShownWidth(0, m_cursor);
    int scrollWidth = ShownWidth(0, m_scroll);
    while (m_scroll < furthest && caretWidth > room + scrollWidth) {
        const int next = std::min(m_scroll + step, furthest);
        scrollWidth += ShownGrowth(m_scroll, next);
        m_scroll = next;
        MarkDirty();
    }
}

int EditWidget::GetCharAt(int x, int /*y*/)
{
    // Counted from the first character shown, so a click left of it puts the
    // caret there rather than at the start of the text.
    int result = m_scroll;
    const std::wstring_view shown(ShownText());
    Font* font = MeasureFont();
    int before = 0;
    for (int i = m_scroll; i < static_cast<int>(shown.size()); ++i) {
        const auto index = static_cast<std::size_t>(i);
        const auto scroll = static_cast<std::size_t>(m_scroll);
        const int through = before + AddedWidth(*font, shown.substr(scroll, index - scroll), shown[index], {});
        if (x >= (before + through) / 2 + 5)
            result = i + 1;
        before = through;
    }
    return result;
}

// ---------------------------------------------------------------------------
// Mouse

void EditWidget::MouseDown(int x, int y, int /*button*/, int clicks)
{
    m_anchor = -1;
    m_cursor = GetCharAt(x, y);
    if (clicks > 1) {
        m_doubleClicked = true;
        HiliteWord();
    }
    MarkDirty();
    FocusCursor(false);
}

void EditWidget::MouseDrag(int x, int y)
{
    if (m_anchor == -1)
        m_anchor = m_cursor;
    m_cursor = GetCharAt(x, y);
    MarkDirty();
    FocusCursor(false);
}

void EditWidget::MouseUp(int x, int y, int /*button*/, int /*clicks*/)
{
    if (m_anchor == m_cursor)
        m_anchor = -1;
    if (m_doubleClicked) {
        m_anchor = -1;
        m_cursor = GetCharAt(x, y);
        m_doubleClicked = false;
        HiliteWord();
    }
    MarkDirty();
}

void EditWidget::MouseEnter()
{
    if (WidgetHost* host = GetHost())
        host->SetCursor(kTextCursor);
}

void EditWidget::MouseLeave()
{
    if (WidgetHost* host = GetHost())
        host->SetCursor(kArrowCursor);
}

// ---------------------------------------------------------------------------
// Focus, caret and drawing

void EditWidget::GotFocus()
{
    Widget::GotFocus();
    PlaceCaret();
    m_caretVisible = true;
    m_blinkCounter = 0;
    MarkDirty();
}

void EditWidget::LostFocus()
{
    Widget::LostFocus();
    if (WidgetHost* host = GetHost(); host != nullptr && host->UsesSystemCaret())
        host->HideTextCaret();
    m_caretVisible = false;
    MarkDirty();
}

void EditWidget::PlaceCaret()
{
    WidgetHost* host = GetHost();
    if (host == nullptr || !host->UsesSystemCaret())
        return;
    const Vector4 origin = GetScreenOrigin();
    const int x =
        std::max(kCaretMargin, std::min(static_cast<int>(origin.x), host->GetWidth() - kCaretMargin));
    const int y =
        std::max(kCaretMargin, std::min(static_cast<int>(origin.y), host->GetHeight() - kCaretMargin));
    host->PlaceTextCaret(x, y);
}

void EditWidget::UpdateFrame()
{
    if (!m_hasFocus)
        return;
    // The caret blinks while the box has the focus.
    WantTicks();
    PlaceCaret();
    if (++m_blinkCounter > m_blinkPeriod) {
        MarkDirty();
        m_blinkCounter = 0;
        m_caretVisible = !m_caretVisible;
    }
}

void EditWidget::Draw(Graphics* g)
{
    Font* font = MeasureFont();
    g->SetColor(GetColor(kBackground));
    g->FillRect(0, 0, m_width, m_height);

    const std::wstring& shown = ShownText();
    const int top = (m_height - font->GetHeight()) / 2;
    const int baseline = top + font->GetAscent();
    const GraphicsState saved = g->GetState();
    g->SetFont(font);

    g->ClipRect(0, 0, m_width, m_height);
    g->SetColor(GetColor(kTextColor));
    g->WriteString(shown, kTextInset, baseline, -1, -1, true, m_scroll);
    g->SetState(saved);

    const int limit = std::max(0, m_width - kInsets);
    const int caretX = ShownWidth(m_scroll, m_cursor);
    const int from = std::clamp(caretX + (m_caretVisible ? 0 : kCaretWidth), 0, limit);
    const int to =
        std::clamp(m_anchor != -1 ? ShownWidth(m_scroll, m_anchor) : caretX + kCaretWidth, 0, limit);
    g->SetFont(font);
    g->ClipRect(kTextInset + std::min(from, to), top, std::abs(to - from), font->GetHeight());
    if (m_hasFocus) {
        g->SetColor(GetColor(kCaretColor));
        g->FillRect(0, 0, m_width, m_height);
        g->SetColor(GetColor(kSelectedText));
    } else {
        g->SetColor(GetColor(kTextColor));
    }
    g->WriteString(shown, kTextInset, baseline, -1, -1, true, m_scroll);
    g->SetState(saved);

    g->SetColor(GetColor(kBorder));
    g->DrawRect(0, 0, m_width, m_height);
}
