#include "ui/Checkbox.h"

#include "graphics/Graphics.h"
#include "resources/Assets.h"
#include "ui/CheckboxListener.h"
#include "ui/WidgetHost.h"

namespace {

// A sound that failed to load has no id (below 0) and plays nothing.
void PlayControlSound(WidgetHost* host, int id)
{
    if (id >= 0 && host != nullptr)
        host->PlaySample(id);
}

} // namespace

Checkbox::Checkbox(Image* uncheckedImage, Image* uncheckedOverImage, Image* checkedImage,
                   Image* checkedOverImage, CheckboxListener* listener)
    : m_listener(listener), m_hoverSoundId(GetSoundId(L"Highlight")), m_clickSoundId(GetSoundId(L"Button")),
      m_uncheckedImage(uncheckedImage), m_checkedImage(checkedImage),
      m_uncheckedOverImage(uncheckedOverImage), m_checkedOverImage(checkedOverImage)
{
    m_handCursor = true;
}

void Checkbox::Draw(Graphics* g)
{
    if (Image* image = ChooseImage())
        g->DrawImage(image, 0, 0);
}

Image* Checkbox::ChooseImage() const
{
    Image* disabled = m_checked ? m_checkedDisabledImage : m_uncheckedDisabledImage;
    Image* over = m_checked ? m_checkedOverImage : m_uncheckedOverImage;
    if (m_disabled && disabled != nullptr)
        return disabled;
    if (m_isOver && over != nullptr)
        return over;
    return m_checked ? m_checkedImage : m_uncheckedImage;
}

void Checkbox::MouseEnter()
{
    MarkDirty();
    if (m_soundsOn)
        PlayControlSound(GetHost(), m_hoverSoundId);
}

void Checkbox::MouseLeave()
{
    MarkDirty();
}

void Checkbox::MouseDown(int /*x*/, int /*y*/, int /*button*/, int /*clicks*/)
{
    m_checked = !m_checked;
    if (m_listener != nullptr)
        m_listener->CheckboxChecked(m_id, m_checked);
    if (m_soundsOn)
        PlayControlSound(GetHost(), m_clickSoundId);
    MarkDirty();
}

void Checkbox::SetChecked(bool checked, bool notify)
{
    m_checked = checked;
    if (notify && m_listener != nullptr)
        m_listener->CheckboxChecked(m_id, checked);
    MarkDirty();
}

bool Checkbox::IsChecked() const
{
    return m_checked;
}

void Checkbox::SetDisabledImages(Image* uncheckedDisabledImage, Image* checkedDisabledImage)
{
    m_uncheckedDisabledImage = uncheckedDisabledImage;
    m_checkedDisabledImage = checkedDisabledImage;
    MarkDirty();
}
