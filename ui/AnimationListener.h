#pragma once

#include <set>
#include <string>

class Animator;

// Told by the script animators attached to it. Every operation does nothing by
// default.
//
// An Animator reports to at most one listener. It holds that relation in an
// AnimationListener::Link member; attaching the link to another listener first
// leaves the old one, and whichever of the two dies first unlinks the other, so
// neither side ever holds a dangling pointer.
class AnimationListener
{
public:
    class Link
    {
    public:
        explicit Link(Animator* animator) : m_animator(animator) {}
        ~Link();
        Link(const Link&) = delete;
        Link& operator=(const Link&) = delete;

        Animator* GetAnimator() const { return m_animator; }
        AnimationListener* GetListener() const { return m_listener; }
        void Detach();

    private:
        friend class AnimationListener;
        Animator* m_animator = nullptr;
        AnimationListener* m_listener = nullptr;
    };

    AnimationListener() = default;
    AnimationListener(const AnimationListener&) = delete;
    AnimationListener& operator=(const AnimationListener&) = delete;

    virtual void AnimationComplete(int id);
    // Told, with the host's widget id, when a script holds for good.
    virtual void AnimationPersisting(int id);
    virtual void Signal(int id, const std::wstring& message);
    virtual ~AnimationListener();

    void Attach(Link& link);
    const std::set<Link*>& GetAttached() const { return m_attached; }

private:
    std::set<Link*> m_attached;
};
