#include "puzzle/PlayPuzzleMenu.h"

#include "app/GameApp.h"
#include "base/Common.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "puzzle/HintMeter.h"
#include "puzzle/MistakeMeter.h"
#include "puzzle/PlayArtGrid.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/PuzzleTable.h"
#include "puzzle/SetTable.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "resources/Localization.h"
#include "ui/ButtonWidget.h"
#include "ui/FlagsMod.h"
#include "ui/ModalFlags.h"
#include "ui/PassiveWidget.h"
#include "ui/TextLabel.h"

#include <algorithm>

namespace {

const wchar_t* const kHiddenCode = L"ostrelgm";

std::wstring PlayScriptName(int mode, int set)
{
    const SetRecord* record = gSetTable.Find(mode, set);
    return record ? record->name + L"_play" : std::wstring(L"default_play");
}

} // namespace

PlayPuzzleMenu::PlayPuzzleMenu(GameApp& app, int mode_, int set_, int puzzle_)
    : InterpreterMenu(app, PlayScriptName(mode_, set_)), mode(mode_), set(set_), puzzle(puzzle_)
{
    firstSet = mode == 0 && set == 0;
    if (gCurrentPlayerState)
        toggleOption = &gCurrentPlayerState->toggleMode;

    const SetRecord* record = gSetTable.Find(mode, set);
    if (record && !record->music.empty() && gCurrentPlayerState) {
        ++gCurrentPlayerState->playCount;
        const std::size_t track =
            static_cast<std::size_t>(gCurrentPlayerState->playCount) % record->music.size();
        app.CrossFadeMusic(record->music[track]);
    }

    trailLayer = new PassiveWidget(0, 0, nullptr, false);
    FlagsMod mod;
    mod.add = WidgetFlags::Batching;
    trailLayer->SetFlagsMod(mod);
    AddWidget(trailLayer);

    SetVariable(L"progress",
                Value(gCurrentPlayerState ? gCurrentPlayerState->CountCompletedPuzzles(mode, set) : 0));
}

PlayPuzzleMenu::~PlayPuzzleMenu()
{
    // Leaving the screen by any way keeps the player's progress.
    SaveProfiles();
}

void PlayPuzzleMenu::AddedToManager(WidgetManager* manager)
{
    InterpreterMenu::AddedToManager(manager);
    // A missing or empty set script has nothing to run: it is over at once.
    if (state == State::SetScript && IsFinished() && GetWait() == Wait::None)
        OnScriptFinished();
}

// The script ------------------------------------------------------------------

void PlayPuzzleMenu::OnEmptyScript()
{
    OnScriptFinished();
}

void PlayPuzzleMenu::OnScriptFinished()
{
    if (state == State::SetScript) {
        BuildPlayField();
        state = State::Intro;
        PlayAnimationByName(L"play_intro");
    } else if (state == State::Intro) {
        BeginPlay();
    }
}

Animator::Outcome PlayPuzzleMenu::HandleCommand(const ScriptCommand& command)
{
    return ExecutePlayCommand(command);
}

Animator::Outcome PlayPuzzleMenu::ExecutePlayCommand(const ScriptCommand& command)
{
    if (state != State::Intro || !grid)
        return Outcome::NotMine;
    return RunHostWord(HostWords(), command.m_name, *this);
}

std::span<const PlayPuzzleMenu::HostWord> PlayPuzzleMenu::HostWords()
{
    using Menu = PlayPuzzleMenu;
    static constexpr HostWord rows[] = {
        {L"init-grid-holes", [](Menu& menu) { menu.grid->InitGridHoles(); }},
        {L"add-grid", [](Menu& menu) { menu.AddSnapshot({menu.grid}, true); }},
        {L"add-hud",
         [](Menu& menu) {
             const std::vector<Widget*> hud(menu.hudWidgets.begin(), menu.hudWidgets.end());
             menu.AddSnapshot(hud, !menu.Raw(L"opacity").empty());
         }},
        {L"show-grid", [](Menu& menu) { menu.grid->SetVisible(true); }},
        {L"enable-grid", [](Menu& menu) { menu.grid->SetDisabled(false); }},
        {L"show-numbers",
         [](Menu& menu) {
             menu.numbersStarted = true;
             menu.grid->ShowNumbers();
         }},
        {L"wait-for-numbers",
         [](Menu& menu) {
             menu.SetWait(Wait::ScreenHost);
             return Outcome::Suspend;
         }},
    };
    return rows;
}

void PlayPuzzleMenu::AddSnapshot(const std::vector<Widget*>& widgets, bool opacityGiven)
{
    ImageSurface* picture = RenderToImage(widgets, false);
    const float opacity = opacityGiven ? ReadFloat(L"opacity", 1.0f) : 1.0f;
    auto* snapshot = new DynamicWidget(ReadInt(L"x"), ReadInt(L"y"), picture, opacity);
    snapshot->SetOwnsImage(true);
    snapshot->SetMouseVisible(false);
    AddObject(ReadText(L"id"), snapshot);
}

// Building the play field -------------------------------------------------------

Widget* PlayPuzzleMenu::AddHudWidget(Widget* widget)
{
    if (!widget)
        return nullptr;
    if (widget->GetParent() != this)
        AddWidget(widget);
    widget->SetVisible(false);
    hudWidgets.push_back(widget);
    return widget;
}

void PlayPuzzleMenu::BuildPlayField()
{
    const int noHintsCount = GetConstantInt(L"puzzles_without_hints");
    const bool noHints = firstSet && puzzle < noHintsCount;
    const bool noShovel = firstSet && puzzle < GetConstantInt(L"puzzles_without_shovel");
    const bool tutorial = firstSet && puzzle < GetConstantInt(L"tutorials");
    const PuzzleRecord* record = gPuzzleTable.Find(mode, set, puzzle);
    const int n = record ? record->GridSize() : 0;
    const int screenWidth = GetApp().GetWidth();
    const int screenHeight = GetApp().GetHeight();

    auto* notepad = new PassiveWidget(0, 0, ::GetImage(L"notepad"), false);
    notepad->Move(static_cast<float>(screenWidth - notepad->GetWidth()),
                  static_cast<float>(screenHeight - notepad->GetHeight()));
    AddHudWidget(notepad);

    const SetRecord* setRecord = gSetTable.Find(mode, set);
    // The texts on the notepad are written in ink.
    auto ink = [](TextLabel* label) {
        label->SetProperty(L"red", 0.16f);
        label->SetProperty(L"green", 0.2f);
        label->SetProperty(L"blue", 0.32f);
        return label;
    };
    AddHudWidget(ink(new TextLabel(setRecord ? Localize(setRecord->name) : std::wstring(),
                                   GetConstantInt(L"exhibit_text_x"), GetConstantInt(L"exhibit_text_y"),
                                   L"hud_text", 0, -1, -1, -1)));
    const bool completed = gCurrentPlayerState && gCurrentPlayerState->IsCompleted(mode, set, puzzle);
    const std::wstring puzzleName =
        completed && record ? Localize(record->name) : Localize(L"unbeaten_puzzle_name");
    puzzleNameLabel = ink(new TextLabel(puzzleName, GetConstantInt(L"puzzle_text_x"),
                                        GetConstantInt(L"puzzle_text_y"), L"tiny", 0, -1, -1, -1));
    AddHudWidget(puzzleNameLabel);
    timerLabel = ink(new TextLabel(TimeText(ticks), GetConstantInt(L"timer_text_x"),
                                   GetConstantInt(L"timer_text_y"), L"hud_text", 0, -1, -1, -1));
    AddHudWidget(timerLabel);

    hintMeter = new HintMeter(GetConstantInt(L"hint_meter_x"), GetConstantInt(L"hint_meter_y"), 240, 120, n,
                              noHints ? 0 : GetConstantInt(L"starting_hints"));
    AddHudWidget(hintMeter);
    mistakeMeter =
        new MistakeMeter(GetConstantInt(L"mistake_meter_x"), GetConstantInt(L"mistake_meter_y"), 240, 200, n);
    AddHudWidget(mistakeMeter);

    const int notepadCentre = static_cast<int>(notepad->GetX()) + notepad->GetWidth() / 2;
    auto menuButtonAt = [&](const std::wstring& label, const wchar_t* xOffset, const wchar_t* yOffset) {
        Widget* button = AddMenuButton(0, 0, label);
        if (!button)
            return button;
        button->Move(static_cast<float>(notepadCentre + GetConstantInt(xOffset) - button->GetWidth() / 2),
                     notepad->GetY() + static_cast<float>(GetConstantInt(yOffset)));
        if (auto* dynamic = dynamic_cast<DynamicWidget*>(button))
            dynamic->SetProperty(L"scale_x", 1.2f);
        return AddHudWidget(button);
    };
    optionsButton =
        menuButtonAt(L"options_title", L"puzzle_options_button_x_offset", L"puzzle_options_button_y_offset");
    const wchar_t* menuLabel = firstSet ? L"button_menu" : (mode == 0 ? L"button_museum" : L"button_desk");
    menuButton = menuButtonAt(menuLabel, L"puzzle_menu_button_x_offset", L"puzzle_menu_button_y_offset");

    auto addTool = [&](const wchar_t* style, const wchar_t* x, const wchar_t* y, const wchar_t* cursor,
                       const wchar_t* labelX, const wchar_t* labelY, const wchar_t* text) {
        ToolRecord tool;
        tool.button = AddButton(GetConstantInt(x), GetConstantInt(y), style, L"", true);
        tool.button->Move(tool.button->GetX() - static_cast<float>(tool.button->GetWidth() / 2),
                          tool.button->GetY());
        tool.x = static_cast<int>(tool.button->GetX());
        tool.y = static_cast<int>(tool.button->GetY());
        tool.cursorName = cursor;
        tool.label = new TextLabel(Localize(text), GetConstantInt(labelX), GetConstantInt(labelY),
                                   L"hud_text2", 0, -1, -1, -1);
        AddHudWidget(tool.button);
        AddHudWidget(tool.label);
        return tool;
    };
    if (!noShovel)
        tools.push_back(addTool(L"mark_tool_btn", L"right_click_x", L"right_click_y", L"shovelcursor",
                                L"left_click_text_x", L"left_click_text_y", L"puzzle_right_click"));
    tools.insert(tools.begin(), addTool(L"tile_tool_btn", L"left_click_x", L"left_click_y", L"brushcursor",
                                        L"right_click_text_x", L"right_click_text_y", L"puzzle_left_click"));
    SelectTool(0);

    grid = MakeGrid(tutorial);
    grid->SetOwner(this);
    AddWidget(grid);
    // The trails fly above the board.
    if (trailLayer)
        PutInFront(trailLayer, grid);
    grid->SetMeters(hintMeter, mistakeMeter);
    grid->SetVisible(false);
    grid->SetCursors(::GetImage(tools[0].cursorName),
                     tools.size() > 1 ? ::GetImage(tools[1].cursorName) : nullptr);
    if (tools.size() == 1)
        grid->SetMarkingLocked(true);
    grid->SetTool(currentTool != 0 ? 1 : 0);
}

PlayTileGrid* PlayPuzzleMenu::MakeGrid(bool /*tutorial*/)
{
    return new PlayTileGrid(mode, set, puzzle);
}

void PlayPuzzleMenu::BeginPlay()
{
    for (Widget* widget : hudWidgets)
        widget->SetVisible(true);
    state = State::Playing;
    // The clock counts from the next update on, whether or not anything
    // else on the screen moves.
    WantTicks();
    if (!grid)
        return;
    // An intro that never showed the board (or none at all) must not leave it
    // hidden and locked.
    grid->SetVisible(true);
    if (!numbersStarted) {
        numbersStarted = true;
        grid->ShowNumbers();
    }
    grid->BeginPlay();
}

// Updates -----------------------------------------------------------------------

void PlayPuzzleMenu::Update()
{
    InterpreterMenu::Update();
    if (GetWait() == Wait::ScreenHost) {
        // The script waits for the board to take moves (its clue numbers
        // landed). The last number lands in its own update and asks for no
        // further one, so while numbers fly the wait keeps the updates coming
        // until it sees the board ready.
        if (grid && !grid->IsDisabled())
            RunScript(true);
        else if (grid && numbersStarted)
            WantTicks();
        return;
    }
    switch (state) {
    case State::Playing: {
        if (!grid)
            return;
        UpdateToolDisplay();
        const bool goesOn = grid->IsFailed() ? !grid->IsFailurePlayedOut()
                                             : grid->GetRules().tilesLeft > 0 || grid->HasCellAnimations();
        if (goesOn) {
            // The puzzle's clock runs while the player thinks.
            WantTicks();
            ++ticks;
            if (ticks % 100 == 0 && timerLabel)
                timerLabel->SetText(TimeText(ticks));
        } else {
            FinishPuzzle();
        }
        break;
    }
    case State::Solved:
        WantTicks();
        if (++revealTicks <= revealEndTick)
            return;
        {
            std::vector<Widget*> still{grid};
            // Without a level screen to take it, the picture stays in the still.
            if (artGrid)
                still.push_back(artGrid);
            Flatten(still);
            grid = nullptr;
            artGrid = nullptr;
            state = State::Finished;
        }
        break;
    default:
        break;
    }
}

void PlayPuzzleMenu::UpdateToolDisplay()
{
    if (tools.size() < 2)
        return;
    const PlayRules& rules = grid->GetRules();
    const bool inEffect = rules.dragMode == PlayRules::kReveal ||
                          (rules.dragMode == PlayRules::kNoDrag && rules.tool == PlayRules::kTileTool);
    if (inEffect == tileToolShown)
        return;
    tileToolShown = inEffect;
    tools[0].button->SetDisabled(inEffect);
    tools[1].button->SetDisabled(!inEffect);
}

std::wstring PlayPuzzleMenu::TimeText(int t)
{
    return StrFormatW(Localize(L"puzzle_time"), t / 6000, (t / 100) % 60);
}

// The end of play ---------------------------------------------------------------

void PlayPuzzleMenu::GridInputEnded()
{
    for (ToolRecord& tool : tools)
        tool.button->SetMouseVisible(false);
    if (hintMeter)
        hintMeter->SetMouseVisible(false);
}

void PlayPuzzleMenu::FinishPuzzle()
{
    if (state != State::Playing || !grid)
        return;
    const bool failed = grid->IsFailed();
    // The meters leave with the HUD below: their counts are kept now.
    hintsUsedAtEnd = hintMeter ? hintMeter->GetHintsUsed() : 0;
    mistakesAtEnd = grid->GetMistakesMade();
    if (failed)
        grid->BeginEndSequence();
    else
        grid->BeginFade();
    SetPauseInBackground(false);
    grid->SetDisabled(true);
    grid->SetMeters(nullptr, nullptr);
    // A solved picture is no longer unknown: the notepad names it before
    // the HUD is turned into its still picture.
    if (!failed && puzzleNameLabel)
        if (const PuzzleRecord* record = gPuzzleTable.Find(mode, set, puzzle))
            puzzleNameLabel->SetText(Localize(record->name));

    Flatten(std::vector<Widget*>(hudWidgets.begin(), hudWidgets.end()));
    hudWidgets.clear();
    hintMeter = nullptr;
    mistakeMeter = nullptr;
    timerLabel = nullptr;
    puzzleNameLabel = nullptr;
    optionsButton = nullptr;
    menuButton = nullptr;
    tools.clear();

    if (failed) {
        state = State::Failed;
        // The explosion may already have thrown nothing and asked for the end.
        if (failPending)
            FailPuzzle();
        return;
    }
    state = State::Solved;
    GetApp().PlaySoundByName(StrFormatW(L"reveal%d", grid->GridSize()));
    if (const PuzzleRecord* record = gPuzzleTable.Find(mode, set, puzzle)) {
        artGrid = new PlayArtGrid(*record, grid);
        revealEndTick = artGrid->GetEndTick();
        AddWidget(artGrid);
        PutInFront(artGrid, grid);
    }
    RecordSolve();
    ShowLevelComplete(ticks / 100, mistakesAtEnd, hintsUsedAtEnd);
    SaveProfiles();
}

void PlayPuzzleMenu::RecordSolve()
{
    if (PuzzleRecord* record = gPuzzleTable.Find(mode, set, puzzle))
        record->tested = true;
    if (!gCurrentPlayerState)
        return;
    PuzzleProgress* progress = gCurrentPlayerState->EnsurePuzzle(mode, set, puzzle);
    if (!progress)
        return;
    const int seconds = ticks / 100;
    if (progress->bestTime == 0 || seconds < progress->bestTime)
        progress->bestTime = seconds;
    firstSolve = !progress->completed;
}

void PlayPuzzleMenu::FailPuzzle()
{
    if (state != State::Failed) {
        // Told before the screen ended play (an explosion without pieces).
        failPending = true;
        return;
    }
    if (failShown || !trackedWidgets.empty())
        return;
    failShown = true;
    ShowLevelFail(ticks / 100, mistakesAtEnd, hintsUsedAtEnd);
    if (grid) {
        Flatten({grid});
        grid = nullptr;
    }
    state = State::Finished;
}

void PlayPuzzleMenu::AddTrackedWidget(Widget* widget)
{
    trackedWidgets.insert(widget);
    AddWidget(widget);
}

bool PlayPuzzleMenu::AreCustomCursorsEnabled() const
{
    return GetApp().AreCustomCursorsEnabled();
}

void PlayPuzzleMenu::SetCursorImage(Image* image)
{
    GetApp().SetCursorImage(image);
}

void PlayPuzzleMenu::RemoveWidget(Widget* widget)
{
    InterpreterMenu::RemoveWidget(widget);
    if (widget == grid)
        grid = nullptr;
    if (widget == artGrid)
        artGrid = nullptr;
    if (trackedWidgets.erase(widget) > 0 && trackedWidgets.empty())
        FailPuzzle();
}

PlayArtGrid* PlayPuzzleMenu::HandOverArtGrid()
{
    PlayArtGrid* picture = artGrid;
    artGrid = nullptr;
    return picture;
}

int PlayPuzzleMenu::GetHintsUsed() const
{
    return hintMeter ? hintMeter->GetHintsUsed() : hintsUsedAtEnd;
}

void PlayPuzzleMenu::ShowLevelComplete(int, int, int)
{
    // Until a level screen records it, the solve is recorded here.
    if (gCurrentPlayerState)
        if (PuzzleProgress* progress = gCurrentPlayerState->EnsurePuzzle(mode, set, puzzle))
            progress->completed = true;
}

void PlayPuzzleMenu::ShowLevelFail(int, int, int) {}

void PlayPuzzleMenu::ShowOptions() {}

void PlayPuzzleMenu::ShowLeaveConfirmation() {}

// Pictures of widgets -------------------------------------------------------------

ImageSurface* PlayPuzzleMenu::RenderToImage(const std::vector<Widget*>& widgets, bool remove)
{
    auto* surface = new ImageSurface();
    surface->Create(std::max(1, GetWidth()), std::max(1, GetHeight()));
    for (Widget* widget : widgets) {
        if (!widget)
            continue;
        {
            Graphics g(surface);
            g.Translate(widget->GetX(), widget->GetY());
            ModalFlags flags;
            flags.overFlags = WidgetFlags::Default;
            flags.underFlags = WidgetFlags::Default;
            widget->DrawAll(&flags, &g);
            g.FlushBatch();
        }
        if (remove)
            RemoveWidget(widget);
    }
    return surface;
}

void PlayPuzzleMenu::Flatten(const std::vector<Widget*>& widgets)
{
    ImageSurface* picture = RenderToImage(widgets, true);
    auto* still = new DynamicWidget(0, 0, picture, 1.0f);
    still->SetOwnsImage(true);
    still->SetMouseVisible(false);
    AddWidget(still);
}

// Tools and input ---------------------------------------------------------------

void PlayPuzzleMenu::SelectTool(int index)
{
    if (tools.empty())
        return;
    currentTool = std::clamp(index, 0, static_cast<int>(tools.size()) - 1);
    const bool toggle = ToggleOptionOn();
    for (ToolRecord& tool : tools) {
        tool.button->SetDisabled(false);
        tool.button->SetMouseVisible(toggle);
        if (toggle)
            tool.label->SetText(L"");
    }
    tools[currentTool].button->SetDisabled(true);
    if (toggle) {
        tools[currentTool].label->SetText(Localize(L"puzzle_left_click"));
    } else {
        tools[0].label->SetText(Localize(L"puzzle_left_click"));
        if (tools.size() > 1)
            tools[1].label->SetText(Localize(L"puzzle_right_click"));
    }
    if (grid)
        grid->SetTool(currentTool != 0 ? 1 : 0);
}

void PlayPuzzleMenu::SelectNextTool()
{
    if (!tools.empty())
        SelectTool((currentTool + 1) % static_cast<int>(tools.size()));
}

WidgetContainer* PlayPuzzleMenu::GetTrailLayer()
{
    return trailLayer;
}

void PlayPuzzleMenu::RequestHints(int sourceX, int sourceY, int count)
{
    if (grid)
        grid->RevealHintTiles(sourceX, sourceY, count);
}

void PlayPuzzleMenu::ButtonPress(int id)
{
    for (std::size_t i = 0; i < tools.size(); ++i)
        if (tools[i].button->GetId() == id)
            SelectTool(static_cast<int>(i));
}

void PlayPuzzleMenu::ButtonDepress(int id)
{
    if (optionsButton && id == optionsButton->GetId())
        ShowOptions();
    else if (menuButton && id == menuButton->GetId())
        ShowLeaveConfirmation();
}

void PlayPuzzleMenu::KeyChar(int ch)
{
    InterpreterMenu::KeyChar(ch);
    if (ch == ' ' && ToggleOptionOn())
        SelectNextTool();
    if (GetTypedText() == kHiddenCode && state == State::Playing)
        FinishPuzzle();
}

void PlayPuzzleMenu::MouseDown(int x, int y, int clicks)
{
    InterpreterMenu::MouseDown(x, y, clicks);
    if (clicks < 0 && ToggleOptionOn())
        SelectNextTool();
}

void PlayPuzzleMenu::MouseDrag(int, int) {}

void PlayPuzzleMenu::GotFocus()
{
    InterpreterMenu::GotFocus();
    if (state == State::Playing)
        SelectTool(ToggleOptionOn() ? currentTool : 0);
    else if (state == State::Solved || state == State::Failed)
        SetPauseInBackground(false);
}
