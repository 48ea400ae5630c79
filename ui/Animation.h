#pragma once

#include "ui/Animator.h"
#include "ui/ScriptMenuHooks.h"
#include "ui/WidgetManager.h"

#include <utility>

// Binds a script runner to a dynamic widget: the widget is the Animator's
// host, steps it after its own motion, and keeps the script in step with its
// place in the tree. Base is DynamicWidget or a class derived from it.
template <typename Base> class Animation : public Base, public Animator
{
public:
    template <typename... Args>
    explicit Animation(Args&&... args) : Base(std::forward<Args>(args)...), Animator(this)
    {
    }
    ~Animation() override { Animator::Clear(true); }

    // Host queries.
    bool IsHostLive() override { return this->GetManager() != nullptr; }
    WidgetContainer* GetHostParent() override { return this->GetParent(); }
    int GetHostId() override { return this->GetId(); }
    ScriptMenuHooks* GetHostSuspendOwner() override
    {
        return dynamic_cast<ScriptMenuHooks*>(this->GetSuspendOwner());
    }
    void SetClickListening(bool listening) override
    {
        GetDispatch().Disarm();
        if (listening == m_clickListening)
            return;
        m_clickListening = listening;
        if (WidgetManager* manager = this->GetManager()) {
            if (listening)
                manager->AddClickListener(&GetDispatch());
            else
                manager->RemoveClickListener(&GetDispatch());
        }
    }
    bool IsClickListening() const { return m_clickListening; }

    // The widget's motion, then the script; a waiting script keeps the
    // ticks coming.
    void UpdateF(float dt) override
    {
        Base::UpdateF(dt);
        Step(dt);
        if (NeedsTicks())
            this->WantTicks();
    }
    void AddedToManager(WidgetManager* manager) override
    {
        Base::AddedToManager(manager);
        if (!m_countedLive) {
            m_countedLive = true;
            manager->GetScriptLimits().ScriptJoined();
        }
        if (m_clickListening)
            manager->AddClickListener(&GetDispatch());
        if (m_detached) {
            m_detached = false;
            return;
        }
        // A script that could not start runs now; a waiting one waits on.
        if (IsRunPending())
            RunScript(false);
        this->WantTicks();
    }
    void RemovedFromManager(WidgetManager* manager) override
    {
        if (AnimationListener* listener = GetListener())
            listener->AnimationComplete(this->GetId());
        if (m_clickListening)
            manager->RemoveClickListener(&GetDispatch());
        StopSoundLoops();
        // A completion hook above may have removed this widget already.
        if (m_countedLive) {
            m_countedLive = false;
            manager->GetScriptLimits().ScriptLeft();
        }
        Base::RemovedFromManager(manager);
    }
    void AddedToParent(WidgetContainer* parent) override
    {
        Base::AddedToParent(parent);
        if (GetListener() == nullptr) {
            if (auto* listener = dynamic_cast<AnimationListener*>(parent))
                listener->Attach(GetListenerLink());
        }
    }
    void RemovedFromParent(WidgetContainer* parent) override
    {
        if (!m_detached)
            Stop();
        Base::RemovedFromParent(parent);
    }
    void DetachSelf() override
    {
        m_detached = true;
        Base::DetachSelf();
    }
    // A played animation of this script completed.
    void AnimationComplete(int id) override { OnAnimationComplete(id); }

private:
    bool m_clickListening = false;
    // Counted among the tree's live scripts.
    bool m_countedLive = false;
    bool m_detached = false;
};
