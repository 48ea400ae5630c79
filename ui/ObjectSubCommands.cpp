#include "ui/ObjectSubCommands.h"

#include "base/Common.h"
#include "graphics/Graphics.h"
#include "graphics/ImageSurface.h"
#include "ui/AnimationWidget.h"
#include "ui/Animator.h"
#include "ui/CommandReader.h"
#include "ui/DynamicWidget.h"
#include "ui/FlagsMod.h"
#include "ui/ModalFlags.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

bool IsInside(const WidgetContainer* candidate, const WidgetContainer* object)
{
    for (const WidgetContainer* at = candidate; at != nullptr; at = at->GetParent()) {
        if (at == object)
            return true;
    }
    return false;
}

} // namespace

bool ObjectSubCommands::Run(std::wstring_view name, WidgetContainer& target)
{
    auto* widget = dynamic_cast<Widget*>(&target);
    if (name == L"remove") {
        if (widget != nullptr)
            widget->RemoveSelf();
    } else if (name == L"remove-children") {
        target.RemoveAllWidgets(true, true);
    } else if (name == L"show" || name == L"hide") {
        if (widget != nullptr)
            widget->SetVisible(name == L"show");
    } else if (name == L"enable" || name == L"disable") {
        if (widget != nullptr)
            widget->SetDisabled(name == L"disable");
    } else if (name == L"set-depth") {
        target.SetPriority(m_animator.ReadInt(L"depth"));
        if (WidgetContainer* parent = target.GetParent())
            parent->SortWidgets();
    } else if (name == L"bring-to-front" || name == L"bring-to-back") {
        WidgetContainer* parent = target.GetParent();
        if (parent != nullptr && widget != nullptr) {
            if (name == L"bring-to-front")
                parent->BringToFront(widget);
            else
                parent->BringToBack(widget);
        }
    } else if (name == L"merge") {
        Merge(target);
    } else if (name == L"get-point") {
        int x = 0;
        int y = 0;
        bool found = FindPoint(target, m_animator.ReadInt(L"tries", 100), x, y);
        if (found && m_animator.Has(L"x"))
            m_animator.SetVariable(m_animator.Raw(L"x"), Value(x));
        if (found && m_animator.Has(L"y"))
            m_animator.SetVariable(m_animator.Raw(L"y"), Value(y));
        if (m_animator.Has(L"found"))
            m_animator.SetVariable(m_animator.Raw(L"found"), Value(found));
    } else if (name == L"pick") {
        Pick(target);
    } else if (name == L"batch") {
        ChangeFlag(target, WidgetFlags::Batching);
    } else if (name == L"batch-by-depth") {
        ChangeFlag(target, WidgetFlags::BatchOrder);
    } else if (name == L"crossfade") {
        ChangeFlag(target, WidgetFlags::Offscreen);
    } else if (name == L"allow-mouse") {
        ChangeFlag(target, WidgetFlags::Mouse);
    } else if (name == L"update") {
        ChangeFlag(target, WidgetFlags::Update);
    } else if (name == L"mouse-visible") {
        if (widget != nullptr)
            widget->SetMouseVisible(m_animator.ReadBool(L"enable", true));
    } else if (name == L"set-layer") {
        m_animator.SetCurrentLayer(&target);
    } else {
        return false;
    }
    return true;
}

void ObjectSubCommands::ChangeFlag(WidgetContainer& target, unsigned bit)
{
    FlagsMod mod = target.GetFlagsMod();
    if (m_animator.Has(L"enable")) {
        if (m_animator.ReadBool(L"enable"))
            mod.add |= bit;
        else
            mod.add &= ~bit;
    }
    if (m_animator.Has(L"disable")) {
        if (m_animator.ReadBool(L"disable"))
            mod.remove |= bit;
        else
            mod.remove &= ~bit;
    }
    target.SetFlagsMod(mod);
}

void ObjectSubCommands::Merge(WidgetContainer& target)
{
    auto* object = dynamic_cast<DynamicWidget*>(&target);
    DynamicWidget* other = m_animator.FindObject(m_animator.ReadText(L"with"));
    // Drawing an object into itself or into one of its own children would
    // paint a subtree that the removal then tears out from under the target.
    if (object == nullptr || other == nullptr || IsInside(object, other))
        return;
    // The merged image may grow to hold both objects.
    const std::int64_t pixels = std::int64_t{CommandReader::SurfaceSide(object->GetWidth() + other->GetWidth())} *
                                CommandReader::SurfaceSide(object->GetHeight() + other->GetHeight());
    if (!m_animator.MayCreate(pixels))
        return;
    Vector4 targetOrigin = object->GetScreenOrigin();
    Vector4 otherOrigin = other->GetScreenOrigin();
    float offsetX = otherOrigin.x - targetOrigin.x;
    float offsetY = otherOrigin.y - targetOrigin.y;

    if (m_animator.ReadBool(L"expand")) {
        int left = std::min(0, static_cast<int>(std::floor(offsetX)));
        int top = std::min(0, static_cast<int>(std::floor(offsetY)));
        int right = std::max(object->GetWidth(), static_cast<int>(std::ceil(offsetX)) + other->GetWidth());
        int bottom = std::max(object->GetHeight(), static_cast<int>(std::ceil(offsetY)) + other->GetHeight());
        int width = CommandReader::SurfaceSide(right - left);
        int height = CommandReader::SurfaceSide(bottom - top);
        if (left != 0 || top != 0 || width != object->GetWidth() || height != object->GetHeight()) {
            auto* surface = new ImageSurface();
            surface->Create(width, height);
            if (Image* image = object->GetImage()) {
                Graphics g(surface);
                g.SetDrawMode(7);
                g.DrawImage(image, -left, -top, object->GetFrame());
            }
            object->SetImage(surface);
            object->SetOwnsImage(true);
            object->Resize(object->GetX() + static_cast<float>(left),
                           object->GetY() + static_cast<float>(top), width, height);
            for (Widget* child :
                 std::vector<Widget*>(object->GetChildren().begin(), object->GetChildren().end()))
                child->Move(child->GetX() - static_cast<float>(left),
                            child->GetY() - static_cast<float>(top));
            offsetX -= static_cast<float>(left);
            offsetY -= static_cast<float>(top);
        }
    }
    auto* surface = dynamic_cast<ImageSurface*>(object->GetImage());
    if (surface == nullptr || !object->OwnsImage()) {
        surface = CreateSurfaceFromImageData(object->GetImage());
        if (surface == nullptr) {
            surface = new ImageSurface();
            surface->Create(CommandReader::SurfaceSide(object->GetWidth()),
                            CommandReader::SurfaceSide(object->GetHeight()));
        }
        object->SetImage(surface);
        object->SetOwnsImage(true);
    }
    object->MarkDirty();
    m_animator.CountCreation(object);
    {
        Graphics g(surface);
        g.Translate(offsetX, offsetY);
        ModalFlags flags{WidgetFlags::Default, WidgetFlags::Default, true};
        other->DrawAll(&flags, &g);
    }
    if (m_animator.ReadBool(L"remove", true))
        other->RemoveSelf();
}

bool ObjectSubCommands::FindPoint(WidgetContainer& target, int tries, int& x, int& y)
{
    auto* widget = dynamic_cast<Widget*>(&target);
    if (widget == nullptr)
        return false;
    Rect r = widget->GetLocalRect();
    if (r.width <= 0 || r.height <= 0)
        return false;
    tries = std::min(tries, kMaxTries);
    for (int i = 0; i < tries; ++i) {
        int px = r.x + Rand(r.width);
        int py = r.y + Rand(r.height);
        if (widget->HitTest(static_cast<float>(px), static_cast<float>(py))) {
            x = px;
            y = py;
            return true;
        }
    }
    return false;
}

void ObjectSubCommands::Pick(WidgetContainer& target)
{
    WidgetContainer* container = &target;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    if (m_animator.Has(L"target")) {
        container = m_animator.ReadObject(L"target");
        if (container == nullptr)
            return;
        Vector4 from = target.GetScreenOrigin();
        Vector4 to = container->GetScreenOrigin();
        offsetX = from.x - to.x;
        offsetY = from.y - to.y;
    }
    const std::wstring animation = m_animator.ReadText(L"animation");
    const int points = std::min(m_animator.ReadInt(L"points", 1), kMaxTries);
    const int tries = m_animator.ReadInt(L"tries", 100);
    for (int i = 0; i < points; ++i) {
        int x = 0;
        int y = 0;
        if (!FindPoint(target, tries, x, y))
            continue;
        if (!m_animator.MayCreate(0, true))
            return;
        auto* picked = new AnimationWidget(animation, static_cast<int>(static_cast<float>(x) + offsetX),
                                           static_cast<int>(static_cast<float>(y) + offsetY), true);
        m_animator.CountCreation(picked);
        container->AddWidget(picked);
    }
}
