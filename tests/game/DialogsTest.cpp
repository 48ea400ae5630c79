#include "GameTestApp.h"
#include "support/AppHarness.h"

#include "app/NoticeMenu.h"
#include "app/Settings.h"
#include "app/TextboxPopup.h"
#include "game/ConfirmDeleteMenu.h"
#include "game/ConfirmMainMenu.h"
#include "game/ConfirmPuzzleSelectMenu.h"
#include "game/ConfirmQuitMenu.h"
#include "game/ConfirmTutorialMenu.h"
#include "game/CreditsMenu.h"
#include "game/LevelIntroMenu.h"
#include "game/MainMenu.h"
#include "game/MyBoard.h"
#include "game/OptionsMenu.h"
#include "game/PlayerSelectMenu.h"
#include "game/ProfileNameWidget.h"
#include "game/PuzzleSelectMenu.h"
#include "game/StoryIntroMenu.h"
#include "game/TipsMenu.h"
#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "graphics/Image.h"
#include "graphics/Rect.h"
#include "platform/headless/HeadlessTextCaret.h"
#include "puzzle/ProfileList.h"
#include "resources/Assets.h"
#include "resources/Localization.h"
#include "ui/ButtonWidget.h"
#include "ui/Checkbox.h"
#include "ui/Slider.h"
#include "ui/TextLabel.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Remembers the samples the dialogs ask for.
class SoundCountingApp : public GameTestApp
{
public:
    void PlaySample(int id) override
    {
        played.push_back(id);
        GameTestApp::PlaySample(id);
    }
    std::vector<int> played;
};

class DialogsTest : public GameTest
{
protected:
    AppHarnessOptions Options() override
    {
        AppHarnessOptions options = GameTest::Options();
        options.makeApp = [] { return std::make_unique<SoundCountingApp>(); };
        return options;
    }
    SoundCountingApp& Sounds() { return static_cast<SoundCountingApp&>(App()); }

    void ClickAt(Widget* widget, int x, int y)
    {
        const Vector4 origin = widget->GetScreenOrigin();
        Harness().MouseMove(static_cast<int>(origin.x) + x, static_cast<int>(origin.y) + y);
        Harness().Click(static_cast<int>(origin.x) + x, static_cast<int>(origin.y) + y);
    }
    void ClickCentre(Widget* widget) { ClickAt(widget, widget->GetWidth() / 2, widget->GetHeight() / 2); }
    // Opens the options as the main menu or the play screen does, shown and
    // faded in.
    OptionsMenu* OpenOptions(const std::wstring& from)
    {
        auto* options = new OptionsMenu(Game(), from, 0, 0);
        options->Show();
        Harness().RunTicks(60);
        return options;
    }
    std::wstring TextOf(Animator& script, const wchar_t* name)
    {
        const Value* value = script.FindVariable(name);
        return value != nullptr ? value->ToString() : std::wstring();
    }
    Settings SavedSettings()
    {
        Settings saved;
        EXPECT_EQ(ReadSettingsFile(GetSettingsPath(), saved), SettingsReadResult::Read);
        return saved;
    }
    ProfileList SavedProfiles()
    {
        ProfileList saved;
        EXPECT_TRUE(ProfileManager::ReadProfilesFile(GetProfilesPath(), saved));
        return saved;
    }
};

TEST_F(DialogsTest, OptionsOfferTheWayBackOnlyFromPlayAndHideStretchingAtNativeSize)
{
    NewPlayer();
    OptionsMenu* fromMenu = OpenOptions(L"main-menu");
    EXPECT_EQ(fromMenu->GetMenuButton(), nullptr);
    ASSERT_NE(fromMenu->GetCloseButton(), nullptr);
    // The headless display is the game's own size: nothing to stretch.
    EXPECT_TRUE(fromMenu->GetStretchScreenBox()->IsDisabled());
    EXPECT_FALSE(fromMenu->GetStretchScreenBox()->IsVisible());
    ClickCentre(fromMenu->GetFullScreenBox());
    EXPECT_FALSE(fromMenu->GetStretchScreenBox()->IsVisible());
    CloseAllMenus();

    OptionsMenu* fromPlay = OpenOptions(L"playing");
    ASSERT_NE(fromPlay->GetMenuButton(), nullptr);
    ClickCentre(fromPlay->GetMenuButton());
    Harness().RunTicks(60);
    // The way back asks first, over the options.
    EXPECT_NE(FindMenu<ConfirmMainMenu>(), nullptr);
    EXPECT_NE(FindMenu<OptionsMenu>(), nullptr);
}

// The sound slider rings the bell once for a click on its track, at the
// press, when the volume jumps; a drag of its thumb stays quiet from its grab
// to its release, and so does a thumb pressed and let go where it is.
TEST_F(DialogsTest, TheSoundVolumeRingsOnceForAClickOnTheTrackAndNeverForADrag)
{
    NewPlayer();
    OptionsMenu* options = OpenOptions(L"main-menu");
    Slider* sound = options->GetSoundSlider();
    const int bell = GetSoundId(L"Bell");
    ASSERT_NE(bell, -1);
    auto bells = [&] { return std::count(Sounds().played.begin(), Sounds().played.end(), bell); };
    const Vector4 origin = sound->GetScreenOrigin();
    const int y = static_cast<int>(origin.y) + sound->GetHeight() / 2;
    const int thumbWidth = ::GetImage(L"Slider_Thumb")->GetCellWidth();
    auto thumbX = [&] {
        return static_cast<int>(origin.x) + static_cast<int>((sound->GetWidth() - thumbWidth) * sound->GetValue()) +
               3;
    };

    sound->SetValue(0.0);
    Sounds().played.clear();
    const int trackX = static_cast<int>(origin.x) + sound->GetWidth() * 3 / 4;
    Harness().MouseMove(trackX, y);
    Harness().MouseDown(trackX, y);
    EXPECT_NEAR(App().GetSfxVolume(), 0.75, 0.02);
    EXPECT_EQ(bells(), 1) << "the jump rings at the press";
    Harness().MouseUp(trackX, y);
    EXPECT_EQ(bells(), 1) << "the release of a track click rang again";

    // Drag the thumb from 0.75 back towards the start, and let it go there.
    Sounds().played.clear();
    const int grabX = thumbX();
    Harness().MouseMove(grabX, y);
    Harness().MouseDown(grabX, y);
    Harness().MouseMove(grabX - 60, y);
    Harness().MouseMove(grabX - 100, y);
    EXPECT_LT(App().GetSfxVolume(), 0.6);
    EXPECT_EQ(bells(), 0) << "the bell rang while the thumb was dragged";
    Harness().MouseUp(grabX - 100, y);
    EXPECT_LT(App().GetSfxVolume(), 0.6);
    EXPECT_EQ(bells(), 0) << "the end of a drag rang";

    // A drag past the end of the track, let go off the slider.
    Harness().MouseMove(thumbX(), y);
    Harness().MouseDown(thumbX(), y);
    Harness().MouseMove(static_cast<int>(origin.x) + sound->GetWidth() + 80, y + 40);
    Harness().MouseUp(static_cast<int>(origin.x) + sound->GetWidth() + 80, y + 40);
    EXPECT_EQ(sound->GetValue(), 1.0);
    EXPECT_EQ(bells(), 0) << "a drag let go off the slider rang";

    // The thumb pressed and let go where it is.
    Harness().MouseMove(thumbX(), y);
    Harness().MouseDown(thumbX(), y);
    Harness().MouseUp(thumbX(), y);
    EXPECT_EQ(bells(), 0) << "a thumb let go where it was pressed rang";

    // A second click on the track rings once more.
    const int lowX = static_cast<int>(origin.x) + sound->GetWidth() / 5;
    Harness().MouseMove(lowX, y);
    Harness().Click(lowX, y);
    EXPECT_NEAR(App().GetSfxVolume(), 0.2, 0.02);
    EXPECT_EQ(bells(), 1);

    // The music slider rings nothing.
    Sounds().played.clear();
    ClickAt(options->GetMusicSlider(), options->GetMusicSlider()->GetWidth() / 4, sound->GetHeight() / 2);
    EXPECT_EQ(bells(), 0);
}

// The options stand on the dialogs' own panel, centred on the screen: the
// check boxes 70 pixels left of the sliders, the buttons on one row at y 493,
// each centred on its place, all of it on the panel.
TEST_F(DialogsTest, TheOptionsStandOnTheDialogPanelWithTheirRowsInPlace)
{
    NewPlayer();
    for (const wchar_t* from : {L"main-menu", L"playing"}) {
        SCOPED_TRACE(WStringToString(from));
        OptionsMenu* options = OpenOptions(from);
        EXPECT_EQ(options->GetImage(), ::GetImage(L"Dialog"));
        const int width = options->GetWidth();
        const int height = options->GetHeight();
        EXPECT_EQ(static_cast<int>(options->GetX()), App().GetWidth() / 2 - width / 2);
        const int sliderX = static_cast<int>(options->GetMusicSlider()->GetX());
        EXPECT_EQ(sliderX, width / 2 - ::GetImage(L"Slider")->GetCellWidth() / 2 + 10);
        for (Checkbox* box : {options->GetDisableTipsBox(), options->GetCustomCursorsBox(), options->GetToggleModeBox(),
                              options->GetToggleNumbersBox(), options->GetFullScreenBox(),
                              options->GetStretchScreenBox()})
            EXPECT_EQ(static_cast<int>(box->GetX()), sliderX - 70);
        std::vector<std::pair<ButtonWidget*, int>> buttons = {{options->GetCloseButton(), width / 2}};
        if (options->GetMenuButton() != nullptr)
            buttons = {{options->GetMenuButton(), width / 2 - 100}, {options->GetCloseButton(), width / 2 + 110}};
        else
            EXPECT_EQ(std::wstring(from), L"main-menu");
        for (const auto& [button, centre] : buttons) {
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(static_cast<int>(button->GetY()), 493);
            EXPECT_EQ(static_cast<int>(button->GetX()) + button->GetWidth() / 2, centre);
            EXPECT_LE(button->GetY() + static_cast<float>(button->GetHeight()), static_cast<float>(height))
                << "the button stands off the panel";
        }
        CloseAllMenus();
    }
}

// The rows of a picture's first cell that are not wholly see-through.
std::pair<int, int> ShownRows(const Image& image)
{
    int first = image.GetCellHeight();
    int last = -1;
    for (int y = 0; y < image.GetCellHeight(); ++y)
        for (int x = 0; x < image.GetCellWidth(); ++x)
            if ((image.GetImagePixel(x, y) >> 24) != 0) {
                first = std::min(first, y);
                last = std::max(last, y);
            }
    return {first, last};
}

// With every row shown (the stretching box too, as in full screen on a larger
// display), the last box and its label keep clear room above the buttons,
// and every label ends inside the frame drawn on the panel.
TEST_F(DialogsTest, TheOptionsRowsKeepClearOfTheButtonsAndInsideTheFrame)
{
    // The gap, at the least, between what the last row and the buttons show;
    // and how far in from the panel's edge a label must end.
    constexpr int kClearRoom = 8;
    constexpr int kFrameRoom = 28;
    NewPlayer();
    Font* font = GetFont(L"menu");
    ASSERT_NE(font, nullptr);
    const auto [boxTop, boxBottom] = ShownRows(*::GetImage(L"Checkbox"));
    const auto [buttonTop, buttonBottom] = ShownRows(*::GetImage(L"button"));
    ASSERT_LE(boxTop, boxBottom);
    ASSERT_LE(buttonTop, buttonBottom);
    for (const wchar_t* from : {L"main-menu", L"playing"}) {
        SCOPED_TRACE(WStringToString(from));
        OptionsMenu* options = OpenOptions(from);
        Checkbox* stretch = options->GetStretchScreenBox();
        stretch->SetDisabled(false);
        ClickCentre(options->GetFullScreenBox());
        ASSERT_TRUE(stretch->IsVisible());

        const int labelX = static_cast<int>(options->GetFullScreenBox()->GetX()) +
                           options->GetFullScreenBox()->GetWidth() + 5;
        for (const wchar_t* key :
             {L"disable_tips", L"custom_cursors", L"toggle_mode", L"toggle_numbers", L"full_screen", L"stretch_screen"})
            EXPECT_LE(labelX + font->StringWidth(Localize(key)), options->GetWidth() - kFrameRoom)
                << WStringToString(Localize(key)) << " runs into the frame";

        const int rowY = static_cast<int>(stretch->GetY());
        const int lastShown = std::max(rowY + boxBottom, rowY + 22 + font->GetHeight() - font->GetAscent() - 1);
        for (ButtonWidget* button : {options->GetMenuButton(), options->GetCloseButton()}) {
            if (button == nullptr)
                continue;
            EXPECT_GE(static_cast<int>(button->GetY()) + buttonTop - lastShown - 1, kClearRoom)
                << "the last row stands on the button " << WStringToString(button->GetLabel());
        }
        CloseAllMenus();
    }
}

TEST_F(DialogsTest, ProfileOptionsChangeAtOnceAndTheScreenModeOnlyWhenLeftAndOnlyWhenChanged)
{
    PlayerState& player = NewPlayer();
    player.disableTips = false;
    OptionsMenu* options = OpenOptions(L"main-menu");
    ClickCentre(options->GetDisableTipsBox());
    EXPECT_TRUE(player.disableTips);
    ClickCentre(options->GetToggleNumbersBox());
    EXPECT_FALSE(player.showNumbers);

    const int switches = Harness().Window().GetModeSwitchCount();
    ClickCentre(options->GetFullScreenBox());
    EXPECT_TRUE(Harness().Window().IsWindowed());
    ClickCentre(options->GetCloseButton());
    EXPECT_FALSE(Harness().Window().IsWindowed());
    EXPECT_EQ(Harness().Window().GetModeSwitchCount(), switches + 1);
    EXPECT_FALSE(SavedSettings().m_windowed);
    Harness().RunTicks(60);

    // Closed again without a change: the window is left alone.
    ClickCentre(OpenOptions(L"main-menu")->GetCloseButton());
    Harness().RunTicks(60);
    EXPECT_EQ(Harness().Window().GetModeSwitchCount(), switches + 1);

    options = OpenOptions(L"main-menu");
    ClickCentre(options->GetFullScreenBox());
    ClickCentre(options->GetCloseButton());
    EXPECT_TRUE(Harness().Window().IsWindowed());
    EXPECT_EQ(Harness().Window().GetModeSwitchCount(), switches + 2);
    EXPECT_TRUE(SavedSettings().m_windowed);
}

TEST_F(DialogsTest, WithoutAWindowedModeTheNoticeShowsAndFullScreenStaysTicked)
{
    NewPlayer();
    App().SwitchScreenMode(false);
    Harness().Window().SetWindowedAvailable(false);
    App().SwitchScreenMode(true);
    ASSERT_TRUE(App().IsWindowedModeUnavailable());

    OptionsMenu* options = OpenOptions(L"main-menu");
    ASSERT_TRUE(options->GetFullScreenBox()->IsChecked());
    ClickCentre(options->GetFullScreenBox());
    EXPECT_TRUE(options->GetFullScreenBox()->IsChecked());
    EXPECT_NE(FindMenu<NoticeMenu>(), nullptr);
}

TEST_F(DialogsTest, TutorialYesPlaysTheFirstPuzzleWithoutDeclining)
{
    PlayerState& player = NewPlayer();
    (new StoryIntroMenu(Game()))->Show();
    auto* offer = new ConfirmTutorialMenu(Game());
    offer->Show();
    Harness().RunTicks(40);
    offer->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(40);
    EXPECT_EQ(std::count(Shown().begin(), Shown().end(), L"play 0/0/0"), 1);
    EXPECT_FALSE(player.IsCompleted(0, 0, 0));
    EXPECT_EQ(player.currentCountry, 0);
    EXPECT_EQ(FindMenu<StoryIntroMenu>(), nullptr);
    EXPECT_EQ(FindMenu<ConfirmTutorialMenu>(), nullptr);
}

TEST_F(DialogsTest, TutorialNoCompletesThePrimerOnceAndKeepsAHigherUnlock)
{
    PlayerState& player = NewPlayer();
    player.EnsureSet(0, 1)->unlock = 3;
    auto* offer = new ConfirmTutorialMenu(Game());
    offer->Show();
    Harness().RunTicks(40);
    offer->HandleAction(L"close", L"", nullptr);
    // A second click while it leaves declines nothing more.
    offer->HandleAction(L"close", L"", nullptr);
    Harness().RunTicks(2);
    const SetProgress* primer = player.FindSet(0, 0);
    ASSERT_NE(primer, nullptr);
    EXPECT_EQ(primer->unlock, static_cast<int>(primer->puzzles.size()));
    for (const PuzzleProgress& puzzle : primer->puzzles)
        EXPECT_TRUE(puzzle.completed);
    EXPECT_EQ(player.GetUnlock(0, 1), 3);
    EXPECT_EQ(player.currentCountry, 1);
    int loading = 0;
    for (DialogHooks* menu : App().GetOpenMenus())
        loading += dynamic_cast<SetLoadingMenu*>(menu) != nullptr ? 1 : 0;
    EXPECT_EQ(loading, 1);
}

TEST_F(DialogsTest, LeavingConfirmationsOpenTheirScreensAndQuitShutsDown)
{
    NewPlayer();
    auto* toMenu = new ConfirmMainMenu(Game(), nullptr);
    toMenu->Show();
    Harness().RunTicks(40);
    toMenu->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(40);
    EXPECT_NE(FindMenu<MainMenu>(), nullptr);
    EXPECT_EQ(FindMenu<ConfirmMainMenu>(), nullptr);

    auto* toDesk = new ConfirmPuzzleSelectMenu(Game(), 0, 1, nullptr);
    toDesk->Show();
    Harness().RunTicks(40);
    toDesk->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(40);
    EXPECT_NE(FindMenu<PuzzleSelectMenu>(), nullptr);
    EXPECT_EQ(FindMenu<MainMenu>(), nullptr);

    auto* quit = new ConfirmQuitMenu(Game());
    quit->Show();
    Harness().RunTicks(40);
    quit->HandleAction(L"close", L"", nullptr);
    Harness().RunTicks(40);
    EXPECT_FALSE(App().IsShutdownRequested());
    quit = new ConfirmQuitMenu(Game());
    quit->Show();
    Harness().RunTicks(40);
    quit->HandleAction(L"ok", L"", nullptr);
    EXPECT_TRUE(App().IsShutdownRequested());
}

TEST_F(DialogsTest, APlayerIsDeletedOnlyWhenTheQuestionIsAnsweredYes)
{
    NewPlayer(L"Ann");
    ProfileManager::CreateProfile(L"Bob");
    auto* players = new PlayerSelectMenu(Game());
    players->Show();
    Harness().RunTicks(60);
    ASSERT_EQ(players->GetSelectedSlot(), 1);
    ClickCentre(players->GetDeleteButton());
    Harness().RunTicks(40);
    ConfirmDeleteMenu* question = FindMenu<ConfirmDeleteMenu>();
    ASSERT_NE(question, nullptr);
    EXPECT_NE(TextOf(*question, L"text").find(L"Bob"), std::wstring::npos);
    question->HandleAction(L"close", L"", nullptr);
    Harness().RunTicks(40);
    EXPECT_EQ(gProfileList.records[1].name, L"Bob");

    ClickCentre(players->GetDeleteButton());
    Harness().RunTicks(40);
    FindMenu<ConfirmDeleteMenu>()->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(40);
    EXPECT_TRUE(gProfileList.records[1].name.empty());
    EXPECT_EQ(FindMenu<ConfirmDeleteMenu>(), nullptr);
}

// A new player's name is typed with a blinking caret after what is typed so
// far, as in the name entry's field; it goes when the editing ends and never
// shows on a named player.
TEST_F(DialogsTest, ANewPlayersNameIsTypedWithABlinkingCaret)
{
    NewPlayer(L"Ann");
    // Input methods show their text where the system caret stands.
    App().SetUseSystemCaret(true);
    auto* systemCaret = static_cast<HeadlessTextCaret*>(App().GetTextCaret());
    auto* menu = new PlayerSelectMenu(Game());
    menu->Show();
    Harness().RunTicks(120);
    ProfileNameWidget* slot = menu->GetNameButton(1);
    EXPECT_FALSE(slot->IsCaretVisible());
    ClickCentre(slot);
    Harness().RunTicks(1);
    ASSERT_TRUE(slot->HasFocus());
    EXPECT_TRUE(slot->IsCaretVisible());
    const Rect placeholder = slot->GetCaretRect();
    EXPECT_GT(placeholder.height, 0);

    Harness().TypeText(L"Bob");
    const Rect typed = slot->GetCaretRect();
    const int textRight = slot->GetWidth() / 2 + slot->GetLabelFont()->StringWidth(L"Bob") / 2;
    EXPECT_GE(typed.x, textRight);
    EXPECT_LE(typed.x, textRight + 2) << "right after the name";
    EXPECT_GT(typed.x, placeholder.x);
    ASSERT_TRUE(systemCaret->IsShown());
    EXPECT_EQ(systemCaret->GetX(), static_cast<int>(slot->GetScreenOrigin().x) + typed.x);
    EXPECT_EQ(systemCaret->GetY(), static_cast<int>(slot->GetScreenOrigin().y) + typed.y);

    bool hid = false;
    bool returned = false;
    for (int tick = 0; tick < 100; ++tick) {
        Harness().RunTicks(1);
        hid = hid || !slot->IsCaretVisible();
        returned = returned || (hid && slot->IsCaretVisible());
    }
    EXPECT_TRUE(hid);
    EXPECT_TRUE(returned);
    while (slot->IsCaretVisible())
        Harness().RunTicks(1);
    Harness().TypeText(L"b");
    EXPECT_TRUE(slot->IsCaretVisible()) << "a typed character shows it at once";

    Harness().KeyChar(13);
    Harness().RunTicks(50);
    EXPECT_EQ(gProfileList.records[1].name, L"Bobb");
    EXPECT_FALSE(slot->IsCaretVisible());
    EXPECT_FALSE(systemCaret->IsShown());
    ClickCentre(menu->GetNameButton(0));
    Harness().RunTicks(50);
    EXPECT_FALSE(menu->GetNameButton(0)->IsCaretVisible());
    EXPECT_FALSE(slot->IsCaretVisible());
}

TEST_F(DialogsTest, TheStoryAddressesThePlayerByNameOnlyAsAnArgumentAndSavesOnOk)
{
    NewPlayer(L"%s%n");
    auto* story = new StoryIntroMenu(Game());
    story->Show();
    Harness().RunTicks(2);
    EXPECT_NE(TextOf(*story, L"letter_start").find(L"%s%n"), std::wstring::npos);
    EXPECT_NE(TextOf(*story, L"letter_end").find(L"%s%n"), std::wstring::npos);
    story->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(2);
    EXPECT_TRUE(SavedProfiles().records[0].state.IsIntroduced(0, 0));
    EXPECT_NE(FindMenu<ConfirmTutorialMenu>(), nullptr);
    EXPECT_NE(FindMenu<StoryIntroMenu>(), nullptr);
}

TEST_F(DialogsTest, TheCreditsShowTheStoredPlayTime)
{
    PlayerState& player = NewPlayer();
    player.hours = 3;
    player.minutes = 7;
    auto* credits = new CreditsMenu(Game());
    credits->Show();
    EXPECT_NE(TextOf(*credits, L"time").find(L"3 hours and 7 minutes"), std::wstring::npos);
    // The heading and the time stand on two lines between the boards of the
    // sky: the time itself never wraps.
    Harness().RunTicks(2);
    TextLabel* time = nullptr;
    for (const auto& [name, object] : credits->GetObjectNames())
        if (auto* label = dynamic_cast<TextLabel*>(object); label && label->GetText() == TextOf(*credits, L"time"))
            time = label;
    ASSERT_NE(time, nullptr);
    ASSERT_NE(time->GetFont(), nullptr);
    EXPECT_LT(time->GetTextHeight(), 3 * time->GetFont()->GetLineSpacing());
    EXPECT_EQ(TextOf(*credits, L"version"), L"v1.2");
    EXPECT_EQ(SavedProfiles().records[0].state.hours, 3);
    credits->HandleAction(L"mainmenu", L"", nullptr);
    Harness().RunTicks(60);
    EXPECT_NE(FindMenu<MainMenu>(), nullptr);
    EXPECT_EQ(FindMenu<CreditsMenu>(), nullptr);
}

// One hour and one minute are said in the singular, every other count
// (none included) in the plural.
TEST_F(DialogsTest, TheCreditsSayHourAndMinuteInTheSingularOnlyForOne)
{
    PlayerState& player = NewPlayer();
    const std::vector<std::tuple<int, int, std::wstring>> cases = {
        {1, 23, L": 1 hour and 23 minutes"}, {2, 1, L": 2 hours and 1 minute"},
        {1, 1, L": 1 hour and 1 minute"},    {0, 0, L": 0 hours and 0 minutes"},
        {0, 1, L": 0 hours and 1 minute"},   {11, 10, L": 11 hours and 10 minutes"},
    };
    for (const auto& [hours, minutes, said] : cases) {
        player.hours = hours;
        player.minutes = minutes;
        auto* credits = new CreditsMenu(Game());
        credits->Show();
        const std::wstring time = TextOf(*credits, L"time");
        EXPECT_TRUE(time.size() > said.size() && time.compare(time.size() - said.size(), said.size(), said) == 0)
            << WStringToString(time);
        CloseAllMenus();
    }
}

TEST_F(DialogsTest, TheTipsAreWrittenOnACardThatCoversTheSky)
{
    NewPlayer();
    auto* tips = new TipsMenu(Game());
    tips->Show();
    Harness().RunTicks(2);
    DynamicWidget* card = tips->FindObject(L"card");
    auto* text = dynamic_cast<TextLabel*>(tips->FindObject(L"tips"));
    ASSERT_NE(card, nullptr) << "the tips stand on the bare night sky";
    ASSERT_NE(text, nullptr);
    ASSERT_NE(text->GetFont(), nullptr);
    const int top = text->GetOffsetY() - text->GetFont()->GetAscent();
    const Rect words{static_cast<int>(text->GetX()) + text->GetOffsetX(), static_cast<int>(text->GetY()) + top,
                     text->GetTextWidth(), text->GetTextHeight()};
    const Rect under{static_cast<int>(card->GetX()), static_cast<int>(card->GetY()), card->GetWidth(),
                     card->GetHeight()};
    EXPECT_TRUE(under.Contains(words.x, words.y) &&
                under.Contains(words.x + words.width - 1, words.y + words.height - 1))
        << "every tip is written on the card";
}

TEST_F(DialogsTest, AnIntroPageTicksTheTipsOffAndItsOkPlaysThePuzzle)
{
    PlayerState& player = NewPlayer();
    ASSERT_TRUE(SaveProfiles());
    auto* intro = new LevelIntroMenu(Game(), 0, 1, 0);
    intro->Show();
    Harness().RunTicks(120);
    ASSERT_NE(intro->GetCheckbox(), nullptr);
    ClickCentre(intro->GetCheckbox());
    EXPECT_TRUE(player.disableTips);
    // The box writes nothing itself: the next save of the profiles keeps it.
    EXPECT_FALSE(SavedProfiles().records[0].state.disableTips);
    ClickCentre(intro->GetCheckbox());
    EXPECT_FALSE(player.disableTips);
    ClickCentre(intro->GetCheckbox());
    ASSERT_TRUE(SaveProfiles());
    EXPECT_TRUE(SavedProfiles().records[0].state.disableTips);
    EXPECT_TRUE(Shown().empty());
    intro->HandleAction(L"ok", L"", nullptr);
    Harness().RunTicks(2);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"play 0/1/0"});
    EXPECT_EQ(FindMenu<LevelIntroMenu>(), nullptr);
}

TEST_F(DialogsTest, APuzzleWithoutAnIntroScriptIsPlayedAtOnce)
{
    NewPlayer();
    auto* intro = new LevelIntroMenu(Game(), 0, 2, 1);
    EXPECT_TRUE(Shown().empty());
    intro->Show();
    Harness().RunTicks(2);
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L"play 0/2/1"});
    EXPECT_EQ(FindMenu<LevelIntroMenu>(), nullptr);
}

TEST_F(DialogsTest, ATextBoxPopupStandsWhereAskedWithItsOkDisabledUntilItsOwnerAllows)
{
    NewPlayer();
    struct Owner : ButtonListener
    {
        void ButtonDepress(int id) override { depressed.push_back(id); }
        std::vector<int> depressed;
    } owner;
    auto* popup = new TextboxPopup(Game(), 100, 120, ::GetImage(L"Dialog"), &owner);
    popup->Show();
    Harness().RunTicks(40);
    EXPECT_EQ(popup->GetX(), 100.0f);
    EXPECT_EQ(popup->GetY(), 120.0f);
    ButtonWidget* ok = popup->GetOkButton();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(static_cast<int>(ok->GetX()) + ok->GetWidth() / 2, popup->GetWidth() / 2);
    EXPECT_EQ(static_cast<int>(ok->GetY()), popup->GetHeight() - 74);
    const Vector4 origin = ok->GetScreenOrigin();
    const int x = static_cast<int>(origin.x) + ok->GetWidth() / 2;
    const int y = static_cast<int>(origin.y) + ok->GetHeight() / 2;
    Harness().MouseMove(x, y);
    Harness().Click(x, y);
    EXPECT_TRUE(owner.depressed.empty());
    ok->SetDisabled(false);
    Harness().MouseMove(x + 1, y);
    Harness().Click(x + 1, y);
    EXPECT_EQ(owner.depressed, std::vector<int>{ok->GetId()});
    // Gone before its owner is.
    CloseAllMenus();
    Harness().RunTicks(2);
}

} // namespace
