#include "ControlsFixture.h"
#include "support/AppHarness.h"
#include "support/CountingFont.h"

#include "platform/headless/HeadlessTextCaret.h"
#include "ui/EditListener.h"
#include "ui/EditWidget.h"

namespace {

// Refuses any text that contains a 'q'; remembers what Enter sent.
class Vetoes : public EditListener
{
public:
    void EditWidgetText(int /*id*/, const std::wstring& text) override { entered.push_back(text); }
    bool AllowKey(int /*id*/, int /*key*/) override { return true; }
    bool AllowChar(int /*id*/, wchar_t ch) override { return ch != L'!'; }
    bool AllowText(int /*id*/, const std::wstring& text) override
    {
        return text.find(L'q') == std::wstring::npos;
    }
    std::vector<std::wstring> entered;
};

// A box 200 x 20 at (100, 100) with the focus; every character is 10 wide.
class EditWidgetTest : public ControlsTest
{
protected:
    EditWidget* AddBox(bool withFont = true)
    {
        auto* box = new EditWidget(&listener);
        if (withFont)
            box->SetFont(&font, false);
        box->Resize(100, 100, 200, 20);
        Manager().AddWidget(box);
        Manager().SetFocus(box);
        return box;
    }
    // A key as the window delivers it: the key, and for the editing keys
    // their control character too.
    void Press(int key, std::uint32_t ch = 0)
    {
        Harness().KeyDown(key);
        if (ch != 0)
            Harness().KeyChar(ch);
        Harness().KeyUp(key);
    }
    void WithKey(int modifier, int key, std::uint32_t ch = 0)
    {
        Harness().KeyDown(modifier);
        Press(key, ch);
        Harness().KeyUp(modifier);
    }
    void Backspace() { Press(KeyCode::Backspace, KeyCode::CharBackspace); }
    void Undo() { WithKey(KeyCode::Control, 'Z', KeyCode::CharUndo); }
    void Paste() { WithKey(KeyCode::Control, 'V', KeyCode::CharPaste); }

    FixedFont font;
    Vetoes listener;
};

TEST_F(EditWidgetTest, ARunOfTypingOrDeletingIsOneUndoStepAndASecondUndoRedoes)
{
    EditWidget* box = AddBox();
    Harness().TypeText(L"ab");
    Backspace();
    Backspace();
    EXPECT_EQ(box->GetText(), L"");
    Undo();
    EXPECT_EQ(box->GetText(), L"ab");
    EXPECT_EQ(box->GetCursor(), 2);
    Undo();
    EXPECT_EQ(box->GetText(), L"");

    // A jump elsewhere starts a new step.
    box->SetText(L"xy", true);
    Harness().TypeText(L"12");
    Press(KeyCode::Home);
    Harness().TypeText(L"3");
    Undo();
    EXPECT_EQ(box->GetText(), L"xy12");
}

TEST_F(EditWidgetTest, LimitsTrimWhatIsInsertedAndKeepTheTextThatWasThere)
{
    EditWidget* box = AddBox();
    box->SetMaxChars(3);
    App().SetClipboard("abcdef");
    Paste();
    EXPECT_EQ(box->GetText(), L"abc");
    EXPECT_EQ(box->GetCursor(), 3);

    Press(KeyCode::Home);
    Harness().TypeText(L"x");
    EXPECT_EQ(box->GetText(), L"abc");
    EXPECT_EQ(box->GetCursor(), 0);

    // 35 pixels hold three characters of the font the box must fit; typing
    // at the start keeps "ab".
    box->SetMaxChars(-1);
    box->SetMaxPixels(35);
    box->SetFont(&font, true);
    box->SetText(L"ab", true);
    Press(KeyCode::Home);
    Harness().TypeText(L"xy");
    EXPECT_EQ(box->GetText(), L"xab");
    EXPECT_EQ(box->GetCursor(), 1);
}

TEST_F(EditWidgetTest, TheBoxsOwnFontCanBeGivenBackToIt)
{
    // The font passed is the copy the box owns: it must be copied before the box lets go of it.
    EditWidget* box = AddBox();
    box->SetMaxPixels(35);
    box->SetFont(box->GetFont(), true);
    ASSERT_NE(box->GetFont(), nullptr);
    EXPECT_EQ(box->GetFont()->StringWidth(L"abc"), 30);
    Harness().TypeText(L"abcde");
    EXPECT_EQ(box->GetText(), L"abc");
}

TEST_F(EditWidgetTest, TheClipboardCarriesUtf8AndPasteFiltersLikeTyping)
{
    EditWidget* box = AddBox();
    App().SetClipboard("x\r\ny");
    Paste();
    EXPECT_EQ(box->GetText(), L"x");

    // Tabs, characters the font lacks and characters the listener refuses
    // are left out; the rest arrives whole, however many bytes it takes.
    box->SetText(L"", true);
    App().SetClipboard("\xC3\x85\t\xE2\x98\x83!\xE6\x97\xA5");
    Paste();
    EXPECT_EQ(box->GetText(), L"\u00C5\u65E5");

    WithKey(KeyCode::Shift, KeyCode::Home);
    EXPECT_EQ(box->GetAnchor(), 2);
    WithKey(KeyCode::Control, 'C', KeyCode::CharCopy);
    EXPECT_EQ(App().GetClipboard(), "\xC3\x85\xE6\x97\xA5");
    EXPECT_EQ(box->GetAnchor(), 2);
    WithKey(KeyCode::Control, 'X', KeyCode::CharCut);
    EXPECT_EQ(box->GetText(), L"");
    Undo();
    EXPECT_EQ(box->GetText(), L"\u00C5\u65E5");
}

TEST_F(EditWidgetTest, WordMovesAndADoubleClickFollowWordCharacters)
{
    EditWidget* box = AddBox();
    Harness().TypeText(L"ab cd");
    WithKey(KeyCode::Control, KeyCode::Left);
    EXPECT_EQ(box->GetCursor(), 3);
    WithKey(KeyCode::Control, KeyCode::Left);
    EXPECT_EQ(box->GetCursor(), 0);
    WithKey(KeyCode::Control, KeyCode::Right);
    EXPECT_EQ(box->GetCursor(), 3);
    WithKey(KeyCode::Control, KeyCode::Right);
    EXPECT_EQ(box->GetCursor(), 5);

    // Shift extends a selection; a plain Left then goes to its start.
    Harness().KeyDown(KeyCode::Shift);
    Press(KeyCode::Left);
    Press(KeyCode::Left);
    Harness().KeyUp(KeyCode::Shift);
    EXPECT_EQ(box->GetAnchor(), 5);
    Press(KeyCode::Left);
    EXPECT_EQ(box->GetCursor(), 3);
    EXPECT_EQ(box->GetAnchor(), -1);

    // The text starts 4 pixels in: x 135 is inside "c".
    Harness().MouseMove(135, 110);
    Harness().MouseDown(135, 110, 2);
    Harness().MouseUp(135, 110, 2);
    EXPECT_EQ(box->GetAnchor(), 3);
    EXPECT_EQ(box->GetCursor(), 5);
    Harness().TypeText(L"z");
    EXPECT_EQ(box->GetText(), L"ab z");
}

TEST_F(EditWidgetTest, ARefusedEditRestoresTextCursorAndSelection)
{
    EditWidget* box = AddBox();
    Harness().TypeText(L"ab");
    Press(KeyCode::Left);
    Harness().TypeText(L"q");
    EXPECT_EQ(box->GetText(), L"ab");
    EXPECT_EQ(box->GetCursor(), 1);

    WithKey(KeyCode::Shift, KeyCode::Right);
    Harness().TypeText(L"!"); // a refused character keeps the selection
    EXPECT_EQ(box->GetAnchor(), 1);
    App().SetClipboard("q");
    Paste();
    EXPECT_EQ(box->GetText(), L"ab");
    EXPECT_EQ(box->GetAnchor(), 1);
    EXPECT_EQ(box->GetCursor(), 2);

    Press(KeyCode::Enter, KeyCode::CharEnter);
    EXPECT_EQ(listener.entered, (std::vector<std::wstring>{L"ab"}));
}

TEST_F(EditWidgetTest, MeasuringNeedsNoDrawAndScrollingStopsAtTheCaret)
{
    EditWidget* bare = AddBox(false);
    bare->SetMaxPixels(1);
    Harness().TypeText(L"hi");
    EXPECT_EQ(bare->GetText(), L"");

    // 'W' alone is wider than the box: the text scrolls up to the caret.
    EditWidget* box = AddBox();
    box->Resize(100, 100, 30, 20);
    Harness().TypeText(L"abW");
    EXPECT_EQ(box->GetScroll(), 2);
    Press(KeyCode::Home);
    EXPECT_EQ(box->GetScroll(), 0);
}

TEST_F(EditWidgetTest, APasswordBoxDrawsItsHideCharacterButCopiesTheText)
{
    EditWidget* box = AddBox();
    box->SetHideChar(L'*');
    Harness().TypeText(L"pw");
    Harness().Redraw();
    auto drawn = static_cast<FixedFont*>(box->GetFont())->drawn;
    ASSERT_FALSE(drawn->empty());
    for (const std::wstring& text : *drawn)
        EXPECT_EQ(text, L"**");
    WithKey(KeyCode::Shift, KeyCode::Home);
    WithKey(KeyCode::Control, 'C', KeyCode::CharCopy);
    EXPECT_EQ(App().GetClipboard(), "pw");
}

TEST_F(EditWidgetTest, TheSystemCaretFollowsTheFocusedBoxWithinTheScreen)
{
    auto* caret = static_cast<HeadlessTextCaret*>(App().GetTextCaret());
    EditWidget* box = AddBox();
    EXPECT_FALSE(caret->IsShown()); // the option is off
    Manager().SetFocus(nullptr);

    App().SetUseSystemCaret(true);
    box->Move(2, 300);
    Manager().SetFocus(box);
    EXPECT_TRUE(caret->IsShown());
    EXPECT_EQ(caret->GetX(), 10);
    EXPECT_EQ(caret->GetY(), 300);
    box->Move(500, 760);
    Harness().RunTicks(1);
    EXPECT_EQ(caret->GetX(), 500);
    EXPECT_EQ(caret->GetY(), 758);

    // The caret blinks every 40 updates while focused, so the loop keeps
    // ticking for it.
    EXPECT_TRUE(box->IsCaretVisible());
    Harness().RunTicks(41);
    EXPECT_FALSE(box->IsCaretVisible());
    EXPECT_TRUE(Manager().AreTicksWanted());

    Manager().SetFocus(nullptr);
    EXPECT_FALSE(caret->IsShown());
    EXPECT_FALSE(box->IsCaretVisible());
}

// Reads the box's text as the name entry does: takes a character while the
// text is shorter than its room, never a blank first; counts what it is
// offered.
class GrowingTextRule : public EditListener
{
public:
    explicit GrowingTextRule(std::size_t room) : m_room(room) {}

    void EditWidgetText(int /*id*/, const std::wstring& /*text*/) override {}
    bool AllowKey(int /*id*/, int /*key*/) override { return true; }
    bool AllowChar(int /*id*/, wchar_t ch) override
    {
        ++offered;
        const std::wstring& text = box->GetText();
        return text.size() < m_room && (ch != L' ' || !text.empty());
    }
    bool AllowText(int /*id*/, const std::wstring& /*text*/) override { return true; }

    const EditWidget* box = nullptr;
    int offered = 0;

private:
    std::size_t m_room;
};

// 'A' followed by 'V' stands 5 pixels closer than their widths.
class KerningFont : public FixedFont
{
public:
    Font* Duplicate() const override { return new KerningFont(*this); }
    int StringWidth(const std::wstring& text) const override
    {
        int width = FixedFont::StringWidth(text);
        for (std::size_t i = 1; i < text.size(); ++i) {
            if (text[i - 1] == L'A' && text[i] == L'V')
                width -= 5;
        }
        return width;
    }
};

std::string RepeatedTo(std::size_t length, const std::string& pattern)
{
    std::string text;
    text.reserve(length);
    while (text.size() < length)
        text += pattern;
    text.resize(length);
    return text;
}

// A paste is offered to the listener and to the limits a character at a
// time, with the text as it grows, and stops where nothing more is kept:
// the counting font shows the work follows what is kept, not the clipboard.
class EditWidgetPasteTest : public EditWidgetTest
{
protected:
    EditWidget* AddRuledBox(std::size_t room)
    {
        rule = std::make_unique<GrowingTextRule>(room);
        auto* box = new EditWidget(rule.get());
        rule->box = box;
        box->SetFont(&counting, false);
        box->Resize(100, 100, 200, 20);
        Manager().AddWidget(box);
        Manager().SetFocus(box);
        return box;
    }
    // Pastes and returns how many characters the box measured doing it.
    std::size_t MeasuredByPaste(const std::string& clipboard)
    {
        App().SetClipboard(clipboard);
        counting.ResetCount();
        rule->offered = 0;
        Paste();
        return counting.MeasuredCharacters();
    }

    CountingFont counting{font};
    std::unique_ptr<GrowingTextRule> rule;
};

TEST_F(EditWidgetPasteTest, EachPastedCharacterIsOfferedWithTheTextAsItHasGrown)
{
    EditWidget* box = AddRuledBox(4);
    MeasuredByPaste(" ab cdefgh");
    EXPECT_EQ(box->GetText(), L"ab c");
    EXPECT_EQ(box->GetCursor(), 4);
    Undo();
    EXPECT_EQ(box->GetText(), L"") << "the paste is one undo step";

    // Into the middle: the listener sees the characters after the caret too.
    box->SetText(L"xy", true);
    Press(KeyCode::Left);
    MeasuredByPaste("abc");
    EXPECT_EQ(box->GetText(), L"xaby");
    EXPECT_EQ(box->GetCursor(), 3);
}

TEST_F(EditWidgetPasteTest, ALongPasteStopsAtTheCharacterLimit)
{
    EditWidget* box = AddRuledBox(100);
    box->SetMaxChars(10);
    for (std::size_t length : {std::size_t{100000}, std::size_t{1000000}}) {
        box->SetText(L"", true);
        const std::size_t measured = MeasuredByPaste(RepeatedTo(length, "abcdefghijklmnopqrstuvwxyz"));
        EXPECT_EQ(box->GetText(), L"abcdefghij") << length;
        EXPECT_EQ(rule->offered, 10) << length;
        EXPECT_LT(measured, 200u) << length;
    }

    // In place of a selection, with the text after it kept.
    Press(KeyCode::Home);
    Press(KeyCode::Right);
    WithKey(KeyCode::Shift, KeyCode::Right);
    WithKey(KeyCode::Shift, KeyCode::Right);
    MeasuredByPaste(RepeatedTo(100000, "XYZ"));
    EXPECT_EQ(box->GetText(), L"aXYdefghij");
    EXPECT_EQ(rule->offered, 2);
    EXPECT_EQ(box->GetCursor(), 3);
}

TEST_F(EditWidgetPasteTest, ALongPasteStopsAtThePixelLimit)
{
    EditWidget* box = AddRuledBox(2000000);
    box->SetMaxPixels(100);
    box->SetFont(&counting, true);
    for (std::size_t length : {std::size_t{100000}, std::size_t{1000000}}) {
        box->SetText(L"", true);
        const std::size_t measured = MeasuredByPaste(std::string(length, 'a'));
        EXPECT_EQ(box->GetText(), std::wstring(10, L'a')) << length;
        EXPECT_LE(rule->offered, 11) << length;
        EXPECT_LT(measured, 300u) << length;
    }

    // Whatever follows a character too wide is left out with it.
    box->SetMaxPixels(60);
    box->SetText(L"", true);
    MeasuredByPaste("aaaaWa");
    EXPECT_EQ(box->GetText(), L"aaaa");
}

TEST_F(EditWidgetPasteTest, ThePixelLimitCountsTheKerningOfTheCharactersAround)
{
    KerningFont kerning;
    EditWidget* box = AddRuledBox(100);
    box->SetFont(&kerning, true);
    box->SetMaxPixels(35);
    MeasuredByPaste("AVAVAV");
    EXPECT_EQ(box->GetText(), L"AVAV"); // 10, 15, 25, 30, then 40

    box->SetMaxPixels(25);
    box->SetText(L"AA", true);
    Press(KeyCode::Left);
    MeasuredByPaste("VV");
    EXPECT_EQ(box->GetText(), L"AVA");
}

TEST_F(EditWidgetPasteTest, APasteIntoABoxWithoutLimitsCostsInProportionToWhatItKeeps)
{
    EditWidget* box = AddRuledBox(2000000);
    const std::size_t length = 100000;
    const std::size_t measured = MeasuredByPaste(std::string(length, 'a') + "\n" + std::string(length, 'b'));
    ASSERT_EQ(box->GetText(), std::wstring(length, L'a'));
    EXPECT_EQ(rule->offered, static_cast<int>(length));
    EXPECT_LT(measured, 10 * length);
    // Scrolled by tens until the caret shows: 19 characters fill the box's
    // 192 pixels.
    EXPECT_EQ(box->GetScroll(), static_cast<int>(length) - 10);
}

} // namespace
