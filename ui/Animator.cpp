#include "ui/Animator.h"

#include "base/LogWriter.h"
#include "graphics/FontTable.h"
#include "graphics/Image.h"
#include "resources/Assets.h"
#include "ui/AnimationTable.h"
#include "ui/DynamicWidget.h"
#include "ui/ScriptMenuHooks.h"
#include "ui/ScriptServices.h"
#include "ui/WidgetHost.h"
#include "ui/WidgetManager.h"

#include <algorithm>

namespace {
const ScriptBody kNoCommands;
} // namespace

Animator::Animator(DynamicWidget* host) : m_hostRef(Track(host)), m_host(host), m_currentLayer(TrackLayer(host)) {}

Animator::~Animator() = default;

WidgetHost* Animator::GetWidgetHost() const
{
    return m_host != nullptr ? m_host->GetHost() : nullptr;
}

ScriptGlobalStore* Animator::GetGlobalStore() const
{
    WidgetHost* host = GetWidgetHost();
    return host != nullptr ? host->GetScriptGlobalStore() : nullptr;
}

ScriptServices& Animator::GetServices() const
{
    // Without an application the sounds stay silent and the application's
    // own commands go unhandled: the base answers so.
    static ScriptServices none;
    WidgetHost* host = GetWidgetHost();
    ScriptServices* services = host != nullptr ? host->GetScriptServices() : nullptr;
    return services != nullptr ? *services : none;
}

Animator::TrackedWidget Animator::Track(DynamicWidget* widget)
{
    if (widget == nullptr)
        return {};
    return {widget, widget->GetReferenceAnchor().GetToken()};
}

bool Animator::TrackedLayer::IsGone() const
{
    if (widget == nullptr)
        return false;
    return token.expired() || widget->GetParent() == nullptr;
}

Animator::TrackedLayer Animator::TrackLayer(WidgetContainer* layer) const
{
    TrackedLayer tracked{layer, nullptr, {}};
    // The host is looked after by m_hostRef: it may play before it is added.
    if (layer == m_host)
        return tracked;
    if (const auto* widget = dynamic_cast<const Widget*>(layer)) {
        tracked.widget = widget;
        tracked.token = widget->GetReferenceAnchor().GetToken();
    }
    return tracked;
}

// Starting and stopping.

void Animator::PlayAnimation(const AnimationDefinition* definition)
{
    Stop();
    ++m_runCounter;
    m_currentDefinition = definition;
    m_currentBody = definition != nullptr ? &definition->m_commands : &kNoCommands;
    m_counter = 0;
    if (m_currentBody->empty())
        OnEmptyScript();
    else if (IsHostLive())
        RunScript(false);
    else
        m_runPending = true;
}

void Animator::PlayAnimationByName(const std::wstring& name)
{
    PlayAnimation(&FindAnimation(name));
}

void Animator::CallAnimation(const AnimationDefinition* definition)
{
    const ScriptBody& commands = definition != nullptr ? definition->m_commands : kNoCommands;
    const bool idle = IsFinished();
    m_frames.insert(m_frames.begin(), Frame{&commands, 0});
    for (LoopRecord& loop : m_loops)
        ++loop.depth;
    if (!idle)
        return;
    m_wait = Wait::None;
    if (commands.empty()) {
        m_frames.erase(m_frames.begin());
        for (LoopRecord& loop : m_loops)
            --loop.depth;
        OnEmptyScript();
    } else if (IsHostLive()) {
        RunScript(false);
    } else {
        m_runPending = true;
    }
}

void Animator::CallAnimationByName(const std::wstring& name)
{
    CallAnimation(&FindAnimation(name));
}

void Animator::StartAnimation(const AnimationDefinition* definition)
{
    if (IsIdle())
        Stop();
    CallAnimation(definition);
}

void Animator::StartAnimationByName(const std::wstring& name)
{
    StartAnimation(&FindAnimation(name));
}

bool Animator::RestartIfPlaying(const std::wstring& name)
{
    if (m_currentDefinition == nullptr || m_currentDefinition->m_name != name)
        return false;
    Restart();
    return true;
}

void Animator::Restart()
{
    if (m_currentDefinition == nullptr)
        return;
    const AnimationDefinition* definition = m_currentDefinition;
    Clear(false);
    PlayAnimation(definition);
}

void Animator::Clear(bool clearVariables)
{
    // The objects leave without telling this script: a removal notice could
    // resume it in the middle of being cleared, and an object without a
    // parent sends none at all.
    std::map<int, TrackedWidget> objects;
    objects.swap(m_objectsById);
    for (auto& [id, entry] : objects) {
        DynamicWidget* object = entry.Get();
        m_buttonActions.erase(id);
        m_playedAnimations.erase(id);
        Uncount(id);
        if (object == nullptr)
            continue;
        if (object->GetRemovalListener() == &m_dispatch)
            object->GetRemovalLink().Detach();
        ForgetEverywhere(object);
        object->RemoveSelf();
    }
    if (clearVariables) {
        m_variables.clear();
        m_variableText = 0;
    }
}

void Animator::Finish()
{
    Stop();
    OnScriptFinished();
}

void Animator::Stop()
{
    m_wait = Wait::None;
    m_runPending = false;
    if (m_currentDefinition != nullptr) {
        m_currentBody = &m_currentDefinition->m_commands;
        m_counter = static_cast<int>(m_currentBody->size());
    }
    m_frames.clear();
    m_loops.clear();
    m_dispatch.Disarm();
}

// Events.

void Animator::OnObjectRemoved(int id)
{
    DynamicWidget* notice = m_noticeMenu.Get();
    if (notice != nullptr && notice->GetId() == id) {
        NoticeClosed();
        return;
    }
    ForgetObject(id);
    if ((m_wait == Wait::Object || m_wait == Wait::Animation) && m_awaitedId == id) {
        m_awaitedObject = {};
        ResumeIfLive();
    }
}

void Animator::NoticeClosed()
{
    m_noticeMenu = {};
    if (m_wait != Wait::Notice)
        return;
    if (m_unpause) {
        if (ScriptMenuHooks* owner = GetHostSuspendOwner())
            owner->SetPauseInBackground(m_savedPauseFlag);
    }
    RunScript(true);
}

void Animator::OnMouseClick(int /*clicks*/)
{
    SetClickListening(false);
    bool clicked = false;
    if (m_wait == Wait::Click)
        clicked = true;
    else if (m_wait == Wait::Sound || m_wait == Wait::Voice || m_wait == Wait::Music)
        clicked = ReadBool(L"click");
    if (!clicked)
        return;
    SetClickedVariable(true);
    RunScript(true);
}

void Animator::OnButtonMouseEnter(int buttonId)
{
    m_lastButtonId = buttonId;
    auto found = m_buttonActions.find(buttonId);
    if (found == m_buttonActions.end() || found->second.m_hoverScript.empty())
        return;
    const ButtonActions actions = found->second;
    if (!actions.m_leaveScript.empty())
        StartAnimationByName(actions.m_leaveScript);
    if (actions.m_button != nullptr)
        SetVariable(L"button_id", Value(actions.m_button->GetName()));
    StartAnimationByName(actions.m_hoverScript);
}

void Animator::OnButtonMouseLeave(int buttonId)
{
    auto found = m_buttonActions.find(buttonId);
    if (found != m_buttonActions.end() && !found->second.m_leaveScript.empty())
        StartAnimationByName(std::wstring(found->second.m_leaveScript));
}

void Animator::OnButtonPress(int buttonId)
{
    OnButtonEvent(buttonId, Wait::Press, false);
}

void Animator::OnButtonDepress(int buttonId)
{
    OnButtonEvent(buttonId, Wait::Depress, true);
}

// A script waiting for this very button resumes; otherwise the button's action
// runs when it belongs to this event (press or release).
void Animator::OnButtonEvent(int buttonId, Wait awaited, bool depress)
{
    m_lastButtonId = buttonId;
    if (m_wait == awaited) {
        auto object = m_objectsById.find(buttonId);
        DynamicWidget* button = object != m_objectsById.end() ? object->second.Get() : nullptr;
        if (button != nullptr && button->GetName() == ReadText(L"id")) {
            RunScript(true);
            return;
        }
    }
    auto found = m_buttonActions.find(buttonId);
    if (found != m_buttonActions.end() && found->second.m_onDepress == depress) {
        ButtonActions actions = found->second;
        RunButtonAction(actions);
    }
}

void Animator::OnAnimationComplete(int id)
{
    m_playedAnimations.erase(id);
    if (m_wait == Wait::Animation && m_awaitedId == id)
        RunScript(true);
}

// Hooks.

Animator::Outcome Animator::HandleCommand(const ScriptCommand& /*command*/)
{
    return Outcome::NotMine;
}

void Animator::OnScriptFinished() {}

void Animator::OnEmptyScript() {}

bool Animator::AnyObjectMoving()
{
    for (const auto& [name, entry] : m_objectsByName) {
        DynamicWidget* object = entry.Get();
        if (object != nullptr && object->IsMoving())
            return true;
    }
    return false;
}

void Animator::OnButtonAdded(ButtonActions& /*actions*/) {}

void Animator::RunButtonAction(ButtonActions& actions)
{
    if (actions.m_button != nullptr)
        SetVariable(L"button_id", Value(actions.m_button->GetName()));
    switch (actions.m_kind) {
    case ButtonActions::Kind::Launch:
        PlayAnimationByName(actions.m_target);
        break;
    case ButtonActions::Kind::Call:
        m_frames.push_back(Frame{m_currentBody, m_counter});
        m_currentBody = &FindAnimation(actions.m_target).m_commands;
        m_counter = 0;
        RunScript(false);
        break;
    case ButtonActions::Kind::Action:
        HandleAction(actions.m_target, actions.m_parameter,
                     dynamic_cast<DynamicWidget*>(actions.m_object.GetWidget()));
        break;
    case ButtonActions::Kind::None:
        break;
    }
}

void Animator::HandleAction(const std::wstring& action, const std::wstring& parameter, DynamicWidget* object)
{
    if (auto* parent = dynamic_cast<Animator*>(GetHostParent()))
        parent->HandleAction(action, parameter, object);
}

bool Animator::IsHostLive()
{
    return false;
}

WidgetContainer* Animator::GetHostParent()
{
    return nullptr;
}

int Animator::GetHostId()
{
    return 0;
}

void Animator::SetClickListening(bool /*listening*/)
{
    m_dispatch.Disarm();
}

ScriptMenuHooks* Animator::GetHostSuspendOwner()
{
    return nullptr;
}

// The per-update step.

void Animator::Step(float dt)
{
    switch (m_wait) {
    case Wait::Timer:
    case Wait::Press:
    case Wait::Depress:
        if (m_timer > 0.0f) {
            m_timer -= dt;
            if (m_timer <= 0.0f)
                RunScript(true);
        }
        break;
    case Wait::Motion:
        if (!AnyObjectMoving())
            RunScript(true);
        break;
    case Wait::Object: {
        DynamicWidget* object = m_awaitedObject.Get();
        if (object == nullptr || !object->IsMoving())
            RunScript(true);
        break;
    }
    case Wait::Animation: {
        auto* animation = dynamic_cast<Animator*>(m_awaitedObject.Get());
        if (animation == nullptr || animation->IsFinished())
            RunScript(true);
        break;
    }
    case Wait::Animations:
        // An animation destroyed without a word to this script is over too.
        std::erase_if(m_playedAnimations, [](const auto& entry) { return entry.second.Get() == nullptr; });
        if (m_playedAnimations.empty())
            RunScript(true);
        break;
    case Wait::Sound:
    case Wait::Voice:
    case Wait::Music:
        if (!SoundStillPlays()) {
            SetClickedVariable(false);
            SetClickListening(false);
            RunScript(true);
        }
        break;
    case Wait::Click:
        if (m_timer > 0.0f) {
            m_timer -= dt;
            if (m_timer <= 0.0f) {
                SetClickedVariable(false);
                SetClickListening(false);
                RunScript(true);
            }
        }
        break;
    case Wait::Yielded:
        RunScript(m_resumeStep);
        break;
    case Wait::Notice:
        // A notice destroyed without a word to this script has closed too.
        if (m_noticeMenu.Get() == nullptr)
            NoticeClosed();
        break;
    case Wait::None:
    case Wait::TutorialHost:
    case Wait::ScreenHost:
        break;
    }
}

bool Animator::IsFinished() const
{
    const size_t count = m_currentBody != nullptr ? m_currentBody->size() : 0;
    return static_cast<size_t>(m_counter) >= count && m_frames.empty();
}

bool Animator::IsIdle() const
{
    return (m_wait == Wait::Timer && m_timer == 0.0f) || (m_wait == Wait::None && IsFinished());
}

bool Animator::NeedsTicks() const
{
    switch (m_wait) {
    case Wait::Timer:
    case Wait::Press:
    case Wait::Depress:
    case Wait::Click:
        return m_timer > 0.0f;
    case Wait::Motion:
    case Wait::Object:
    case Wait::Animation:
    case Wait::Animations:
    case Wait::Sound:
    case Wait::Voice:
    case Wait::Music:
    case Wait::Notice:
    case Wait::Yielded:
        return true;
    case Wait::None:
    case Wait::TutorialHost:
    case Wait::ScreenHost:
        break;
    }
    return false;
}

const ScriptCommand* Animator::GetCurrentCommand() const
{
    if (m_currentBody == nullptr || m_counter < 0 || static_cast<size_t>(m_counter) >= m_currentBody->size())
        return nullptr;
    return &(*m_currentBody)[m_counter];
}

// Variables.

bool Animator::SetVariable(const std::wstring& name, const Value& value)
{
    auto found = m_variables.find(name);
    const std::int64_t before = found != m_variables.end() ? VariableSize(name, found->second) : 0;
    const std::int64_t after = VariableSize(name, value);
    if (after > before && m_variableText - before + after > kMaxVariableText) {
        LogOnce(GetLimits(), ScriptLimits::Reason::TooMuchVariableText,
                L"\" keeps more than " + std::to_wstring(kMaxVariableText) +
                    L" characters in its variables; \"" + name.substr(0, 64) +
                    L"\" is left as it was, and later ones past that too");
        return false;
    }
    m_variableText += after - before;
    if (found != m_variables.end())
        found->second = value;
    else
        m_variables.emplace(name, value);
    return true;
}

std::int64_t Animator::VariableSize(const std::wstring& name, const Value& value)
{
    const size_t text = value.IsString() ? value.GetString().size() : 0;
    return kVariableOverhead + static_cast<std::int64_t>(name.size() + text);
}

const Value* Animator::FindVariable(const std::wstring& name) const
{
    auto found = m_variables.find(name);
    return found == m_variables.end() ? nullptr : &found->second;
}

bool Animator::RemoveVariable(const std::wstring& name)
{
    auto found = m_variables.find(name);
    if (found == m_variables.end())
        return false;
    m_variableText -= VariableSize(name, found->second);
    m_variables.erase(found);
    return true;
}

// Objects.

void Animator::AddObject(const std::wstring& name, DynamicWidget* object)
{
    if (object == nullptr)
        return;
    object->SetName(name);
    if (object->GetButtonListener() == nullptr)
        object->SetButtonListener(&m_dispatch);
    m_dispatch.Track(object->GetRemovalLink());
    m_objectsByName[name] = Track(object);
    m_objectsById[object->GetId()] = Track(object);
    CountCreation(object);
    if (WidgetContainer* layer = GetCurrentLayer())
        layer->AddWidget(object);
}

void Animator::SetObjectName(const std::wstring& name, DynamicWidget* object)
{
    if (object == nullptr)
        m_objectsByName.erase(name);
    else
        m_objectsByName[name] = Track(object);
}

DynamicWidget* Animator::FindObject(const std::wstring& name) const
{
    auto found = m_objectsByName.find(name);
    return found == m_objectsByName.end() ? nullptr : found->second.Get();
}

std::map<std::wstring, DynamicWidget*> Animator::GetObjectNames() const
{
    std::map<std::wstring, DynamicWidget*> names;
    for (const auto& [name, entry] : m_objectsByName) {
        if (DynamicWidget* object = entry.Get())
            names.emplace(name, object);
    }
    return names;
}

void Animator::CopyObjectNames(const Animator& other)
{
    m_objectsByName = other.m_objectsByName;
}

WidgetContainer* Animator::GetCurrentLayer() const
{
    if (m_currentLayer.IsGone())
        m_currentLayer = TrackLayer(m_host);
    if (m_currentLayer.layer == m_host && m_hostRef.Get() == nullptr)
        return nullptr;
    return m_currentLayer.layer;
}

void Animator::SetCurrentLayer(WidgetContainer* layer)
{
    m_currentLayer = TrackLayer(layer != nullptr ? layer : m_host);
}

void Animator::PushLayer()
{
    m_layerStack.push_back(m_currentLayer);
}

bool Animator::PopLayer()
{
    std::erase_if(m_layerStack, [](const TrackedLayer& entry) { return entry.IsGone(); });
    if (m_layerStack.empty())
        return false;
    m_currentLayer = m_layerStack.back();
    m_layerStack.pop_back();
    return true;
}

void Animator::SetButtonActions(int buttonId, const ButtonActions& actions)
{
    m_buttonActions[buttonId] = actions;
}

const ButtonActions* Animator::FindButtonActions(int buttonId) const
{
    auto found = m_buttonActions.find(buttonId);
    return found == m_buttonActions.end() ? nullptr : &found->second;
}

void Animator::AddPlayedAnimation(DynamicWidget* animation)
{
    if (animation != nullptr)
        m_playedAnimations[animation->GetId()] = Track(animation);
}

bool Animator::MayCreate(std::int64_t pixels, bool startsScript)
{
    auto fits = [this, pixels] {
        return m_creations.size() < static_cast<size_t>(kMaxLiveObjects) &&
               m_creationPixels + std::max<std::int64_t>(0, pixels) <= kMaxLivePixels;
    };
    if (!fits())
        PruneCreations();
    ScriptLimits* limits = GetLimits();
    if (!fits()) {
        LogOnce(limits, ScriptLimits::Reason::TooManyObjects,
                L"\" keeps too many objects or too large images alive; it creates no more until some are "
                L"removed");
    } else if (limits != nullptr && !limits->MayCreate(pixels, startsScript)) {
        if (startsScript && limits->GetLiveScripts() >= ScriptLimits::kMaxLiveScripts)
            LogOnce(limits, ScriptLimits::Reason::TooManyScripts,
                    L"\" starts no more scripts while " + std::to_wstring(ScriptLimits::kMaxLiveScripts) +
                        L" are alive; later ones are refused too until some have ended");
        else
            LogOnce(limits, ScriptLimits::Reason::TooManyObjects,
                    L"\" creates no more: scripts keep too many objects or too large images alive; later "
                    L"ones are refused too until some are removed");
    } else {
        return true;
    }
    m_creationRefused = true;
    return false;
}

ScriptLimits* Animator::GetLimits() const
{
    const DynamicWidget* host = m_hostRef.Get();
    WidgetManager* manager = host != nullptr ? host->GetManager() : nullptr;
    return manager != nullptr ? &manager->GetScriptLimits() : nullptr;
}

void Animator::LogOnce(ScriptLimits* limits, ScriptLimits::Reason reason, const std::wstring& rest)
{
    const std::wstring line =
        L"Script \"" + (m_currentDefinition != nullptr ? m_currentDefinition->m_name : L"") + rest;
    if (limits != nullptr) {
        limits->LogOnce(reason, line);
        return;
    }
    // Without a tree to share a log with, each script says it once.
    if (!m_logged[static_cast<int>(reason)]) {
        m_logged[static_cast<int>(reason)] = true;
        LogWriter::WriteLine(line);
    }
}

void Animator::CountCreation(DynamicWidget* object)
{
    if (object == nullptr)
        return;
    std::int64_t pixels = 0;
    if (const Image* image = object->GetImage(); image != nullptr && object->OwnsImage())
        pixels = std::int64_t{image->GetWidth()} * image->GetHeight();
    Creation& entry = m_creations[object->GetId()];
    m_creationPixels += pixels - entry.pixels;
    m_createdPixels += std::max<std::int64_t>(0, pixels - entry.pixels);
    entry = Creation{Track(object), pixels};
    object->CountAsScriptObject(pixels);
}

std::int64_t Animator::GetLiveCreationPixels()
{
    PruneCreations();
    return m_creationPixels;
}

void Animator::PruneCreations()
{
    std::erase_if(m_creations, [](const auto& entry) {
        const DynamicWidget* object = entry.second.object.Get();
        return object == nullptr || object->GetParent() == nullptr;
    });
    m_creationPixels = 0;
    for (const auto& [id, entry] : m_creations)
        m_creationPixels += entry.pixels;
}

void Animator::Uncount(int id)
{
    auto found = m_creations.find(id);
    if (found == m_creations.end())
        return;
    m_creationPixels -= found->second.pixels;
    m_creations.erase(found);
}

void Animator::ForgetObject(int id)
{
    DynamicWidget* object = nullptr;
    auto byId = m_objectsById.find(id);
    if (byId != m_objectsById.end()) {
        object = byId->second.widget;
        m_objectsById.erase(byId);
    } else {
        for (const auto& [name, entry] : m_objectsByName) {
            DynamicWidget* named = entry.Get();
            if (named != nullptr && named->GetId() == id) {
                object = named;
                break;
            }
        }
    }
    m_buttonActions.erase(id);
    m_playedAnimations.erase(id);
    Uncount(id);
    if (object != nullptr)
        ForgetEverywhere(object);
}

void Animator::ForgetEverywhere(const Widget* widget)
{
    std::erase_if(m_objectsByName, [widget](const auto& entry) {
        return static_cast<const Widget*>(entry.second.widget) == widget;
    });
    std::erase_if(m_buttonActions, [widget](const auto& entry) {
        return static_cast<const Widget*>(entry.second.m_button) == widget;
    });
    const auto* container = static_cast<const WidgetContainer*>(widget);
    if (m_currentLayer.layer == container)
        m_currentLayer = TrackLayer(m_host);
    std::erase_if(m_layerStack, [container](const TrackedLayer& entry) { return entry.layer == container; });
    if (static_cast<const Widget*>(m_awaitedObject.widget) == widget)
        m_awaitedObject = {};
}

void Animator::StopSoundLoops()
{
    ScriptMenuHooks* owner = GetHostSuspendOwner();
    if (owner == nullptr)
        return;
    for (const auto& [id, count] : m_soundLoopCounts) {
        for (int i = 0; i < count; ++i)
            owner->StopLoopSound(id, 0.0f);
    }
    m_soundLoopCounts.clear();
}

// Attribute readers.

bool Animator::Has(std::wstring_view name) const
{
    const ScriptCommand* command = GetCurrentCommand();
    return command != nullptr && command->Has(name);
}

const std::wstring& Animator::Raw(std::wstring_view name) const
{
    static const std::wstring empty;
    const ScriptCommand* command = GetCurrentCommand();
    return command != nullptr ? command->Raw(name) : empty;
}

Value Animator::ReadValue(std::wstring_view name)
{
    return m_evaluator.Evaluate(Raw(name));
}

std::wstring Animator::ReadText(std::wstring_view name)
{
    if (!Has(name))
        return {};
    return ReadValue(name).ToString();
}

int Animator::ReadInt(std::wstring_view name, int whenAbsent)
{
    return Has(name) ? ReadValue(name).ToInt() : whenAbsent;
}

float Animator::ReadFloat(std::wstring_view name, float whenAbsent)
{
    return Has(name) ? ReadValue(name).ToFloat() : whenAbsent;
}

bool Animator::ReadBool(std::wstring_view name, bool whenAbsent)
{
    return Has(name) ? ReadValue(name).ToBool() : whenAbsent;
}

int Animator::ReadSound(std::wstring_view name)
{
    return GetSoundId(ReadText(name));
}

int Animator::ReadMusic(std::wstring_view name)
{
    return LookupMusicId(ReadText(name));
}

int Animator::ReadVoice(std::wstring_view name)
{
    return LookupVoiceId(ReadText(name));
}

int Animator::ReadAmbience(std::wstring_view name)
{
    return LookupAmbienceId(ReadText(name));
}

Image* Animator::ReadImage(std::wstring_view name)
{
    return GetImage(ReadText(name));
}

Font* Animator::ReadFont(std::wstring_view name)
{
    return GetFont(ReadText(name));
}

DynamicWidget* Animator::ReadObject(std::wstring_view name)
{
    std::wstring text = ReadText(name);
    return text.empty() ? nullptr : FindObject(text);
}

bool Animator::TestCondition(const std::wstring& text, bool whenEmpty)
{
    return m_evaluator.IsTrue(text, whenEmpty);
}

void Animator::ResumeIfLive()
{
    if (IsHostLive())
        RunScript(true);
}

void Animator::SetClickedVariable(bool clicked)
{
    if (Has(L"clicked"))
        SetVariable(Raw(L"clicked"), Value(clicked));
}
