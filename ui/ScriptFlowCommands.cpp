// The interpreter: the command loop, the program counter through nested
// bodies, and the commands for waiting, flow, variables, calls and signals.
#include "base/LogWriter.h"
#include "resources/Value.h"
#include "ui/AnimationTable.h"
#include "ui/Animator.h"
#include "ui/DynamicWidget.h"
#include "ui/NoticeMenuMaker.h"
#include "ui/ScriptGlobalStore.h"
#include "ui/ScriptMenuHooks.h"
#include "ui/ScriptServices.h"
#include "ui/WidgetHost.h"

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
    if (gRunNesting >= kMaxRunNesting) {
        LogOnce(limits, ScriptLimits::Reason::NestedTooDeeply,
                L"\" starts scripts within scripts too deeply; it goes on at the next update");
        m_resumeStep = step;
        m_wait = Wait::Yielded;
        return true;
    }
    // Asked to end: the loop must get the request now, not after every
    // script of the tick has had its turn.
    if (limits != nullptr && limits->IsQuitRequested()) {
        m_resumeStep = step;
        m_wait = Wait::Yielded;
        return true;
    }
    const Nesting nesting;
    m_wait = Wait::None;
    m_creationRefused = false;
    m_runPending = false;
    const int run = m_runCounter;
    int budget = kCommandBudget;
    for (;;) {
        // Scripts that never wait would hold the game here for ever: each
        // run, and all of them in a tick together, stop at a budget.
        const bool runSpent = step && budget-- <= 0;
        if (runSpent || (step && limits != nullptr && !limits->TakeCommand())) {
            if (runSpent)
                LogOnce(limits, ScriptLimits::Reason::RunSpent,
                        L"\" runs without waiting; it goes on at the next update");
            else
                LogOnce(limits, ScriptLimits::Reason::TickSpent,
                        L"\" and the scripts after it go on at the next update: scripts ran " +
                            std::to_wstring(ScriptLimits::kTickCommands) + L" commands in one tick");
            m_resumeStep = step;
            m_wait = Wait::Yielded;
            return true;
        }
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
        if (TestCondition(command.m_ifText, true) && !TestCondition(command.m_unlessText, false)) {
            int handled = HandleCommand(command);
            if (handled == 0 && m_runCounter == run)
                handled = GetServices().HandleScriptCommand(command, *this);
            if (handled == 1)
                return true;
            if (handled == 0 && m_runCounter == run) {
                switch (RunCommand(command)) {
                case Outcome::Suspend:
                    return true;
                case Outcome::Halt:
                    return false;
                case Outcome::Placed:
                    step = false;
                    break;
                case Outcome::NotMine:
                case Outcome::Next:
                    break;
                }
            }
        }
        if (m_runCounter != run)
            return true;
        if (m_creationRefused) {
            // Out of objects or pixels: the script goes on after this
            // command at the next update, by which some may have gone.
            m_creationRefused = false;
            m_resumeStep = step;
            m_wait = Wait::Yielded;
            return true;
        }
    }
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

Animator::Outcome Animator::RunCommand(const ScriptCommand& command)
{
    switch (command.m_word) {
    case ScriptWord::Wait:
    case ScriptWord::WaitForAnimations:
    case ScriptWord::Pause:
    case ScriptWord::Persist:
    case ScriptWord::Click:
        return RunWaitCommand(command);
    case ScriptWord::NoticeMenu:
        return RunNoticeMenu();
    case ScriptWord::Stop:
        if (command.Has(L"id"))
            break;
        Finish();
        return Outcome::Suspend;
    case ScriptWord::Add:
    case ScriptWord::AddButton:
    case ScriptWord::AddLabel:
    case ScriptWord::AddRect:
    case ScriptWord::Play:
    case ScriptWord::Overlay: {
        Outcome outcome = RunCreateCommand(command);
        return outcome == Outcome::NotMine ? Outcome::Next : outcome;
    }
    case ScriptWord::Call:
    case ScriptWord::LoadAfter:
    case ScriptWord::Define:
    case ScriptWord::DefineGlobal:
    case ScriptWord::Assign:
    case ScriptWord::AssignGlobal:
        return RunVariableCommand(command);
    default:
        break;
    }

    if (DynamicWidget* object = command.Has(L"id") ? ReadObject(L"id") : nullptr) {
        Outcome outcome = RunMotionCommand(command, *object);
        if (outcome == Outcome::NotMine && command.m_word == ScriptWord::Stop) {
            object->StopMotion();
            outcome = Outcome::Next;
        }
        if (outcome == Outcome::NotMine)
            outcome = RunAppearanceCommand(command, *object);
        if (outcome == Outcome::NotMine)
            outcome = RunObjectFlowCommand(command, *object);
        if (outcome == Outcome::NotMine)
            outcome = RunConfigureCommand(command, *object);
        if (outcome == Outcome::NotMine)
            outcome = RunObjectCommand(command, object);
        return outcome == Outcome::NotMine ? Outcome::Next : outcome;
    }

    Outcome outcome = Outcome::NotMine;
    if (command.m_word == ScriptWord::Do) {
        DynamicWidget* target = dynamic_cast<DynamicWidget*>(ReadValue(L"object").GetWidget());
        HandleAction(ReadText(L"action"), ReadText(L"parameter"), target);
        return Outcome::Next;
    }
    outcome = RunLayerCommand(command);
    if (outcome == Outcome::NotMine)
        outcome = RunBlockCommand(command);
    if (outcome == Outcome::NotMine)
        outcome = RunSoundCommand(command);
    if (outcome == Outcome::NotMine)
        outcome = RunVariableCommand(command);
    if (outcome == Outcome::NotMine && !command.Has(L"id"))
        outcome = RunObjectCommand(command, GetCurrentLayer());
    return outcome == Outcome::NotMine ? Outcome::Next : outcome;
}

Animator::Outcome Animator::RunWaitCommand(const ScriptCommand& command)
{
    switch (command.m_word) {
    case ScriptWord::Wait:
        if (!AnyObjectMoving())
            return Outcome::Next;
        m_wait = Wait::Motion;
        return Outcome::Suspend;
    case ScriptWord::WaitForAnimations:
        m_wait = Wait::Animations;
        return Outcome::Suspend;
    case ScriptWord::Pause:
        m_timer = ReadFloat(L"time");
        if (!(m_timer > 0.0f))
            return Outcome::Next;
        m_wait = Wait::Timer;
        return Outcome::Suspend;
    case ScriptWord::Persist:
        m_timer = 0.0f;
        m_wait = Wait::Timer;
        if (AnimationListener* listener = GetListener())
            listener->AnimationPersisting(GetHostId());
        return Outcome::Suspend;
    case ScriptWord::Click:
        m_timer = ReadFloat(L"time");
        SetClickListening(true);
        m_wait = Wait::Click;
        return Outcome::Suspend;
    default:
        return Outcome::NotMine;
    }
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

Animator::Outcome Animator::RunVariableCommand(const ScriptCommand& command)
{
    switch (command.m_word) {
    case ScriptWord::Call: {
        for (const auto& [key, text] : command.m_attributes) {
            if (key != L"animation")
                SetVariable(std::wstring(key), m_evaluator.Evaluate(text));
        }
        const AnimationDefinition& called = FindAnimation(ReadText(L"animation"));
        m_frames.push_back(Frame{m_currentBody, m_counter + 1});
        m_currentBody = &called.m_commands;
        m_counter = 0;
        return Outcome::Placed;
    }
    case ScriptWord::LoadAfter:
        CallAnimationByName(ReadText(L"animation"));
        return Outcome::Next;
    case ScriptWord::Define:
        for (const auto& [key, text] : command.m_attributes)
            SetVariable(std::wstring(key), m_evaluator.Evaluate(text));
        return Outcome::Next;
    case ScriptWord::DefineGlobal:
        for (const auto& [key, text] : command.m_attributes)
            SetGlobal(std::wstring(key), m_evaluator.Evaluate(text));
        return Outcome::Next;
    case ScriptWord::Assign:
        SetVariable(ReadText(L"name"), ReadValue(L"value"));
        return Outcome::Next;
    case ScriptWord::AssignGlobal:
        SetGlobal(ReadText(L"name"), ReadValue(L"value"));
        return Outcome::Next;
    case ScriptWord::Undefine:
        RemoveVariable(command.Raw(L"name"));
        return Outcome::Next;
    case ScriptWord::UndefineGlobal:
        if (ScriptGlobalStore* store = GetGlobalStore())
            store->EraseGlobal(command.Raw(L"name"));
        return Outcome::Next;
    case ScriptWord::Signal: {
        const std::wstring message = ReadText(L"message");
        const bool stop = ReadBool(L"stop");
        if (AnimationListener* listener = GetListener()) {
            const int id = GetHostId();
            listener->Signal(id, message);
            if (message == L"complete")
                listener->AnimationComplete(id);
        }
        return stop ? Outcome::Suspend : Outcome::Next;
    }
    default:
        return Outcome::NotMine;
    }
}

Animator::Outcome Animator::RunObjectFlowCommand(const ScriptCommand& command, DynamicWidget& object)
{
    auto* other = dynamic_cast<Animator*>(&object);
    switch (command.m_word) {
    case ScriptWord::DoFinger:
        object.SetHandCursor(ReadBool(L"enable"));
        return Outcome::Next;
    case ScriptWord::Press:
    case ScriptWord::Depress:
        m_timer = ReadFloat(L"time");
        m_wait = command.m_word == ScriptWord::Press ? Wait::Press : Wait::Depress;
        return Outcome::Suspend;
    case ScriptWord::DefineIn:
        if (other != nullptr) {
            for (const auto& [key, text] : command.m_attributes) {
                if (key != L"id")
                    other->SetVariable(std::wstring(key), m_evaluator.Evaluate(text));
            }
        }
        return Outcome::Next;
    case ScriptWord::UndefineIn:
        if (other != nullptr)
            other->RemoveVariable(command.Raw(L"name"));
        return Outcome::Next;
    case ScriptWord::AssignIn:
        if (other != nullptr)
            other->SetVariable(ReadText(L"name"), ReadValue(L"value"));
        return Outcome::Next;
    case ScriptWord::PlayIn:
        if (other != nullptr) {
            const std::wstring animation = ReadText(L"animation");
            for (const auto& [key, text] : command.m_attributes) {
                if (key != L"id" && key != L"animation")
                    other->SetVariable(std::wstring(key), m_evaluator.Evaluate(text));
            }
            other->PlayAnimationByName(animation);
        }
        return Outcome::Next;
    case ScriptWord::WhenDone:
        if (Has(L"remove"))
            object.SetRemoveWhenDone(ReadBool(L"remove"));
        if (Has(L"hide"))
            object.SetHideWhenDone(ReadBool(L"hide"));
        if (Has(L"stop_crossfading"))
            object.SetLeaveOffscreenWhenDone(ReadBool(L"stop_crossfading"));
        if (Has(L"stop_recursion"))
            object.SetEndRecursiveWhenDone(ReadBool(L"stop_recursion"));
        return Outcome::Next;
    case ScriptWord::WaitFor:
        if (!object.IsMoving())
            return Outcome::Next;
        m_awaitedObject = Track(&object);
        m_awaitedId = object.GetId();
        m_wait = Wait::Object;
        return Outcome::Suspend;
    case ScriptWord::WaitForAnimation:
        if (other == nullptr || other->IsFinished())
            return Outcome::Next;
        m_awaitedObject = Track(&object);
        m_awaitedId = object.GetId();
        m_wait = Wait::Animation;
        return Outcome::Suspend;
    default:
        return Outcome::NotMine;
    }
}

Animator::Outcome Animator::RunBlockCommand(const ScriptCommand& command)
{
    switch (command.m_word) {
    case ScriptWord::Loop: {
        const bool counted = command.Has(L"count");
        const int count = ReadInt(L"count");
        if (counted && count == 0) {
            ++m_counter;
            return Outcome::Placed;
        }
        // A loop without a body has nothing to repeat.
        if (command.m_children.empty())
            return Outcome::Next;
        m_loops.push_back(LoopRecord{m_currentBody, m_counter, count, static_cast<int>(m_frames.size())});
        return Outcome::Next;
    }
    case ScriptWord::Break:
    case ScriptWord::Continue:
        if (m_loops.empty())
            return Outcome::Next;
        LeaveLoopPass(command.m_word == ScriptWord::Break);
        return Outcome::Placed;
    case ScriptWord::If:
    case ScriptWord::Unless: {
        const bool condition = ReadBool(L"cond");
        if (condition == (command.m_word == ScriptWord::If))
            return Outcome::Next;
        ++m_counter;
        return Outcome::Placed;
    }
    default:
        return Outcome::NotMine;
    }
}

void Animator::LeaveLoopPass(bool breaking)
{
    LoopRecord& loop = m_loops.back();
    const size_t bodyDepth = static_cast<size_t>(loop.depth) + 1;
    while (m_frames.size() > bodyDepth) {
        m_currentBody = m_frames.back().body;
        m_counter = m_frames.back().counter;
        m_frames.pop_back();
    }
    m_counter = m_currentBody != nullptr ? static_cast<int>(m_currentBody->size()) : 0;
    if (breaking)
        loop.remaining = 1;
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
