#pragma once

#include "ui/Animation.h"
#include "ui/DynamicWidget.h"

#include <string>

class Image;

// The scripted widget of script objects, buttons and menus: a dynamic widget
// running its own script, known to the script as "self".
class AnimationWidget : public Animation<DynamicWidget>
{
public:
    // Plays the named script at once; with removeWhenFinished the widget
    // removes itself when the script ends (an empty script counts as ended).
    AnimationWidget(const std::wstring& name, int x, int y, bool removeWhenFinished);
    // No script: the image at (x, y) with the opacity.
    AnimationWidget(int x, int y, Image* image, float opacity);

    void OnScriptFinished() override;
    void OnEmptyScript() override;

    bool GetRemoveWhenFinished() const { return m_removeWhenFinished; }
    void SetRemoveWhenFinished(bool remove) { m_removeWhenFinished = remove; }

private:
    bool m_removeWhenFinished = false;
};
