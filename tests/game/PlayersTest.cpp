#include "GameTestApp.h"
#include "support/AppHarness.h"
#include "support/CountingFont.h"
#include "support/SavedFiles.h"

#include "app/NoticeMenu.h"
#include "game/ConfirmDeleteMenu.h"
#include "game/EnterNameMenu.h"
#include "game/MyTitleScreen.h"
#include "game/PlayerSelectMenu.h"
#include "game/ProfileNameWidget.h"
#include "puzzle/ProfileList.h"
#include "ui/EditWidget.h"
#include "puzzle/ProfileManager.h"
#include "graphics/Image.h"
#include "ui/ButtonWidget.h"

#include <filesystem>
#include <fstream>

namespace {

TEST(NameRuleTest, TenCharactersNoLeadingBlankNoQuoteOrBackslash)
{
    struct Case
    {
        const wchar_t* name;
        int ch;
        bool allowed;
    };
    const Case cases[] = {{L"", 'A', true},        {L"", ' ', false},          {L"Ann", ' ', true},
                          {L"Ann", '"', false},    {L"Ann", '\\', false},      {L"", '"', false},
                          {L"Ann", 31, false},     {L"Annabellee", 'x', false}, {L"Annabelle", 'x', true},
                          {L"Ann", L'\u00e9', true}};
    for (const Case& c : cases)
        EXPECT_EQ(ProfileNameWidget::AllowNameChar(c.name, c.ch), c.allowed) << c.name << " + " << c.ch;
}

class PlayersTest : public GameTest
{
protected:
    PlayerSelectMenu* Open()
    {
        auto* menu = new PlayerSelectMenu(Game());
        menu->Show();
        Harness().RunTicks(1);
        return menu;
    }
    void Press(PlayerSelectMenu* menu, ButtonWidget* button) { menu->ButtonDepress(button->GetId()); }
    bool ButtonsShown(PlayerSelectMenu* menu)
    {
        return menu->GetMenuButton()->IsVisible() && menu->GetDeleteButton()->IsVisible() &&
               menu->GetPlayButton()->IsVisible();
    }
    void ClickCentre(Widget* widget)
    {
        Harness().ClickCentre(widget);
        // The pointer goes away, so the button shows its resting look.
        Harness().MouseMove(5, 5);
        Harness().RunTicks(30);
    }
    // The slot's name button shows the selected look.
    static bool LooksSelected(ProfileNameWidget* button) { return button->GetFrame() == 2; }
    static ProfileList Saved() { return ReadSavedProfiles(); }
};

// The whole round on the screen, by clicks and keys: a new player named in a
// free slot stays chosen and looks it, choosing another player is kept on
// disk at once, and a delete confirmed in its dialog is too.
TEST_F(PlayersTest, NamingChoosingAndDeletingByClicksAreSavedAtOnce)
{
    NewPlayer(L"Ann");
    PlayerSelectMenu* menu = Open();
    // The screen's transition in ends first.
    Harness().RunTicks(120);

    ClickCentre(menu->GetNameButton(1));
    Harness().TypeText(L"Bob");
    Harness().KeyChar(13);
    Harness().RunTicks(30);
    EXPECT_EQ(menu->GetSelectedSlot(), 1);
    EXPECT_TRUE(LooksSelected(menu->GetNameButton(1))) << "the named player is still the chosen one";
    EXPECT_FALSE(LooksSelected(menu->GetNameButton(0)));
    EXPECT_TRUE(ButtonsShown(menu));
    EXPECT_EQ(Saved().selected, 1);
    EXPECT_EQ(Saved().records[1].name, L"Bob");

    // Ann again, then Bob again (the first click on the very name that was
    // just typed): each choice is on disk.
    ClickCentre(menu->GetNameButton(0));
    EXPECT_TRUE(LooksSelected(menu->GetNameButton(0)));
    EXPECT_FALSE(LooksSelected(menu->GetNameButton(1)));
    EXPECT_EQ(Saved().selected, 0);
    EXPECT_EQ(App().GetPlayerName(), L"Ann");
    ClickCentre(menu->GetNameButton(1));
    EXPECT_EQ(menu->GetSelectedSlot(), 1);
    EXPECT_TRUE(LooksSelected(menu->GetNameButton(1)));
    EXPECT_EQ(Saved().selected, 1);
    Snap("players_chosen");

    // Bob goes, by the delete button and the dialog's own delete button.
    ClickCentre(menu->GetDeleteButton());
    Harness().RunTicks(60);
    ASSERT_NE(FindMenu<ConfirmDeleteMenu>(), nullptr);
    Snap("players_delete");
    ButtonWidget* yes = AppHarness::FindButton(FindMenu<ConfirmDeleteMenu>(), L"button_delete");
    ASSERT_NE(yes, nullptr);
    ClickCentre(yes);
    Harness().RunTicks(60);
    EXPECT_EQ(FindMenu<ConfirmDeleteMenu>(), nullptr);
    EXPECT_TRUE(Saved().records[1].name.empty());
    EXPECT_EQ(Saved().records[0].name, L"Ann");
    EXPECT_EQ(menu->GetNameButton(1)->GetLabel(), Localize(L"no_name"));
    // Nobody is chosen in Bob's place: the way on waits for a choice.
    EXPECT_EQ(menu->GetSelectedSlot(), -1);
    EXPECT_FALSE(LooksSelected(menu->GetNameButton(0)));
    EXPECT_FALSE(LooksSelected(menu->GetNameButton(1)));
    EXPECT_FALSE(menu->GetMenuButton()->IsVisible());
    EXPECT_FALSE(menu->GetDeleteButton()->IsVisible());
    EXPECT_FALSE(menu->GetPlayButton()->IsVisible());
    Snap("players_deleted");
    ClickCentre(menu->GetNameButton(0));
    EXPECT_TRUE(LooksSelected(menu->GetNameButton(0)));
    EXPECT_TRUE(ButtonsShown(menu));
    EXPECT_EQ(Saved().selected, 0);
}

// Keys that land on a named player's button (it takes the focus when it is
// clicked again) never rename the player or empty the slot.
TEST_F(PlayersTest, TypingOnANamedPlayerChangesNothing)
{
    PlayerState& ann = NewPlayer(L"Ann");
    ann.EnsurePuzzle(0, 0, 0)->completed = true;
    PlayerSelectMenu* menu = Open();
    Harness().RunTicks(120);
    ClickCentre(menu->GetNameButton(0));
    Harness().KeyChar(8);
    Harness().KeyChar(8);
    Harness().KeyChar(8);
    Harness().TypeText(L"x");
    EXPECT_EQ(menu->GetNameButton(0)->GetLabel(), L"Ann");
    ClickCentre(menu->GetNameButton(2));
    ClickCentre(menu->GetNameButton(0));
    EXPECT_EQ(gProfileList.records[0].name, L"Ann");
    EXPECT_TRUE(gProfileList.records[0].state.IsCompleted(0, 0, 0));
    EXPECT_TRUE(ButtonsShown(menu));
}

// The bottom row: three buttons centred on a quarter of the screen plus 60,
// the middle and three quarters less 60, apart from one another and inside
// the screen, clear of the rows of names above them.
TEST_F(PlayersTest, TheBottomButtonsStandApartOnTheirPlaces)
{
    NewPlayer(L"Ann");
    PlayerSelectMenu* menu = Open();
    Harness().RunTicks(60);
    const int width = App().GetWidth();
    ButtonWidget* row[] = {menu->GetMenuButton(), menu->GetDeleteButton(), menu->GetPlayButton()};
    const int centres[] = {width / 4 + 60, width / 2, 3 * width / 4 - 60};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(row[i], nullptr);
        const Vector4 origin = row[i]->GetScreenOrigin();
        EXPECT_EQ(static_cast<int>(origin.x) + row[i]->GetWidth() / 2, centres[i]) << "button " << i;
        EXPECT_EQ(static_cast<int>(origin.y), 590) << "button " << i;
        EXPECT_GE(row[i]->GetX(), 0.0f);
        EXPECT_LE(row[i]->GetX() + static_cast<float>(row[i]->GetWidth()), static_cast<float>(width));
        if (i > 0) {
            EXPECT_GE(row[i]->GetX(), row[i - 1]->GetX() + static_cast<float>(row[i - 1]->GetWidth()) + 16.0f)
                << "buttons " << i - 1 << " and " << i << " touch";
        }
    }
    ProfileNameWidget* lastName = menu->GetNameButton(PlayerSelectMenu::kSlots - 1);
    EXPECT_GE(row[0]->GetY(), lastName->GetY() + static_cast<float>(lastName->GetHeight()));
    Snap("players_buttons");
}

TEST_F(PlayersTest, TypingANameIntoAFreeSlotMakesAPlayer)
{
    NewPlayer(L"Ann");
    PlayerSelectMenu* menu = Open();
    EXPECT_EQ(menu->GetSelectedSlot(), 0);
    EXPECT_TRUE(ButtonsShown(menu));

    Press(menu, menu->GetNameButton(1));
    EXPECT_FALSE(ButtonsShown(menu)) << "a free slot is selected";
    EXPECT_TRUE(menu->GetOkButton(1)->IsVisible());
    Harness().TypeText(L" B&<o\"b\\");
    EXPECT_EQ(menu->GetNameButton(1)->GetLabel(), L"B&<ob");
    Press(menu, menu->GetOkButton(1));
    EXPECT_EQ(gProfileList.records[1].name, L"B&<ob");
    EXPECT_EQ(App().GetPlayerName(), L"B&<ob");
    SaveProfiles();
    EXPECT_EQ(Saved().records[1].name, L"B&<ob");
    EXPECT_TRUE(ButtonsShown(menu));
    EXPECT_FALSE(menu->GetOkButton(1)->IsVisible());
    Press(menu, menu->GetNameButton(2));
    Harness().RunTicks(60);
    Snap("players");
}

TEST_F(PlayersTest, AFreeSlotLeftWithoutANameStaysFree)
{
    NewPlayer(L"Ann");
    PlayerSelectMenu* menu = Open();
    Press(menu, menu->GetNameButton(2));
    Press(menu, menu->GetNameButton(3));
    EXPECT_TRUE(gProfileList.records[2].name.empty());
    EXPECT_TRUE(menu->GetNameButton(2)->HasNoName());
    EXPECT_EQ(menu->GetNameButton(2)->GetLabel(), Localize(L"no_name"));
    // Enter with nothing typed ends the editing and leaves no selection.
    Harness().KeyChar(13);
    EXPECT_EQ(menu->GetSelectedSlot(), -1);
    EXPECT_TRUE(gProfileList.records[3].name.empty());
}

// A deleted player leaves nobody chosen, whether others are left or not:
// the menu, delete and play buttons stay hidden until a named player is
// picked or made.
TEST_F(PlayersTest, DeletingTheChosenPlayerLeavesNobodyChosenUntilOneIsPicked)
{
    NewPlayer(L"Ann");
    ProfileManager::CreateProfile(L"Bob");
    PlayerSelectMenu* menu = Open();
    ASSERT_EQ(menu->GetSelectedSlot(), 1);
    menu->DeleteSelected();
    EXPECT_TRUE(gProfileList.records[1].name.empty());
    EXPECT_EQ(menu->GetSelectedSlot(), -1);
    EXPECT_FALSE(ButtonsShown(menu));
    EXPECT_FALSE(menu->GetMenuButton()->IsVisible() || menu->GetDeleteButton()->IsVisible() ||
                 menu->GetPlayButton()->IsVisible());
    EXPECT_TRUE(Saved().records[1].name.empty());
    EXPECT_EQ(Saved().records[0].name, L"Ann");
    // A second delete with nobody chosen deletes nothing.
    menu->DeleteSelected();
    EXPECT_EQ(gProfileList.records[0].name, L"Ann");

    Press(menu, menu->GetNameButton(0));
    EXPECT_EQ(menu->GetSelectedSlot(), 0);
    EXPECT_TRUE(ButtonsShown(menu));
    EXPECT_EQ(App().GetPlayerName(), L"Ann");
    EXPECT_EQ(Saved().selected, 0);

    // The last player goes too.
    menu->DeleteSelected();
    EXPECT_EQ(menu->GetSelectedSlot(), -1);
    EXPECT_FALSE(ButtonsShown(menu));
    EXPECT_TRUE(Saved().records[0].name.empty());
    Press(menu, menu->GetNameButton(3));
    Harness().TypeText(L"Cy");
    Harness().KeyChar(13);
    EXPECT_TRUE(ButtonsShown(menu));
    EXPECT_EQ(Saved().records[3].name, L"Cy");
    EXPECT_EQ(Saved().selected, 3);
}

TEST_F(PlayersTest, NameEntryFillsTheFirstFreeSlotOrReplacesTheLast)
{
    for (int slot = 0; slot < 8; ++slot)
        ProfileManager::CreateProfile(StrFormatW(L"P%d", slot));
    ProfileManager::SelectProfile(0);
    auto* entry = new EnterNameMenu(Game(), nullptr);
    entry->Show();
    Harness().RunTicks(1);
    Harness().KeyDown(KeyCode::Enter);
    EXPECT_EQ(FindMenu<EnterNameMenu>(), entry) << "an empty name is not taken";
    Harness().TypeText(L"Ann");
    Harness().KeyDown(KeyCode::Enter);
    EXPECT_EQ(gProfileList.records[7].name, L"Ann");
    EXPECT_EQ(App().GetPlayerName(), L"Ann");
    EXPECT_EQ(Saved().records[7].name, L"Ann");
}

// The name entry as the title screen opens it for a game without players.
EnterNameMenu* OpenNameEntry(AppHarness& harness)
{
    auto* title = dynamic_cast<MyTitleScreen*>(gTitleScreen);
    if (title == nullptr || title->GetPlayButton() == nullptr)
        return nullptr;
    title->ButtonDepress(title->GetPlayButton()->GetId());
    harness.RunTicks(60);
    return harness.FindMenu<EnterNameMenu>();
}

void PasteInto(AppHarness& harness)
{
    harness.KeyDown(KeyCode::Control);
    harness.KeyDown('V');
    harness.KeyChar(KeyCode::CharPaste);
    harness.KeyUp('V');
    harness.KeyUp(KeyCode::Control);
}

// However long the paste, the name keeps the rule (ten characters, no blank
// first, no '"' or '\'), the field measures only what it keeps, and the
// player's name and save stay small.
TEST_F(PlayersTest, APastedNameKeepsTheNameRuleHoweverLongTheClipboard)
{
    EnterNameMenu* entry = OpenNameEntry(Harness());
    ASSERT_NE(entry, nullptr);
    EditWidget* field = entry->GetNameField();
    ASSERT_NE(field->GetFont(), nullptr);
    CountingFont counting(*field->GetFont());
    field->SetFont(&counting, false);

    const std::string pattern = " \"Bo\\b by";
    for (std::size_t length : {std::size_t{100000}, std::size_t{1000000}}) {
        std::string clipboard;
        while (clipboard.size() < length)
            clipboard += pattern;
        App().SetClipboard(clipboard);
        field->SetText(L"", true);
        counting.ResetCount();
        PasteInto(Harness());
        EXPECT_EQ(field->GetText(), L"Bob by Bob") << length;
        EXPECT_LT(counting.MeasuredCharacters(), 500u) << length;
    }

    Harness().KeyDown(KeyCode::Enter);
    Harness().RunTicks(60);
    EXPECT_EQ(FindMenu<EnterNameMenu>(), nullptr);
    EXPECT_EQ(gProfileList.records[0].name, L"Bob by Bob");
    EXPECT_EQ(App().GetPlayerName(), L"Bob by Bob");
    EXPECT_EQ(Saved().records[0].name, L"Bob by Bob");
    // The save is some tens of KB; a million-character name alone would add 2 MB.
    EXPECT_LT(std::filesystem::file_size(GetProfilesPath()), 256u * 1024u);
}

// Edits away from the end of the name cannot break the rule either: a
// blank typed or pasted at its start, or uncovered there, is undone.
TEST_F(PlayersTest, EditsAnywhereInTheNameFieldKeepTheNameRule)
{
    EnterNameMenu* entry = OpenNameEntry(Harness());
    ASSERT_NE(entry, nullptr);
    EditWidget* field = entry->GetNameField();
    Harness().TypeText(L"a b");
    for (int key : {KeyCode::Home, KeyCode::Delete}) {
        Harness().KeyDown(key);
        Harness().KeyUp(key);
    }
    EXPECT_EQ(field->GetText(), L"a b");
    Harness().TypeText(L" ");
    EXPECT_EQ(field->GetText(), L"a b");
    App().SetClipboard(" x");
    PasteInto(Harness());
    EXPECT_EQ(field->GetText(), L"a b");
    App().SetClipboard("x\"y");
    PasteInto(Harness());
    EXPECT_EQ(field->GetText(), L"xya b");
    EXPECT_EQ(field->GetCursor(), 2);
}

// The name entry is centred on the title screen it is opened from, its OK
// button centred at x 250 and y 82 of it. The button caps the end of the
// well drawn under the name field: a name scrolled to the field's end (its
// text and caret) stands on the well and stops short of the button.
TEST_F(PlayersTest, TheNameEntryIsCentredWithItsOkCappingTheField)
{
    auto* title = dynamic_cast<MyTitleScreen*>(gTitleScreen);
    ASSERT_NE(title, nullptr);
    ASSERT_NE(title->GetPlayButton(), nullptr);
    title->ButtonDepress(title->GetPlayButton()->GetId());
    Harness().RunTicks(1);
    auto* entry = FindMenu<EnterNameMenu>();
    ASSERT_NE(entry, nullptr);
    Harness().RunTicks(60);
    EXPECT_EQ(static_cast<int>(entry->GetX()), App().GetWidth() / 2 - entry->GetWidth() / 2);
    EXPECT_EQ(static_cast<int>(entry->GetY()), App().GetHeight() / 2 - entry->GetHeight() / 2);
    ButtonWidget* ok = entry->GetOkButton();
    const int okLeft = static_cast<int>(ok->GetX());
    EXPECT_EQ(okLeft + ok->GetWidth() / 2, 250);
    EXPECT_EQ(static_cast<int>(ok->GetY()), 82);
    EXPECT_LE(okLeft + ok->GetWidth(), entry->GetWidth() - 16) << "the OK button leaves the card";

    // The field writes from 4 pixels in, keeps 8 of its width free of text
    // and draws a caret 2 wide after it.
    const EditWidget* field = entry->GetNameField();
    const int fieldLeft = static_cast<int>(field->GetX());
    const int textEnd = fieldLeft + field->GetWidth() - 8 + 4 + 2;
    EXPECT_LE(textEnd, okLeft) << "a long name runs under the OK button";
    // The well: the panel's even colour along the field's middle row.
    Image* panel = entry->GetImage();
    ASSERT_NE(panel, nullptr);
    const int row = static_cast<int>(field->GetY()) + field->GetHeight() / 2;
    const std::uint32_t well = panel->GetImagePixel(fieldLeft + 4, row);
    int wellEnd = fieldLeft + 4;
    while (wellEnd < panel->GetWidth() && panel->GetImagePixel(wellEnd, row) == well)
        ++wellEnd;
    EXPECT_GE(wellEnd, okLeft) << "the card shows between the well and the OK button";
}

// A data folder that cannot take the save: the player is told once, over whatever is shown, where progress
// cannot be saved and why, and plays on.
TEST_F(PlayersTest, AFolderThatCannotTakeTheSaveIsToldOnceInANotice)
{
    PlayerState& player = NewPlayer(L"Robin");
    const std::string blocked = Harness().DataFolder() + "blocked";
    std::ofstream(blocked) << "a file where the folder should be";
    ProfileEnvironment environment = ProfileManager::GetEnvironment();
    environment.dataFolder = blocked + "/";
    ProfileManager::SetEnvironment(environment);
    EXPECT_FALSE(SaveProfiles());
    player.progress[0][0].introduced = true;
    EXPECT_FALSE(SaveProfiles());
    Harness().RunTicks(1);
    int notices = 0;
    NoticeMenu* notice = nullptr;
    for (DialogHooks* menu : App().GetOpenMenus())
        if (auto* found = dynamic_cast<NoticeMenu*>(menu)) {
            notice = found;
            ++notices;
        }
    EXPECT_EQ(notices, 1) << "told once, not at every save";
    ASSERT_NE(notice, nullptr);
    const Value* text = notice->FindVariable(L"text");
    ASSERT_NE(text, nullptr);
    EXPECT_NE(text->ToString().find(StringToWString(blocked)), std::wstring::npos)
        << WStringToString(text->ToString());
    Harness().RunTicks(100);
    Snap("save_failed");
    EXPECT_TRUE(GetCurrentPlayerState()->progress[0][0].introduced) << "play goes on with the progress made";
    ProfileManager::SetEnvironment({});
}

// The game tells the profiles where to save and whom to tell (the player's name, each save, a save that
// fails) as soon as it knows its data folder, and takes every hook back when it ends.
TEST_F(PlayersTest, TheGameGivesTheProfilesTheirHooksAndTakesThemBackAtTheEnd)
{
    const ProfileEnvironment& environment = ProfileManager::GetEnvironment();
    EXPECT_EQ(environment.dataFolder, Harness().DataFolder());
    EXPECT_FALSE(environment.screensaver);
    ASSERT_TRUE(environment.afterSave && environment.playerNameChanged && environment.saveFailed);
    environment.playerNameChanged(L"Robin");
    EXPECT_EQ(App().GetPlayerName(), L"Robin");

    m_harness.reset();
    const ProfileEnvironment& after = ProfileManager::GetEnvironment();
    EXPECT_FALSE(after.afterSave || after.playerNameChanged || after.saveFailed)
        << "a hook outlived the game";
}

} // namespace
