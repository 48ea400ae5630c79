#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "app/NoticeMenu.h"
#include "game/EnterNameMenu.h"
#include "game/PlayerSelectMenu.h"
#include "game/ProfileNameWidget.h"
#include "puzzle/ProfileList.h"
#include "puzzle/ProfileManager.h"
#include "ui/ButtonWidget.h"

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
        auto* menu = new PlayerSelectMenu();
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
};

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
    ProfileList saved;
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(GetProfilesPath(), saved));
    EXPECT_EQ(saved.records[1].name, L"B&<ob");
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

TEST_F(PlayersTest, DeletingThePlayerHidesTheButtonsUntilAnotherIsChosen)
{
    NewPlayer(L"Ann");
    ProfileManager::CreateProfile(L"Bob");
    PlayerSelectMenu* menu = Open();
    ASSERT_EQ(menu->GetSelectedSlot(), 1);
    menu->DeleteSelected();
    EXPECT_TRUE(gProfileList.records[1].name.empty());
    EXPECT_FALSE(ButtonsShown(menu));
    Press(menu, menu->GetNameButton(0));
    EXPECT_TRUE(ButtonsShown(menu));
    EXPECT_EQ(App().GetPlayerName(), L"Ann");
}

TEST_F(PlayersTest, NameEntryFillsTheFirstFreeSlotOrReplacesTheLast)
{
    for (int slot = 0; slot < 8; ++slot)
        ProfileManager::CreateProfile(StrFormatW(L"P%d", slot));
    ProfileManager::SelectProfile(0);
    auto* entry = new EnterNameMenu(nullptr);
    entry->Show();
    Harness().RunTicks(1);
    Harness().KeyDown(KeyCode::Enter);
    EXPECT_EQ(FindMenu<EnterNameMenu>(), entry) << "an empty name is not taken";
    Harness().TypeText(L"Ann");
    Harness().KeyDown(KeyCode::Enter);
    EXPECT_EQ(gProfileList.records[7].name, L"Ann");
    EXPECT_EQ(App().GetPlayerName(), L"Ann");
    ProfileList saved;
    ASSERT_TRUE(ProfileManager::ReadProfilesFile(GetProfilesPath(), saved));
    EXPECT_EQ(saved.records[7].name, L"Ann");
}

// A data folder that cannot take the save: the player is told once, over whatever is shown, where progress
// cannot be saved and why, and plays on.
TEST_F(PlayersTest, AFolderThatCannotTakeTheSaveIsToldOnceInANotice)
{
    PlayerState& player = NewPlayer(L"Robin");
    const std::string blocked = Harness().DataFolder() + "blocked";
    std::ofstream(blocked) << "a file where the folder should be";
    ProfileEnvironment environment;
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

} // namespace
