#pragma once

#include "app/InterpreterMenu.h"

#include <memory>
#include <string>
#include <vector>

class AnimationWidget;
class ButtonWidget;
class Image;
class ImageSurface;
class MyGameApp;

// The main sets as buttons on the world map, each at its set's map place.
// Choosing an open set makes it current and loads it; the last open set is
// highlighted. Opened with a picture of the screen it replaces, and after a
// completed set with that set's name, which the script animates.
class MapMenu : public InterpreterMenu
{
public:
    struct Entry
    {
        // Null for a set without a map place.
        ButtonWidget* button{nullptr};
        int unused{0};
    };

    MapMenu(MyGameApp& app, Image* background, const std::wstring& setName);
    ~MapMenu() override;

    void AddedToManager(WidgetManager* manager) override;
    void ButtonDepress(int id) override;
    void ButtonMouseEnter(int id) override;
    void HandleAction(const std::wstring& action, const std::wstring& parameter, DynamicWidget* object) override;

    const std::vector<Entry>& GetEntries() const { return m_entries; }
    AnimationWidget* GetMap() const { return m_map; }
    AnimationWidget* GetNameLabel() const { return m_nameLabel; }

private:
    void BuildSetButtons();
    void ShowSetName(ButtonWidget* button);

    MyGameApp& m_game;
    std::vector<Entry> m_entries;
    int m_mode{0};
    std::wstring m_setName;
    AnimationWidget* m_map{nullptr};
    AnimationWidget* m_nameLabel{nullptr};
    std::unique_ptr<ImageSurface> m_background;
    bool m_buttonsBuilt{false};
};
