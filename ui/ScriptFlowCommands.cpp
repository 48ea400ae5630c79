// The interpreter: the command loop, the program counter through nested
// bodies, the dispatch of a word to its handler, and the flow family: the
// words for waiting, calls, variables, loops, signals and other scripts'
// variables.
#include "base/Common.h"
#include "base/LogWriter.h"
#include "resources/Value.h"
#include "ui/AnimationTable.h"
#include "ui/Animator.h"
#include "ui/DynamicWidget.h"
#include "ui/NoticeMenuMaker.h"
#include "ui/ScriptGlobalStore.h"
#include "ui/ScriptMenuHooks.h"
#include "ui/ScriptServices.h"
#include "ui/ScriptWordTable.h"
#include "ui/WidgetHost.h"

#include <algorithm>

namespace {
// Scripts that start scripts (their own or others') from inside a command
// nest their runs; past this depth the innermost waits for the next update.
int gRunNesting = 0;

struct Nesting
{
    Nesting() { ++gRunNesting; }
    ~Nesting() { --gRunNesting; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;
};
} // namespace

bool Animator::RunScript(bool step)
{
    const bool waiting = RunCommands(step);
    // A wait that began outside an update (a click, a host starting the
    // script) gets its ticks as well.
    if (m_host != nullptr && NeedsTicks())
        m_host->WantTicks();
    return waiting;
}

bool Animator::RunCommands(bool step)
{
    ScriptLimits* limits = GetLimits();
    if (RunMustWait(step, limits))
        return true;
    const Nesting nesting;
    m_wait = Wait::None;
    m_creationRefused = false;
    m_runPending = false;
    const int run = m_runCounter;
    int budget = kCommandBudget;
    for (;;) {
        if (OutOfCommands(step, budget, limits))
            return Yield(step);
        Advance(step);
        step = true;
        if (IsFinished()) {
            m_wait = Wait::None;
            OnScriptFinished();
            return false;
        }
        if (m_frames.size() > static_cast<size_t>(kMaxFrameDepth)) {
            LogWriter::WriteLine(L"Script \"" +
                                 (m_currentDefinition != nullptr ? m_currentDefinition->m_name : L"") +
                                 L"\" nests its calls too deeply; it is stopped");
            Finish();
            return false;
        }
        const ScriptCommand& command = (*m_currentBody)[m_counter];
        Outcome outcome = Outcome::Next;
        const WorkMark mark = MarkWork();
        // The texts of one command share one allowance of work.
        m_evaluator.HoldTextAllowance();
        if (TestCondition(command.m_ifText, true) && !TestCondition(command.m_unlessText, false))
            outcome = RunHooksAndCommand(command, run);
        m_evaluator.ReleaseTextAllowance();
        ChargeWork(mark, command, limits, budget);
        if (outcome == Outcome::Suspend)
            return true;
        if (outcome == Outcome::Halt)
            return false;
        if (outcome == Outcome::Placed)
            step = false;
        if (m_runCounter != run)
            return true;
        if (m_creationRefused) {
            // Out of objects or pixels: the script goes on after this
            // command at the next update, by which some may have gone.
            m_creationRefused = false;
            return Yield(step);
        }
    }
}

bool Animator::RunMustWait(bool step, ScriptLimits* limits)
{
    if (gRunNesting >= kMaxRunNesting) {
        LogOnce(limits, ScriptLimits::Reason::NestedTooDeeply,
                L"\" starts scripts within scripts too deeply; it goes on at the next update");
        return Yield(step);
    }
    // Asked to end: the loop must get the request now, not after every
    // script of the tick has had its turn.
    if (limits != nullptr && limits->IsQuitRequested())
        return Yield(step);
    return false;
}

bool Animator::OutOfCommands(bool step, int& budget, ScriptLimits* limits)
{
    // Scripts that never wait would hold the game here for ever: each run,
    // and all of them in a tick together, stop at a budget.
    if (step && budget-- <= 0) {
        LogOnce(limits, ScriptLimits::Reason::RunSpent,
                L"\" runs without waiting; it goes on at the next update");
        return true;
    }
    if (step && limits != nullptr && !limits->TakeCommand()) {
        LogOnce(limits, ScriptLimits::Reason::TickSpent,
                L"\" and the scripts after it go on at the next update: scripts ran " +
                    std::to_wstring(ScriptLimits::kTickCommands) + L" commands' worth in one tick");
        return true;
    }
    // A request to end is answered between two commands, not only between
    // two runs: one run of costly commands would hold it too long.
    return step && limits != nullptr && limits->IsQuitRequested();
}

Animator::WorkMark Animator::MarkWork() const
{
    return WorkMark{m_evaluator.GetTextWork(), m_createdPixels, m_evaluator.GetTextsCut(),
                    m_evaluator.GetTextsDropped()};
}

void Animator::ChargeWork(const WorkMark& mark, const ScriptCommand& command, ScriptLimits* limits, int& budget)
{
    const std::int64_t work = (m_evaluator.GetTextWork() - mark.textWork) + (m_createdPixels - mark.createdPixels);
    const std::int64_t commands = work / ScriptLimits::kWorkPerCommand;
    if (commands > 0) {
        budget -= static_cast<int>(std::min<std::int64_t>(commands, kCommandBudget));
        if (limits != nullptr)
            limits->ChargeCommands(commands);
    }
    if (m_evaluator.GetTextsCut() != mark.textsCut)
        LogOnce(limits, ScriptLimits::Reason::TextCut,
                L"\" built a text longer than " + std::to_wstring(ExpressionEvaluator::kMaxTextLength) +
                    L" characters" + DescribeCommand(command) + L"; it was cut to that length");
    if (m_evaluator.GetTextsDropped() != mark.textsDropped)
        LogOnce(limits, ScriptLimits::Reason::TextWorkSpent,
                L"\" worked on more than " + std::to_wstring(ExpressionEvaluator::kMaxTextWork) +
                    L" characters of text" + DescribeCommand(command) + L"; the texts after that were left empty");
}

std::wstring Animator::DescribeCommand(const ScriptCommand& command) const
{
    std::wstring description = L" in its <" + std::wstring(command.m_name) + L"> command";
    if (m_currentDefinition != nullptr && !m_currentDefinition->m_file.empty())
        description += L" (" + StringToWString(m_currentDefinition->m_file) + L")";
    return description;
}

bool Animator::Yield(bool step)
{
    m_resumeStep = step;
    m_wait = Wait::Yielded;
    return true;
}

Animator::Outcome Animator::RunHooksAndCommand(const ScriptCommand& command, int run)
{
    // A hook that played another script on this runner leaves the command
    // to that script.
    Outcome outcome = HandleCommand(command);
    if (outcome == Outcome::NotMine && m_runCounter == run)
        outcome = GetServices().HandleScriptCommand(command, *this);
    if (outcome == Outcome::NotMine && m_runCounter == run)
        outcome = RunCommand(command);
    return outcome == Outcome::NotMine ? Outcome::Next : outcome;
}

Animator::Outcome Animator::RunCommand(const ScriptCommand& command)
{
    const ScriptWordHandlers& handlers = FindScriptHandlers(command.m_word);
    if (handlers.any != nullptr)
        return handlers.any(*this, command);
    const bool named = command.Has(L"id");
    if (DynamicWidget* object = named ? ReadObject(L"id") : nullptr) {
        if (handlers.object != nullptr)
            return handlers.object(*this, command, *object);
        if (handlers.target != nullptr)
            return handlers.target(*this, command, *object);
        return Outcome::Next;
    }
    if (handlers.free != nullptr)
        return handlers.free(*this, command);
    // An "id" that names nothing reaches no object and no layer.
    WidgetContainer* layer = named ? nullptr : GetCurrentLayer();
    if (handlers.target != nullptr && layer != nullptr)
        return handlers.target(*this, command, *layer);
    return Outcome::Next;
}

void Animator::Advance(bool step)
{
    if (step && m_currentBody != nullptr && static_cast<size_t>(m_counter) < m_currentBody->size()) {
        const ScriptCommand& command = (*m_currentBody)[m_counter];
        if (!command.m_children.empty()) {
            m_frames.push_back(Frame{m_currentBody, m_counter + 1});
            m_currentBody = &command.m_children;
            m_counter = 0;
        } else {
            ++m_counter;
        }
    }
    while (!m_frames.empty() &&
           (m_currentBody == nullptr || static_cast<size_t>(m_counter) >= m_currentBody->size())) {
        m_currentBody = m_frames.back().body;
        m_counter = m_frames.back().counter;
        m_frames.pop_back();
        if (m_loops.empty() || m_loops.back().depth != static_cast<int>(m_frames.size()))
            continue;
        LoopRecord& loop = m_loops.back();
        if (loop.remaining != 0 && --loop.remaining == 0) {
            m_loops.pop_back();
            continue;
        }
        m_currentBody = loop.body;
        m_counter = loop.counter;
        Advance(true);
        return;
    }
}

// The flow family's handlers, on the interpreter's own state.
struct ScriptFlowWords
{
    using Outcome = ScriptOutcome;
    using Wait = Animator::Wait;

    // Waits.
    static Outcome WaitForMotion(Animator& script, const ScriptCommand&)
    {
        if (!script.AnyObjectMoving())
            return Outcome::Next;
        script.m_wait = Wait::Motion;
        return Outcome::Suspend;
    }
    static Outcome WaitForAnimations(Animator& script, const ScriptCommand&)
    {
        script.m_wait = Wait::Animations;
        return Outcome::Suspend;
    }
    static Outcome Pause(Animator& script, const ScriptCommand&)
    {
        script.m_timer = script.ReadFloat(L"time");
        if (!(script.m_timer > 0.0f))
            return Outcome::Next;
        script.m_wait = Wait::Timer;
        return Outcome::Suspend;
    }
    static Outcome Persist(Animator& script, const ScriptCommand&)
    {
        script.m_timer = 0.0f;
        script.m_wait = Wait::Timer;
        if (AnimationListener* listener = script.GetListener())
            listener->AnimationPersisting(script.GetHostId());
        return Outcome::Suspend;
    }
    static Outcome Click(Animator& script, const ScriptCommand&)
    {
        script.m_timer = script.ReadFloat(L"time");
        script.SetClickListening(true);
        script.m_wait = Wait::Click;
        return Outcome::Suspend;
    }
    static Outcome NoticeMenu(Animator& script, const ScriptCommand&) { return script.RunNoticeMenu(); }
    // Without "id" the script ends; with one, the object it names stops moving.
    static Outcome Stop(Animator& script, const ScriptCommand& command)
    {
        if (!command.Has(L"id")) {
            script.Finish();
            return Outcome::Suspend;
        }
        if (DynamicWidget* object = script.ReadObject(L"id"))
            object->StopMotion();
        return Outcome::Next;
    }

    // Calls and variables.
    static Outcome Call(Animator& script, const ScriptCommand& command)
    {
        for (const auto& [key, text] : command.m_attributes) {
            if (key != L"animation")
                script.SetVariable(std::wstring(key), script.m_evaluator.Evaluate(text));
        }
        const AnimationDefinition& called = FindAnimation(script.ReadText(L"animation"));
        script.m_frames.push_back(Animator::Frame{script.m_currentBody, script.m_counter + 1});
        script.m_currentBody = &called.m_commands;
        script.m_counter = 0;
        return Outcome::Placed;
    }
    static Outcome LoadAfter(Animator& script, const ScriptCommand&)
    {
        script.CallAnimationByName(script.ReadText(L"animation"));
        return Outcome::Next;
    }
    // "define" and "define-global": every attribute, in the order of their names.
    template <bool global> static Outcome Define(Animator& script, const ScriptCommand& command)
    {
        for (const auto& [key, text] : command.m_attributes) {
            if constexpr (global)
                script.SetGlobal(std::wstring(key), script.m_evaluator.Evaluate(text));
            else
                script.SetVariable(std::wstring(key), script.m_evaluator.Evaluate(text));
        }
        return Outcome::Next;
    }
    template <bool global> static Outcome Assign(Animator& script, const ScriptCommand&)
    {
        if constexpr (global)
            script.SetGlobal(script.ReadText(L"name"), script.ReadValue(L"value"));
        else
            script.SetVariable(script.ReadText(L"name"), script.ReadValue(L"value"));
        return Outcome::Next;
    }
    static Outcome Undefine(Animator& script, const ScriptCommand& command)
    {
        script.RemoveVariable(command.Raw(L"name"));
        return Outcome::Next;
    }
    static Outcome UndefineGlobal(Animator& script, const ScriptCommand& command)
    {
        if (ScriptGlobalStore* store = script.GetGlobalStore())
            store->EraseGlobal(command.Raw(L"name"));
        return Outcome::Next;
    }
    static Outcome Signal(Animator& script, const ScriptCommand&)
    {
        const std::wstring message = script.ReadText(L"message");
        const bool stop = script.ReadBool(L"stop");
        if (AnimationListener* listener = script.GetListener()) {
            const int id = script.GetHostId();
            listener->Signal(id, message);
            if (message == L"complete")
                listener->AnimationComplete(id);
        }
        return stop ? Outcome::Suspend : Outcome::Next;
    }
    static Outcome Do(Animator& script, const ScriptCommand&)
    {
        auto* target = dynamic_cast<DynamicWidget*>(script.ReadValue(L"object").GetWidget());
        script.HandleAction(script.ReadText(L"action"), script.ReadText(L"parameter"), target);
        return Outcome::Next;
    }

    // Bodies.
    static Outcome Loop(Animator& script, const ScriptCommand& command)
    {
        const bool counted = command.Has(L"count");
        const int count = script.ReadInt(L"count");
        if (counted && count == 0) {
            ++script.m_counter;
            return Outcome::Placed;
        }
        // A loop without a body has nothing to repeat.
        if (command.m_children.empty())
            return Outcome::Next;
        script.m_loops.push_back(Animator::LoopRecord{script.m_currentBody, script.m_counter, count,
                                                      static_cast<int>(script.m_frames.size())});
        return Outcome::Next;
    }
    // "break" and "continue": to the end of the innermost loop's pass; a
    // break makes it the last pass.
    template <bool breaking> static Outcome LeavePass(Animator& script, const ScriptCommand&)
    {
        if (script.m_loops.empty())
            return Outcome::Next;
        Animator::LoopRecord& loop = script.m_loops.back();
        const size_t bodyDepth = static_cast<size_t>(loop.depth) + 1;
        while (script.m_frames.size() > bodyDepth) {
            script.m_currentBody = script.m_frames.back().body;
            script.m_counter = script.m_frames.back().counter;
            script.m_frames.pop_back();
        }
        script.m_counter =
            script.m_currentBody != nullptr ? static_cast<int>(script.m_currentBody->size()) : 0;
        if constexpr (breaking)
            loop.remaining = 1;
        return Outcome::Placed;
    }
    // "if" enters its body when "cond" holds, "unless" when it does not.
    template <bool enterWhen> static Outcome Branch(Animator& script, const ScriptCommand&)
    {
        if (script.ReadBool(L"cond") == enterWhen)
            return Outcome::Next;
        ++script.m_counter;
        return Outcome::Placed;
    }

    // On an object.
    static Outcome DoFinger(Animator& script, const ScriptCommand&, DynamicWidget& object)
    {
        object.SetHandCursor(script.ReadBool(L"enable"));
        return Outcome::Next;
    }
    // "press" and "depress": until the button named by "id" is pressed or
    // released, or a positive "time" runs out.
    template <Animator::Wait wait>
    static Outcome AwaitButton(Animator& script, const ScriptCommand&, DynamicWidget&)
    {
        script.m_timer = script.ReadFloat(L"time");
        script.m_wait = wait;
        return Outcome::Suspend;
    }
    static Outcome WhenDone(Animator& script, const ScriptCommand&, DynamicWidget& object)
    {
        if (script.Has(L"remove"))
            object.SetRemoveWhenDone(script.ReadBool(L"remove"));
        if (script.Has(L"hide"))
            object.SetHideWhenDone(script.ReadBool(L"hide"));
        if (script.Has(L"stop_crossfading"))
            object.SetLeaveOffscreenWhenDone(script.ReadBool(L"stop_crossfading"));
        if (script.Has(L"stop_recursion"))
            object.SetEndRecursiveWhenDone(script.ReadBool(L"stop_recursion"));
        return Outcome::Next;
    }
    static Outcome WaitForObject(Animator& script, const ScriptCommand&, DynamicWidget& object)
    {
        if (!object.IsMoving())
            return Outcome::Next;
        return Await(script, object, Wait::Object);
    }
    static Outcome WaitForAnimation(Animator& script, const ScriptCommand&, DynamicWidget& object)
    {
        auto* other = dynamic_cast<Animator*>(&object);
        if (other == nullptr || other->IsFinished())
            return Outcome::Next;
        return Await(script, object, Wait::Animation);
    }
    static Outcome Await(Animator& script, DynamicWidget& object, Wait wait)
    {
        script.m_awaitedObject = Animator::Track(&object);
        script.m_awaitedId = object.GetId();
        script.m_wait = wait;
        return Outcome::Suspend;
    }

    // Another script's variables: only an object that runs a script has them.
    static Outcome DefineIn(Animator& script, const ScriptCommand& command, DynamicWidget& object)
    {
        if (auto* other = dynamic_cast<Animator*>(&object))
            SetEvery(script, command, *other, L"id");
        return Outcome::Next;
    }
    static Outcome UndefineIn(Animator&, const ScriptCommand& command, DynamicWidget& object)
    {
        if (auto* other = dynamic_cast<Animator*>(&object))
            other->RemoveVariable(command.Raw(L"name"));
        return Outcome::Next;
    }
    static Outcome AssignIn(Animator& script, const ScriptCommand&, DynamicWidget& object)
    {
        if (auto* other = dynamic_cast<Animator*>(&object))
            other->SetVariable(script.ReadText(L"name"), script.ReadValue(L"value"));
        return Outcome::Next;
    }
    static Outcome PlayIn(Animator& script, const ScriptCommand& command, DynamicWidget& object)
    {
        if (auto* other = dynamic_cast<Animator*>(&object)) {
            const std::wstring animation = script.ReadText(L"animation");
            SetEvery(script, command, *other, L"id", L"animation");
            other->PlayAnimationByName(animation);
        }
        return Outcome::Next;
    }
    // Every attribute but the skipped ones, evaluated by this script, as a
    // variable of the other, in the order of their names.
    static void SetEvery(Animator& script, const ScriptCommand& command, Animator& other,
                         std::wstring_view skip, std::wstring_view alsoSkip = {})
    {
        for (const auto& [key, text] : command.m_attributes) {
            if (key != skip && key != alsoSkip)
                other.SetVariable(std::wstring(key), script.m_evaluator.Evaluate(text));
        }
    }
};

namespace {

using Flow = ScriptFlowWords;

constexpr ScriptWordRow kFlowWords[] = {
    {L"wait", ScriptWord::Wait, ScriptReach::Any, Flow::WaitForMotion},
    {L"wait-for-animations", ScriptWord::WaitForAnimations, ScriptReach::Any, Flow::WaitForAnimations},
    {L"pause", ScriptWord::Pause, ScriptReach::Any, Flow::Pause},
    {L"persist", ScriptWord::Persist, ScriptReach::Any, Flow::Persist},
    {L"click", ScriptWord::Click, ScriptReach::Any, Flow::Click},
    {L"notice-menu", ScriptWord::NoticeMenu, ScriptReach::Any, Flow::NoticeMenu},
    {L"stop", ScriptWord::Stop, ScriptReach::Any, Flow::Stop},
    {L"call", ScriptWord::Call, ScriptReach::Any, Flow::Call},
    {L"load-after", ScriptWord::LoadAfter, ScriptReach::Any, Flow::LoadAfter},
    {L"define", ScriptWord::Define, ScriptReach::Any, Flow::Define<false>},
    {L"define-global", ScriptWord::DefineGlobal, ScriptReach::Any, Flow::Define<true>},
    {L"assign", ScriptWord::Assign, ScriptReach::Any, Flow::Assign<false>},
    {L"assign-global", ScriptWord::AssignGlobal, ScriptReach::Any, Flow::Assign<true>},
    {L"do-finger", ScriptWord::DoFinger, ScriptReach::Object, Flow::DoFinger},
    {L"press", ScriptWord::Press, ScriptReach::Object, Flow::AwaitButton<Animator::Wait::Press>},
    {L"depress", ScriptWord::Depress, ScriptReach::Object, Flow::AwaitButton<Animator::Wait::Depress>},
    {L"define-in", ScriptWord::DefineIn, ScriptReach::Object, Flow::DefineIn},
    {L"undefine-in", ScriptWord::UndefineIn, ScriptReach::Object, Flow::UndefineIn},
    {L"assign-in", ScriptWord::AssignIn, ScriptReach::Object, Flow::AssignIn},
    {L"play-in", ScriptWord::PlayIn, ScriptReach::Object, Flow::PlayIn},
    {L"when-done", ScriptWord::WhenDone, ScriptReach::Object, Flow::WhenDone},
    {L"wait-for", ScriptWord::WaitFor, ScriptReach::Object, Flow::WaitForObject},
    {L"wait-for-animation", ScriptWord::WaitForAnimation, ScriptReach::Object, Flow::WaitForAnimation},
    {L"do", ScriptWord::Do, ScriptReach::Free, Flow::Do},
    {L"loop", ScriptWord::Loop, ScriptReach::Free, Flow::Loop},
    {L"break", ScriptWord::Break, ScriptReach::Free, Flow::LeavePass<true>},
    {L"continue", ScriptWord::Continue, ScriptReach::Free, Flow::LeavePass<false>},
    {L"if", ScriptWord::If, ScriptReach::Free, Flow::Branch<true>},
    {L"unless", ScriptWord::Unless, ScriptReach::Free, Flow::Branch<false>},
    {L"undefine", ScriptWord::Undefine, ScriptReach::Free, Flow::Undefine},
    {L"undefine-global", ScriptWord::UndefineGlobal, ScriptReach::Free, Flow::UndefineGlobal},
    {L"signal", ScriptWord::Signal, ScriptReach::Free, Flow::Signal},
};
static_assert(AllRowsFit(kFlowWords));

} // namespace

std::span<const ScriptWordRow> FlowWords()
{
    return kFlowWords;
}

Animator::Outcome Animator::RunNoticeMenu()
{
    if (DynamicWidget* shown = m_noticeMenu.Get()) {
        m_noticeMenu = {};
        shown->RemoveSelf();
    }
    WidgetHost* host = GetWidgetHost();
    NoticeMenuMaker* maker = host != nullptr ? host->GetNoticeMenuMaker() : nullptr;
    DynamicWidget* notice = maker != nullptr ? maker->ShowNoticeMenu(ReadText(L"text")) : nullptr;
    if (notice == nullptr)
        return Outcome::Next;
    m_noticeMenu = Track(notice);
    m_dispatch.Track(notice->GetRemovalLink());
    if (ReadBool(L"continue"))
        return Outcome::Halt;
    m_unpause = ReadBool(L"unpause", true);
    if (m_unpause) {
        if (ScriptMenuHooks* owner = GetHostSuspendOwner()) {
            m_savedPauseFlag = owner->GetPauseInBackground();
            owner->SetPauseInBackground(false);
        }
    }
    m_wait = Wait::Notice;
    return Outcome::Suspend;
}

void Animator::SetGlobal(const std::wstring& name, const Value& value)
{
    ScriptGlobalStore* store = GetGlobalStore();
    if (store == nullptr)
        return;
    // The player's properties outlive every widget: they keep what a
    // reference reads now, never the reference.
    switch (value.GetType()) {
    case Value::Type::FloatRef:
        store->SetGlobal(name, Value(value.ToFloat()));
        break;
    case Value::Type::IntRef:
        store->SetGlobal(name, Value(value.ToInt()));
        break;
    case Value::Type::WidgetRef:
        break;
    default:
        store->SetGlobal(name, value);
        break;
    }
}
