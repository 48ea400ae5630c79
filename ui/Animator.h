#pragma once

#include "base/ScreenSize.h"
#include "resources/ExpressionEvaluator.h"
#include "resources/Value.h"
#include "resources/VariableScope.h"
#include "ui/AnimationListener.h"
#include "ui/AnimatorDispatch.h"
#include "ui/ButtonActions.h"
#include "ui/ScriptCommand.h"
#include "ui/ScriptLimits.h"
#include "ui/ScriptOutcome.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class AnimationDefinition;
class DynamicWidget;
class EasingCurve;
class Font;
class Image;
class ScriptGlobalStore;
class ScriptMenuHooks;
class ScriptServices;
class Widget;
class WidgetContainer;
class WidgetHost;

// The script runner every scripted widget carries: the script playing, its
// program counter and frame stack, the wait it is in, the objects it created
// (by name and by widget id), its buttons' actions, its variables and an
// evaluator whose scope they are. The host widget (see Animation) answers the
// host queries and steps it once per update.
//
// Commands run until one suspends the script, one replaces it, or it ends.
// The host's hook and the application's are asked first; a built-in word
// then goes straight to the handler of its row in its family's table
// (ScriptWordTable.h), chosen by what the command's "id" names.
class Animator : public VariableScope
{
public:
    // How long a script waits, and what ends the wait.
    enum class Wait
    {
        None = 0,
        Timer = 1,         // "pause", "persist" (timer 0: never ends by itself), a missing sound
        Motion = 2,        // "wait": until no object moves
        Object = 3,        // "wait-for": until the object stops moving or leaves
        Animation = 4,     // "wait-for-animation": until that script finishes or leaves
        Animations = 5,    // "wait-for-animations": until no played animation is left
        Sound = 6,         // until the sound stops (or an allowed click)
        Voice = 7,         // until the voice stops (or an allowed click)
        Music = 8,         // until the song stops (or an allowed click)
        Click = 9,         // a click, or the timer when it was positive
        Press = 10,        // the named button is pressed, or the timer runs out
        Depress = 11,      // the named button is released, or the timer runs out
        Notice = 12,       // the notice menu leaves
        TutorialHost = 13, // ended only by the host resuming the script
        ScreenHost = 14,   // ended only by the host resuming the script
        Yielded = 15       // out of command budget: goes on at the next update
    };

    // What a command, a word's handler or a hook did (ScriptOutcome.h).
    using Outcome = ScriptOutcome;

    // Scripts that loop without ever waiting yield to the next update after
    // this many commands in one run, or when the commands all scripts of the
    // tree share in a tick are spent (ScriptLimits), whichever comes first:
    // one such script leaves most of a tick to the others. Both count a
    // command by what it cost (ScriptLimits::kWorkPerCommand).
    static constexpr int kCommandBudget = 10000;
    // Nested bodies deeper than this end the script (runaway recursion).
    static constexpr int kMaxFrameDepth = 256;
    // Runs started from inside other runs (a command playing a script) nest
    // at most this deep; a deeper one goes on at the next update.
    static constexpr int kMaxRunNesting = 64;
    // What one script may keep alive of what it created: objects, and the
    // pixels of the surfaces they own (32 full screens); all scripts of a
    // tree together stay within ScriptLimits, so one script that creates
    // without end leaves room for the others. A creation past either is
    // refused, logged once, and the run yields to the next update, so such
    // a script neither hangs nor fills memory.
    static constexpr int kMaxLiveObjects = 1024;
    static constexpr std::int64_t kMaxLivePixels = std::int64_t{kScreenWidth} * kScreenHeight * 32;
    // What one script's variables may hold together, in characters of their
    // names and texts, each variable counting kVariableOverhead more for its
    // entry: four of the longest texts. Names can be computed, so without it
    // a script could make variables without end; with it the 2,000 live
    // scripts hold at most 512 MB. A variable that would pass it is not made
    // or changed (logged once), as a creation past a limit is refused.
    static constexpr std::int64_t kMaxVariableText = 65536;
    static constexpr std::int64_t kVariableOverhead = 32;

    explicit Animator(DynamicWidget* host = nullptr);
    ~Animator() override;
    Animator(const Animator&) = delete;
    Animator& operator=(const Animator&) = delete;

    // Starting and stopping scripts.
    virtual void PlayAnimation(const AnimationDefinition* definition);
    virtual void PlayAnimationByName(const std::wstring& name);
    // Queues the script after everything now pending; runs it at once when idle.
    virtual void CallAnimation(const AnimationDefinition* definition);
    virtual void CallAnimationByName(const std::wstring& name);
    // As CallAnimation, after stopping an idle script (a "persist" one).
    virtual void StartAnimation(const AnimationDefinition* definition);
    virtual void StartAnimationByName(const std::wstring& name);
    virtual bool RestartIfPlaying(const std::wstring& name);
    virtual void Restart();
    // Removes every object the script registered; with clearVariables also
    // forgets the variables.
    virtual void Clear(bool clearVariables);
    // Stop, then OnScriptFinished.
    virtual void Finish();
    // Leaves the script at its end without OnScriptFinished.
    virtual void Stop();

    // Events from the widget tree (through the dispatch).
    virtual void OnObjectRemoved(int id);
    virtual void OnMouseClick(int clicks);
    virtual void OnButtonMouseEnter(int buttonId);
    virtual void OnButtonMouseLeave(int buttonId);
    virtual void OnButtonPress(int buttonId);
    virtual void OnButtonDepress(int buttonId);

    // Hooks for hosts.
    // Asked before every built-in command: NotMine for a word the host does
    // not know (the interpreter asks on), Suspend when it handled the word
    // and the script waits, Next when it handled it and the script goes on.
    virtual Outcome HandleCommand(const ScriptCommand& command);
    virtual void OnScriptFinished();
    virtual void OnEmptyScript();
    virtual bool AnyObjectMoving();
    // Every new button of "add-button", with its record.
    virtual void OnButtonAdded(ButtonActions& actions);
    virtual void RunButtonAction(ButtonActions& actions);
    void OnButtonEvent(int buttonId, Wait awaited, bool depress);
    // Default: handed to the host's parent when that is an Animator.
    virtual void HandleAction(const std::wstring& action, const std::wstring& parameter,
                              DynamicWidget* object);

    // Host queries; the defaults describe a runner without a host widget.
    virtual bool IsHostLive();
    virtual WidgetContainer* GetHostParent();
    virtual int GetHostId();
    virtual void SetClickListening(bool listening);
    virtual ScriptMenuHooks* GetHostSuspendOwner();

    // The interpreter. RunScript: true while the script waits (or was
    // replaced), false when it ran to its end.
    bool RunScript(bool step);
    virtual void Advance(bool step);
    // The per-update step that ends waits; dt in ticks.
    void Step(float dt);
    // The awaited animations: one of the played ones completed.
    void OnAnimationComplete(int id);

    bool IsFinished() const;
    // A script was started while the host was not live: it runs when the
    // host joins the widget manager.
    bool IsRunPending() const { return m_runPending; }
    // Finished and not waiting, or held by "persist".
    bool IsIdle() const;
    // True while the script waits on something that only passing ticks can
    // end (a timer, motion, other animations, a sound, a notice, a yield);
    // the host then asks for ticks (WidgetContainer::WantTicks). Waits that
    // only input or the host ends need none.
    bool NeedsTicks() const;
    Wait GetWait() const { return m_wait; }
    // Host commands of their own enter their wait state with this.
    void SetWait(Wait wait) { m_wait = wait; }
    float GetTimer() const { return m_timer; }
    const AnimationDefinition* GetCurrentDefinition() const { return m_currentDefinition; }
    // The command the program counter stands on, or null.
    const ScriptCommand* GetCurrentCommand() const;
    int GetLastButtonId() const { return m_lastButtonId; }

    // Variables of this script. SetVariable is false when the variable would
    // take them past kMaxVariableText (it is then left as it was).
    bool SetVariable(const std::wstring& name, const Value& value);
    std::int64_t GetVariableText() const { return m_variableText; }
    const Value* FindVariable(const std::wstring& name) const override;
    bool RemoveVariable(const std::wstring& name);
    ExpressionEvaluator& GetEvaluator() { return m_evaluator; }

    // Objects. AddObject registers a created object: named, watched for
    // removal, given the dispatch as button listener when it has none, and
    // added to the current layer.
    void AddObject(const std::wstring& name, DynamicWidget* object);
    // Names an object without owning or watching it (borrowed from another
    // script); the name reads null once the object is gone.
    void SetObjectName(const std::wstring& name, DynamicWidget* object);
    DynamicWidget* FindObject(const std::wstring& name) const;
    // The live objects by name (a copy of the name map for "same_layer").
    std::map<std::wstring, DynamicWidget*> GetObjectNames() const;
    void CopyObjectNames(const Animator& other);
    WidgetContainer* GetCurrentLayer() const;
    void SetCurrentLayer(WidgetContainer* layer);
    void PushLayer();
    // False when the stack was empty.
    bool PopLayer();
    // Records the button's actions, replacing earlier ones.
    void SetButtonActions(int buttonId, const ButtonActions& actions);
    const ButtonActions* FindButtonActions(int buttonId) const;
    // Animations started by "play" or "overlay"; they leave when they
    // complete or are removed.
    void AddPlayedAnimation(DynamicWidget* animation);
    // Whether the script may create one more object holding a new surface
    // of this many pixels (startsScript: an object running a script of its
    // own), within its own limits and those every script of the tree shares;
    // false refuses the creation (and ends the run).
    bool MayCreate(std::int64_t pixels, bool startsScript = false);
    // The limits the scripts of the host's tree share; null while the host
    // is in none.
    ScriptLimits* GetLimits() const;
    // Counts a created object, and the pixels of an image it owns, against
    // the script's budget; again after the object's image changed.
    void CountCreation(DynamicWidget* object);
    std::int64_t GetLiveCreationPixels();
    size_t GetPlayedAnimationCount() const { return m_playedAnimations.size(); }
    void StopSoundLoops();
    const std::map<int, int>& GetSoundLoopCounts() const { return m_soundLoopCounts; }

    DynamicWidget* GetHostWidget() const { return m_host; }
    // The application the host widget belongs to (its tree's host); null
    // while it has none.
    WidgetHost* GetWidgetHost() const;
    // That application's script services, or a set that does nothing.
    ScriptServices& GetServices() const;
    // Where its global variables are written; null: nowhere.
    ScriptGlobalStore* GetGlobalStore() const;
    AnimatorDispatch& GetDispatch() { return m_dispatch; }
    AnimationListener::Link& GetListenerLink() { return m_listenerLink; }
    AnimationListener* GetListener() const { return m_listenerLink.GetListener(); }

    // Attribute readers of the current command. An absent number reads 0 (or
    // the default), an absent text the empty text.
    bool Has(std::wstring_view name) const;
    const std::wstring& Raw(std::wstring_view name) const;
    Value ReadValue(std::wstring_view name);
    std::wstring ReadText(std::wstring_view name);
    int ReadInt(std::wstring_view name, int whenAbsent = 0);
    float ReadFloat(std::wstring_view name, float whenAbsent = 0.0f);
    bool ReadBool(std::wstring_view name, bool whenAbsent = false);
    int ReadSound(std::wstring_view name);
    int ReadMusic(std::wstring_view name);
    int ReadVoice(std::wstring_view name);
    int ReadAmbience(std::wstring_view name);
    Image* ReadImage(std::wstring_view name);
    Font* ReadFont(std::wstring_view name);
    // The object named by the attribute's text; null for an empty or unknown name.
    DynamicWidget* ReadObject(std::wstring_view name);
    // The easing curve named by the current command's "curve"; owned by the caller.
    std::unique_ptr<EasingCurve> ReadCurve();
    // The "if"/"unless" test: whenEmpty for an empty text.
    bool TestCondition(const std::wstring& text, bool whenEmpty);

protected:
    // RunScript's interpreter loop, up to the next wait or the end.
    bool RunCommands(bool step);

private:
    // The handlers of the words that wait, place the program counter or
    // keep sounds (ScriptFlowCommands.cpp, ScriptSoundCommands.cpp) work on
    // the interpreter's own state.
    friend struct ScriptFlowWords;
    friend struct ScriptSoundWords;

    struct Frame
    {
        const ScriptBody* body = nullptr;
        int counter = 0;
    };
    struct LoopRecord
    {
        const ScriptBody* body = nullptr;
        int counter = 0;
        int remaining = 0;
        int depth = 0;
    };
    // A widget pointer that reads null once the widget is destroyed.
    struct TrackedWidget
    {
        DynamicWidget* widget = nullptr;
        std::weak_ptr<const void> token;

        DynamicWidget* Get() const { return token.expired() ? nullptr : widget; }
    };
    static TrackedWidget Track(DynamicWidget* widget);
    struct Creation
    {
        TrackedWidget object;
        std::int64_t pixels = 0;
    };
    // Forgets creations that are gone or have left the tree.
    void PruneCreations();
    void Uncount(int id);
    // A layer that reads as gone once it is destroyed or has left the tree;
    // a container that is not a widget (the manager) is never gone.
    struct TrackedLayer
    {
        WidgetContainer* layer = nullptr;
        const Widget* widget = nullptr; // the layer as a widget, when it is one
        std::weak_ptr<const void> token;

        bool IsGone() const;
    };
    TrackedLayer TrackLayer(WidgetContainer* layer) const;

    // The interpreter's parts (Animator.cpp and ScriptFlowCommands.cpp).
    // Before a run: true when it must wait for the next update instead.
    bool RunMustWait(bool step, ScriptLimits* limits);
    // True when this run, or the tick, has no command left, or the program
    // is to end.
    bool OutOfCommands(bool step, int& budget, ScriptLimits* limits);
    // What the evaluator and the creations had done before a command.
    struct WorkMark
    {
        std::int64_t textWork = 0;
        std::int64_t createdPixels = 0;
        std::int64_t textsCut = 0;
        std::int64_t textsDropped = 0;
    };
    WorkMark MarkWork() const;
    // Charges the command with its work since the mark, against the run's
    // budget and the tick's, and says once when it cut or left out a text.
    void ChargeWork(const WorkMark& mark, const ScriptCommand& command, ScriptLimits* limits, int& budget);
    // The command and the file of its script, for messages.
    std::wstring DescribeCommand(const ScriptCommand& command) const;
    // Leaves the run to the next update, which goes on from here.
    bool Yield(bool step);
    // The hooks, then the built-in word.
    Outcome RunHooksAndCommand(const ScriptCommand& command, int run);
    // The handler of the command's word for what its "id" names.
    Outcome RunCommand(const ScriptCommand& command);
    Outcome RunNoticeMenu();
    void SetGlobal(const std::wstring& name, const Value& value);
    void SetClickedVariable(bool clicked);
    void ResumeIfLive();
    // "Script \"<name>" + rest, logged once for the tree (or, outside one,
    // once for this script).
    void LogOnce(ScriptLimits* limits, ScriptLimits::Reason reason, const std::wstring& rest);
    void NoticeClosed();
    void ForgetObject(int id);
    static std::int64_t VariableSize(const std::wstring& name, const Value& value);
    void ForgetEverywhere(const Widget* widget);
    // Whether the sound a sound wait waits for still plays (ScriptSoundCommands.cpp).
    bool SoundStillPlays();

    TrackedWidget m_hostRef;
    DynamicWidget* m_host = nullptr;
    AnimationListener::Link m_listenerLink{this};
    // The layer may be another script's object ("play" with same_layer): it
    // is followed, not trusted, and gives way to the host once it is gone.
    mutable TrackedLayer m_currentLayer;
    std::vector<TrackedLayer> m_layerStack;
    std::map<std::wstring, TrackedWidget> m_objectsByName;
    std::map<int, TrackedWidget> m_objectsById;
    std::map<int, ButtonActions> m_buttonActions;
    std::vector<LoopRecord> m_loops;
    float m_timer = 0.0f;
    int m_lastButtonId = -1;
    Wait m_wait = Wait::None;
    const AnimationDefinition* m_currentDefinition = nullptr;
    const ScriptBody* m_currentBody = nullptr;
    int m_counter = 0;
    std::vector<Frame> m_frames;
    std::map<int, TrackedWidget> m_playedAnimations;
    std::map<int, int> m_soundLoopCounts;
    AnimatorDispatch m_dispatch{*this};
    TrackedWidget m_noticeMenu;
    bool m_unpause = false;
    bool m_savedPauseFlag = false;
    TrackedWidget m_awaitedObject;
    int m_awaitedId = 0;
    int m_awaitedSoundId = -1;
    int m_runCounter = 0;
    bool m_resumeStep = true;
    bool m_runPending = false;
    bool m_logged[static_cast<int>(ScriptLimits::Reason::Count)] = {};
    std::map<int, Creation> m_creations;
    std::int64_t m_creationPixels = 0;
    // Pixels of every surface the script's objects came to own, ever: the
    // work of creating them.
    std::int64_t m_createdPixels = 0;
    bool m_creationRefused = false;
    std::map<std::wstring, Value> m_variables;
    // What they hold, counted as kMaxVariableText counts it.
    std::int64_t m_variableText = 0;
    ExpressionEvaluator m_evaluator{this};
};
