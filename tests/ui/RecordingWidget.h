#pragma once

#include "StandInHost.h"

#include "ui/Widget.h"
#include "ui/WidgetManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// A widget that writes every callback it gets into a shared log as
// "<name> <event>", and can run a hook from its Update.
class RecordingWidget : public Widget
{
public:
    using Widget::MouseDown;
    using Widget::MouseUp;

    RecordingWidget(std::string name, std::vector<std::string>* log, float x = 0, float y = 0, int width = 0,
                    int height = 0)
        : m_name(std::move(name)), m_log(log)
    {
        Resize(x, y, width, height);
    }

    std::function<void()> onUpdate;
    std::function<void(Graphics*)> onDraw;
    std::function<void(int)> onOverlay;
    std::function<void()> onEnter;
    std::function<void()> onDrag;
    int updates = 0;
    int draws = 0;
    // Each pointer search that reaches this widget asks it once.
    int hitTests = 0;

    void Update() override
    {
        ++updates;
        Record("update");
        if (onUpdate)
            onUpdate();
    }
    void Draw(Graphics* g) override
    {
        ++draws;
        if (onDraw)
            onDraw(g);
    }
    void GotFocus() override
    {
        Widget::GotFocus();
        Record("gotfocus");
    }
    void LostFocus() override
    {
        Widget::LostFocus();
        Record("lostfocus");
    }
    void KeyDown(int key) override
    {
        Widget::KeyDown(key);
        Record("keydown " + std::to_string(key));
    }
    void KeyUp(int key) override { Record("keyup " + std::to_string(key)); }
    void MouseEnter() override
    {
        Record("enter");
        if (onEnter)
            onEnter();
    }
    void MouseLeave() override { Record("leave"); }
    void MouseMove(int x, int y) override { Record("move " + Point(x, y)); }
    void MouseDrag(int x, int y) override
    {
        Record("drag " + Point(x, y));
        if (onDrag)
            onDrag();
    }
    void MouseWheel(int delta) override { Record("wheel " + std::to_string(delta)); }
    void MouseDown(int x, int y, int button, int clicks) override
    {
        Record("down " + Point(x, y) + " b" + std::to_string(button) + " c" + std::to_string(clicks));
    }
    void MouseUp(int x, int y, int button, int clicks) override
    {
        Record("up " + Point(x, y) + " b" + std::to_string(button) + " c" + std::to_string(clicks));
    }
    bool HitTest(float x, float y) override
    {
        ++hitTests;
        return Widget::HitTest(x, y);
    }
    void DrawOverlay(Graphics*, int priority) override
    {
        Record("overlay " + std::to_string(priority));
        if (onOverlay)
            onOverlay(priority);
    }

    const std::string& Name() const { return m_name; }

private:
    static std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
    void Record(const std::string& event)
    {
        if (m_log != nullptr)
            m_log->push_back(m_name + " " + event);
    }

    std::string m_name;
    std::vector<std::string>* m_log = nullptr;
};

using Names = std::vector<std::string>;

// A manager under a stand-in host, with a log its widgets share.
class WidgetTreeFixture : public ::testing::Test
{
protected:
    RecordingWidget* Make(const std::string& name, float x = 0, float y = 0, int width = 0, int height = 0)
    {
        return new RecordingWidget(name, &log, x, y, width, height);
    }
    RecordingWidget* Add(const std::string& name, float x, float y, int width, int height)
    {
        RecordingWidget* widget = Make(name, x, y, width, height);
        manager.AddWidget(widget);
        return widget;
    }
    // Moves the pointer the way the application's message processing does.
    void Move(int x, int y) { manager.MouseMove(MouseEvent{.x = x, .y = y}); }

    Names log;
    StandInHost host;
    WidgetManager& manager = host.Manager();
};
