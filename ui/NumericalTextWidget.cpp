#include "ui/NumericalTextWidget.h"

#include "base/Common.h"
#include "graphics/Font.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "ui/OverbrightText.h"
#include "ui/ScriptServices.h"
#include "ui/WidgetHost.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// The count from one value to the next never takes this many steps.
constexpr std::int64_t kMaxSteps = 100;

} // namespace

NumericalTextWidget::NumericalTextWidget(int x, int y, int justification, const std::wstring& fontName,
                                         const std::wstring& format, const int* watched, int step, int period)
    : DynamicWidget(x, y, nullptr, 1.0f), m_format(format), m_font(::GetFont(fontName)),
      m_justification(justification), m_watched(watched), m_shown(watched != nullptr ? *watched : 0),
      m_step(step), m_period(period)
{
    RebuildText();
    Resize(GetX(), GetY(), GetWidth(), m_font != nullptr ? m_font->GetHeight() : 0);
}

void NumericalTextWidget::SetStepSounds(int upSoundId, int downSoundId)
{
    m_upSoundId = upSoundId;
    m_downSoundId = downSoundId;
}

void NumericalTextWidget::Update()
{
    DynamicWidget::Update();
    if (++m_tickCounter < m_period)
        return;
    m_tickCounter = 0;
    const int target = m_watched != nullptr ? *m_watched : m_shown;
    m_changed = target != m_shown;
    if (!m_changed)
        return;

    if (m_step <= 0) {
        m_shown = target;
    } else {
        std::int64_t increment = m_step;
        std::int64_t distance = std::llabs(static_cast<std::int64_t>(target) - m_shown);
        for (std::int64_t n = distance / m_step; n >= kMaxSteps; n /= 10)
            increment *= 10;
        const bool up = target > m_shown;
        const std::int64_t next = up ? std::min<std::int64_t>(m_shown + increment, target)
                                     : std::max<std::int64_t>(m_shown - increment, target);
        m_shown = static_cast<int>(next);
        const int sound = up ? m_upSoundId : m_downSoundId;
        WidgetHost* host = GetHost();
        ScriptServices* services = host != nullptr ? host->GetScriptServices() : nullptr;
        if (sound >= 0 && services != nullptr)
            services->PlaySound(sound, 0, 1.0);
    }
    RebuildText();
    MarkDirty();
}

void NumericalTextWidget::RebuildText()
{
    m_text = StrFormatW(m_format, m_shown);
}

void NumericalTextWidget::Draw(Graphics* g)
{
    if (m_font == nullptr)
        return;
    g->SetFont(m_font);
    const int baseline = m_font->GetAscent();
    DrawOverbrightText(g, *this, [&] { g->WriteString(m_text, 0, baseline, GetWidth(), m_justification); });
}
