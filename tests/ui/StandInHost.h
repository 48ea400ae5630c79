#pragma once

#include "base/ScreenSize.h"
#include "ui/Widget.h"
#include "ui/WidgetHost.h"
#include "ui/WidgetManager.h"

#include <algorithm>
#include <vector>

// The host of a small widget tree with no application behind it, as a scene
// test builds one: it owns the manager, keeps the deferred deletes until the
// test flushes them, and records the cursor and the samples played. The
// scripts of the tree get the services a test sets here, none by default.
class StandInHost : public WidgetHost
{
public:
    StandInHost()
    {
        const Rect area{0, 0, kScreenWidth, kScreenHeight};
        m_manager.SetMouseMapping(area, area);
    }
    ~StandInHost() override
    {
        m_manager.RemoveAllWidgets(false, false);
        FlushDeferredDeletes();
    }
    StandInHost(const StandInHost&) = delete;
    StandInHost& operator=(const StandInHost&) = delete;

    WidgetManager& Manager() { return m_manager; }

    void DeferDelete(Widget* widget) override
    {
        if (widget != nullptr && !IsDeletePending(widget))
            m_deferred.push_back(widget);
    }
    void CancelDeferDelete(Widget* widget) override { std::erase(m_deferred, widget); }
    bool IsDeletePending(const Widget* widget) const
    {
        return std::find(m_deferred.begin(), m_deferred.end(), widget) != m_deferred.end();
    }
    // Deletes what was queued, as the application does after an update: one
    // at a time, skipping a widget that went back into a tree.
    void FlushDeferredDeletes()
    {
        while (!m_deferred.empty()) {
            Widget* widget = m_deferred.front();
            m_deferred.erase(m_deferred.begin());
            if (widget->GetParent() == nullptr && widget->GetManager() == nullptr)
                delete widget;
        }
    }

    void SetCursor(int kind) override { cursor = kind; }
    int GetCursor() const override { return cursor; }
    int GetWidgetSuspension() const override { return suspension; }
    void SetWidgetSuspension(int count) { suspension = count; }
    bool HasFocus() const override { return true; }
    int GetWidth() const override { return kScreenWidth; }
    int GetHeight() const override { return kScreenHeight; }
    const D3DInterface* GetRenderer() const override { return nullptr; }
    void PlaySample(int id) override { played.push_back(id); }
    ScriptServices* GetScriptServices() override { return scriptServices; }
    NoticeMenuMaker* GetNoticeMenuMaker() override { return noticeMenuMaker; }
    ScriptGlobalStore* GetScriptGlobalStore() override { return globalStore; }
    bool IsQuitRequested() override
    {
        ++quitAsks;
        return quitRequested;
    }

    int cursor = 0;
    int suspension = 0;
    std::vector<int> played;
    ScriptServices* scriptServices = nullptr;
    NoticeMenuMaker* noticeMenuMaker = nullptr;
    ScriptGlobalStore* globalStore = nullptr;
    // As the window's close or SIGTERM sets it; counted each time it is asked.
    bool quitRequested = false;
    int quitAsks = 0;

private:
    // Declared first, so the manager's own clean-up can still queue here.
    std::vector<Widget*> m_deferred;
    WidgetManager m_manager{this};
};
