#include "app/Menu.h"

#include "app/GameApp.h"
#include "audio/SoundPlayer.h"
#include "graphics/D3DInterface.h"
#include "graphics/Graphics.h"
#include "graphics/ImageSurface.h"
#include "ui/ButtonWidget.h"
#include "ui/WidgetManager.h"

namespace {

constexpr int kTypedCodeLength = 8;
constexpr int kOnTopPriority = 2;
constexpr int kArrowCursor = 0;

} // namespace

Menu::Menu(GameApp& app, Image* background, bool onTop, bool centre)
    : AnimationWidget(L"", 0, 0, false), m_app(app)
{
    SetHost(&app);
    SetMouseVisible(true);
    SetSuspendOwner(this, false);
    if (onTop)
        SetPriorities(kOnTopPriority);
    const int appWidth = app.GetWidth();
    const int appHeight = app.GetHeight();
    if (background != nullptr) {
        SetImage(background);
        if (centre)
            Move(static_cast<float>(appWidth / 2 - GetWidth() / 2),
                 static_cast<float>(appHeight / 2 - GetHeight() / 2));
    } else {
        Resize(0, 0, appWidth, appHeight);
    }
    app.SetCursor(kArrowCursor);
}

Menu::~Menu() = default;

void Menu::SetPriorities(int priority)
{
    SetPriority(priority);
    SetOverlayLevel(priority);
}

Widget* Menu::WrapForShow()
{
    return m_app.WrapMenu(this);
}

void Menu::Show()
{
    m_app.AddDialog(m_wrapForShow ? WrapForShow() : this);
}

void Menu::ShowWrapped()
{
    m_app.AddDialog(WrapForShow());
}

void Menu::RemoveSelf()
{
    m_removeRequested = true;
    // Children told of the removal may ask again: once is enough.
    if (m_removing)
        return;
    m_removing = true;
    if (m_app.GetDialog(GetId()) == this)
        m_app.KillDialog(this);
    else if (GetParent() != nullptr)
        AnimationWidget::RemoveSelf();
    // Neither shown nor placed yet: the mark is honoured once it is added.
    m_removing = false;
}

ButtonWidget* Menu::AddButton(int x, int y, const std::wstring& style, const std::wstring& label,
                              bool localize)
{
    auto* button = new ButtonWidget(x, y, style, label, localize);
    AddWidget(button);
    return button;
}

Widget* Menu::AddMenuButton(int x, int y, const std::wstring& label)
{
    Widget* button = m_app.CreateMenuButton(x, y, label, true);
    if (button != nullptr)
        AddWidget(button);
    return button;
}

// Focus and the open-menu list ----------------------------------------------

void Menu::AddedToManager(WidgetManager* manager)
{
    m_app.RegisterOpenMenu(this);
    AnimationWidget::AddedToManager(manager);
    if (IsRemoveRequested())
        RemoveSelf();
    else
        manager->SetFocus(this);
}

void Menu::RemovedFromManager(WidgetManager* manager)
{
    std::map<int, int> counts;
    counts.swap(m_loopSoundCounts);
    if (SoundPlayer* player = m_app.GetSoundPlayer()) {
        for (const auto& [id, count] : counts) {
            for (int i = 0; i < count; ++i)
                player->StopLoop(id, 0.0f);
        }
    }
    AnimationWidget::RemovedFromManager(manager);
    m_app.UnregisterOpenMenu(this);
}

void Menu::GotFocus()
{
    AnimationWidget::GotFocus();
    m_app.SetCurrentMenu(this);
    MarkDirty();
}

void Menu::MouseDown(int x, int y, int clicks)
{
    AnimationWidget::MouseDown(x, y, clicks);
    if (IsUpdateSuspended() && GetManager() != nullptr) {
        GetManager()->SetFocus(this);
        ApplySuspendState();
    }
}

void Menu::KeyChar(int ch)
{
    m_typedText.push_back(static_cast<wchar_t>(ch));
    if (m_typedText.size() > kTypedCodeLength)
        m_typedText.erase(0, m_typedText.size() - kTypedCodeLength);
    if (m_typedText.size() == kTypedCodeLength)
        m_app.HandleTypedCode(m_typedText);
}

// Background pause -----------------------------------------------------------

bool Menu::IsUpdateSuspended()
{
    if (m_app.GetWidgetSuspension() > 0)
        return true;
    return m_pauseInBackground && GetManager() != nullptr && !m_active && m_app.GetScreensaverPreview() == 0;
}

void Menu::SetActive(bool active)
{
    m_active = active;
    ApplySuspendState();
}

void Menu::SetPauseInBackground(bool pause)
{
    m_pauseInBackground = pause;
    ApplySuspendState();
}

void Menu::ApplySuspendState()
{
    FlagsMod mod = GetFlagsMod();
    const bool suspended = IsUpdateSuspended();
    if (suspended) {
        if (m_suspendRemovedFlags == 0 && (mod.remove & WidgetFlags::Mouse) == 0)
            m_suspendRemovedFlags = WidgetFlags::Mouse;
        mod.remove |= m_suspendRemovedFlags;
    } else {
        mod.remove &= ~m_suspendRemovedFlags;
        m_suspendRemovedFlags = 0;
        // What stopped with the menu in the middle (a script, a motion, a
        // clock) asks for ticks only from its own updates: the first update
        // after the pause must come even when nothing else moves.
        WantTicks();
    }
    SetFlagsMod(mod);
    SoundPlayer* player = m_app.GetSoundPlayer();
    if (player != nullptr && !m_loopSoundCounts.empty())
        player->SilenceLoops(suspended, m_loopSoundCounts);
}

// Sounds and screen captures -------------------------------------------------

void Menu::StartLoopSound(int id, float fadeRate)
{
    ++m_loopSoundCounts[id];
    if (SoundPlayer* player = m_app.GetSoundPlayer())
        player->StartLoop(id, fadeRate);
}

void Menu::StopLoopSound(int id, float fadeRate)
{
    auto found = m_loopSoundCounts.find(id);
    if (found == m_loopSoundCounts.end())
        return;
    if (--found->second <= 0)
        m_loopSoundCounts.erase(found);
    if (SoundPlayer* player = m_app.GetSoundPlayer())
        player->StopLoop(id, fadeRate);
}

void Menu::CaptureScreen(bool fromWidgets)
{
    m_capturedImage.reset();
    if (!fromWidgets) {
        if (D3DInterface* renderer = m_app.GetRenderer())
            m_capturedImage.reset(renderer->CaptureScreenImage());
        return;
    }
    auto surface = std::make_unique<ImageSurface>();
    if (!surface->Create(GetWidth(), GetHeight()))
        return;
    Graphics g(surface.get());
    m_app.GetWidgetManager()->DrawWidgetsTo(&g);
    m_capturedImage = std::move(surface);
}
