// The sound, voice, ambience and music commands, and the waits for sounds.
#include "audio/MusicInterface.h"
#include "audio/SoundManager.h"
#include "resources/Assets.h"
#include "ui/Animator.h"
#include "ui/ScriptMenuHooks.h"
#include "ui/ScriptServices.h"

namespace {
constexpr double kDefaultFade = 0.004;
constexpr int kDefaultFallback = 500;

} // namespace

Animator::Outcome Animator::RunSoundCommand(const ScriptCommand& command)
{
    using Music = ScriptServices::MusicChannel;
    ScriptServices& services = GetServices();
    SoundManager* sounds = services.GetScriptSounds();
    switch (command.m_word) {
    case ScriptWord::Sound:
        services.PlaySound(ReadSound(L"name"), ReadInt(L"delay", 0), ReadFloat(L"volume", 1.0f));
        break;
    case ScriptWord::StopSound:
        if (sounds != nullptr)
            sounds->StopSound(ReadSound(L"name"));
        break;
    case ScriptWord::StopSounds:
        if (sounds != nullptr)
            sounds->StopAllSounds();
        break;
    case ScriptWord::WaitFor:
        if (command.Has(L"sound"))
            return StartSoundWait(Wait::Sound, ReadSound(L"sound"));
        if (command.Has(L"voice"))
            return StartSoundWait(Wait::Voice, ReadVoice(L"voice"));
        if (command.Has(L"music"))
            return StartSoundWait(Wait::Music, ReadMusic(L"music"));
        break;
    case ScriptWord::Ambience:
        services.PlayAmbience(ReadAmbience(L"name"));
        break;
    case ScriptWord::StopAmbience:
        if (MusicInterface* ambience = GetServices().GetScriptMusic(Music::Ambience))
            ambience->StopMusic(ReadAmbience(L"name"));
        break;
    case ScriptWord::StopAllAmbience:
        if (MusicInterface* ambience = GetServices().GetScriptMusic(Music::Ambience))
            ambience->StopAllMusic();
        break;
    case ScriptWord::Voice:
        services.PlayVoice(ReadVoice(L"name"));
        break;
    case ScriptWord::StopVoice:
        if (MusicInterface* voices = GetServices().GetScriptMusic(Music::Voice))
            voices->StopMusic(ReadVoice(L"name"));
        break;
    case ScriptWord::StopVoices:
        if (MusicInterface* voices = GetServices().GetScriptMusic(Music::Voice))
            voices->StopAllMusic();
        break;
    case ScriptWord::PlayMusic:
        PlayMusic();
        break;
    case ScriptWord::StopMusic:
        StopMusic();
        break;
    case ScriptWord::PauseMusic:
        services.PauseMusic();
        break;
    case ScriptWord::ResumeMusic:
        services.ResumeMusic();
        break;
    case ScriptWord::StartSoundloop:
        ChangeSoundLoop(true);
        break;
    case ScriptWord::StopSoundloop:
        ChangeSoundLoop(false);
        break;
    default:
        return Outcome::NotMine;
    }
    return Outcome::Next;
}

Animator::Outcome Animator::StartSoundWait(Wait wait, int id)
{
    m_awaitedSoundId = id;
    const bool click = ReadBool(L"click");
    if (id >= 0) {
        if (click)
            SetClickListening(true);
        m_wait = wait;
        return Outcome::Suspend;
    }
    // The sound is missing: wait as long as it might have played.
    m_timer = static_cast<float>(ReadInt(L"fallback", kDefaultFallback));
    if (m_timer <= 0.0f)
        return Outcome::Next;
    if (click) {
        SetClickListening(true);
        m_wait = Wait::Click;
    } else {
        m_wait = Wait::Timer;
    }
    return Outcome::Suspend;
}

bool Animator::SoundStillPlays()
{
    using Music = ScriptServices::MusicChannel;
    if (m_wait == Wait::Sound) {
        SoundManager* sounds = GetServices().GetScriptSounds();
        return sounds != nullptr && sounds->FindPlayingInstance(m_awaitedSoundId) != nullptr;
    }
    MusicInterface* channel =
        GetServices().GetScriptMusic(m_wait == Wait::Voice ? Music::Voice : Music::Music);
    return channel != nullptr && channel->IsPlaying(m_awaitedSoundId);
}

void Animator::PlayMusic()
{
    MusicInterface* music = GetServices().GetScriptMusic(ScriptServices::MusicChannel::Music);
    if (music == nullptr)
        return;
    if (ReadBool(L"sole", true))
        music->FadeOutAllMusic(true, kDefaultFade);
    double fade = ReadFloat(L"fade", static_cast<float>(kDefaultFade));
    if (fade <= 0.0)
        fade = 1.0;
    const int id = ReadMusic(L"name");
    const bool loop = ReadBool(L"loop", true);
    // A song that already plays keeps its place.
    music->FadeInMusic(id, music->IsPlaying(id) ? -1 : 0, fade, !loop);
}

void Animator::StopMusic()
{
    MusicInterface* music = GetServices().GetScriptMusic(ScriptServices::MusicChannel::Music);
    if (music == nullptr)
        return;
    double fade = ReadFloat(L"fade", static_cast<float>(kDefaultFade));
    if (fade <= 0.0)
        fade = 1.0;
    if (Has(L"name"))
        music->FadeOutMusic(ReadMusic(L"name"), true, fade);
    else
        music->FadeOutAllMusic(true, fade);
}

void Animator::ChangeSoundLoop(bool start)
{
    ScriptMenuHooks* owner = GetHostSuspendOwner();
    if (owner == nullptr)
        return;
    const int id = GetSoundId(ReadText(L"name"));
    const float fade = ReadFloat(L"fade");
    if (start) {
        owner->StartLoopSound(id, fade);
        ++m_soundLoopCounts[id];
        return;
    }
    owner->StopLoopSound(id, fade);
    if (--m_soundLoopCounts[id] <= 0)
        m_soundLoopCounts.erase(id);
}
