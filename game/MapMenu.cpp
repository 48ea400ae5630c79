#include "game/MapMenu.h"

#include "base/Common.h"
#include "game/MainMenu.h"
#include "game/MyGameApp.h"
#include "game/SetLoadingMenu.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/ImageSurface.h"
#include "puzzle/PlayerState.h"
#include "puzzle/ProfileManager.h"
#include "puzzle/SetTable.h"
#include "resources/Assets.h"
#include "ui/ButtonWidget.h"

MapMenu::MapMenu(MyGameApp& app, Image* background, const std::wstring& setName)
    : InterpreterMenu(app, L"map_menu"), m_game(app)
{
    if (background != nullptr) {
        SetVariable(L"animate_map", Value(true));
        m_setName = setName;
        if (!setName.empty())
            SetVariable(L"set_name", Value(setName));
        auto copy = std::make_unique<ImageSurface>();
        if (copy->Create(background->GetWidth(), background->GetHeight())) {
            Graphics g(copy.get());
            g.DrawImage(background, 0, 0);
            m_background = std::move(copy);
            AddObject(L"transition_bg", new DynamicWidget(0, 0, m_background.get(), 1.0f));
        }
    }
    m_map = new AnimationWidget(0, 0, ::GetImage(L"bg_worldselect"), 1.0f);
    AddObject(L"map", m_map);
    m_nameLabel = new AnimationWidget(L"", 0, 0, false);
    m_map->AddWidget(m_nameLabel);
}

MapMenu::~MapMenu()
{
    // The picture goes after the widget that shows it.
    if (DynamicWidget* picture = FindObject(L"transition_bg"))
        picture->SetImage(nullptr);
}

void MapMenu::AddedToManager(WidgetManager* manager)
{
    InterpreterMenu::AddedToManager(manager);
    if (!m_buttonsBuilt) {
        m_buttonsBuilt = true;
        BuildSetButtons();
    }
}

void MapMenu::BuildSetButtons()
{
    const PlayerState* state = GetCurrentPlayerState();
    const std::vector<SetRecord>& sets = gSetTable.Sets(m_mode);
    for (size_t i = 0; i < sets.size(); ++i) {
        const SetRecord& set = sets[i];
        Entry entry;
        if (set.x == 0 && set.y == 0) {
            m_entries.push_back(entry);
            continue;
        }
        const std::wstring style = StrFormatW(L"map_%s_btn", set.name);
        auto* button = new ButtonWidget(set.x, set.y, style, L"", false);
        button->SetVariable(L"set_name", Value(set.name));
        button->SetPixelHitTest(true);
        const int unlock = state != nullptr ? state->GetUnlock(m_mode, static_cast<int>(i)) : 0;
        if (unlock == 0) {
            button->SetDisabled(true);
        } else {
            m_map->SetVariable(L"selected_btn_name", Value(style));
            m_map->SetVariable(L"btn_x", Value(set.x));
            m_map->SetVariable(L"btn_y", Value(set.y));
            m_map->SetVariable(L"new_btn_x", Value(set.x + button->GetWidth() / 2));
            m_map->SetVariable(L"new_btn_y", Value(set.y + button->GetHeight() / 2));
            ShowSetName(button);
        }
        m_map->AddWidget(button);
        button->SetButtonListener(this);
        entry.button = button;
        m_entries.push_back(entry);
    }
    m_map->StartAnimationByName(L"map_highlight_button");
}

void MapMenu::ShowSetName(ButtonWidget* button)
{
    std::wstring text = L"map_unknown_set";
    if (button->GetHandCursor()) {
        const Value* name = button->FindVariable(L"set_name");
        text = name != nullptr ? name->ToString() : std::wstring();
    }
    m_nameLabel->SetVariable(L"set_name", Value(text));
    m_nameLabel->PlayAnimationByName(L"update_set_name");
}

void MapMenu::ButtonMouseEnter(int id)
{
    for (const Entry& entry : m_entries) {
        if (entry.button != nullptr && entry.button->GetId() == id) {
            ShowSetName(entry.button);
            return;
        }
    }
}

void MapMenu::ButtonDepress(int id)
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        ButtonWidget* button = m_entries[i].button;
        if (button == nullptr || button->GetId() != id || !button->GetHandCursor() || button->IsDisabled())
            continue;
        RemoveSelf();
        if (PlayerState* state = GetCurrentPlayerState())
            state->currentCountry = static_cast<int>(i);
        (new SetLoadingMenu(m_game, -1))->Show();
        return;
    }
}

void MapMenu::HandleAction(const std::wstring& action, const std::wstring&, DynamicWidget*)
{
    if (action != L"main_menu")
        return;
    RemoveSelf();
    (new MainMenu(m_game, true))->Show();
}
