#pragma once

#include "ui/AnimationWidget.h"

#include <string>

// A script played over the whole application area, above everything, that
// removes itself when its script ends: popup intros and outros, and the
// scripts' "overlay" command. While it runs it catches the pointer.
class OverlayAnimation : public AnimationWidget
{
public:
    explicit OverlayAnimation(const std::wstring& script);

    void AddedToManager(WidgetManager* manager) override;
    void RemovedFromManager(WidgetManager* manager) override;
};
