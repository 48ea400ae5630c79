#include "app/DialogMenu.h"

#include "app/GameApp.h"
#include "graphics/Graphics.h"
#include "graphics/ImageSurface.h"
#include "resources/Assets.h"
#include "resources/Constants.h"
#include "ui/DynamicWidget.h"
#include "ui/WidgetManager.h"

namespace {

void RemoveFlags(WidgetContainer* widget, uint32_t flags)
{
    FlagsMod mod = widget->GetFlagsMod();
    mod.remove |= flags;
    widget->SetFlagsMod(mod);
}

void RestoreFlags(WidgetContainer* widget, uint32_t flags)
{
    FlagsMod mod = widget->GetFlagsMod();
    mod.remove &= ~flags;
    widget->SetFlagsMod(mod);
}

} // namespace

DialogMenu::DialogMenu(GameApp& app, Widget* fadeTarget)
    : PopupMenu(app, ::GetImage(L"Dialog")), m_fadeTarget(fadeTarget)
{
    if (fadeTarget != nullptr) {
        m_fadeTargetAlive = fadeTarget->GetReferenceAnchor().GetToken();
        SetPopupAnimations(false);
        m_fadeState = Fade::Shown;
    }
}

Widget* DialogMenu::GetFadeTarget() const
{
    return m_fadeTargetAlive.expired() ? nullptr : m_fadeTarget;
}

DynamicWidget* DialogMenu::MakeSnapshot(Widget* widget)
{
    auto* image = new ImageSurface();
    image->Create(GetApp().GetWidth(), GetApp().GetHeight());
    if (widget != nullptr && widget->GetManager() != nullptr) {
        Graphics g(image);
        const Vector4 origin = widget->GetScreenOrigin();
        g.Translate(origin.x, origin.y);
        ModalFlags flags;
        widget->GetManager()->InitModalFlags(&flags);
        widget->DrawAll(&flags, &g);
    }
    auto* snapshot = new DynamicWidget(0, 0, image, 1.0f);
    snapshot->SetOwnsImage(true);
    FlagsMod mod = snapshot->GetFlagsMod();
    mod.add |= WidgetFlags::Draw;
    snapshot->SetFlagsMod(mod);
    if (widget != nullptr)
        RemoveFlags(widget, WidgetFlags::Draw);
    return snapshot;
}

void DialogMenu::AddedToManager(WidgetManager* manager)
{
    PopupMenu::AddedToManager(manager);
    if (m_fadeState == Fade::None || GetManager() == nullptr)
        return;
    RemoveFlags(this, WidgetFlags::Mouse);
    manager->RecheckMouse();
    m_targetSnapshot = MakeSnapshot(GetFadeTarget());
    m_dialogSnapshot = MakeSnapshot(this);
    m_targetSnapshot->AddWidget(m_dialogSnapshot);
    FlagsMod mod = m_targetSnapshot->GetFlagsMod();
    mod.add |= WidgetFlags::Offscreen;
    m_targetSnapshot->SetFlagsMod(mod);
    m_targetSnapshot->Move(-GetX(), -GetY());
    AddWidget(m_targetSnapshot);

    m_fadeTime = GetConstantFloat(L"dialog_fade_time");
    m_targetSnapshot->TweenProperty(L"opacity", 0.0f, m_fadeTime);
    m_dialogSnapshot->SetProperty(L"opacity", 0.0f);
    m_dialogSnapshot->TweenProperty(L"opacity", 1.0f, m_fadeTime);
    m_fadeState = Fade::FadingIn;
}

void DialogMenu::Update()
{
    PopupMenu::Update();
    if (m_fadeState == Fade::FadingIn && !m_targetSnapshot->IsMoving()) {
        m_targetSnapshot->SetVisible(false);
        RestoreFlags(this, WidgetFlags::Draw);
        m_fadeState = Fade::Shown;
        RestoreFlags(this, WidgetFlags::Mouse);
        MarkDirty();
    } else if (m_fadeState == Fade::FadingOut && !m_dialogSnapshot->IsMoving()) {
        if (Widget* target = GetFadeTarget())
            RestoreFlags(target, WidgetFlags::Draw);
        RemoveSelf();
    }
}

void DialogMenu::Close()
{
    if (m_fadeState == Fade::None) {
        PopupMenu::RemoveSelf();
        return;
    }
    if (m_targetSnapshot == nullptr) {
        // Closed before it was ever shown: nothing to fade.
        if (Widget* target = GetFadeTarget())
            RestoreFlags(target, WidgetFlags::Draw);
        PopupMenu::RemoveSelf();
        return;
    }
    m_targetSnapshot->SetVisible(true);
    m_targetSnapshot->TweenProperty(L"opacity", 1.0f, m_fadeTime);
    m_dialogSnapshot->TweenProperty(L"opacity", 0.0f, m_fadeTime);
    RemoveFlags(this, WidgetFlags::Draw);
    MarkDirty();
    m_fadeState = Fade::FadingOut;
}

void DialogMenu::HandleAction(const std::wstring& action, const std::wstring&, DynamicWidget*)
{
    if (action == L"close")
        Close();
}
