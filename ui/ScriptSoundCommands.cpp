// The sound family: the sound, voice, ambience and music words, and the
// waits for sounds.
#include "audio/MusicInterface.h"
#include "audio/SoundManager.h"
#include "resources/Assets.h"
#include "ui/Animator.h"
#include "ui/ScriptMenuHooks.h"
#include "ui/ScriptServices.h"
#include "ui/ScriptWordTable.h"

namespace {
constexpr double kDefaultFade = 0.004;
constexpr int kDefaultFallback = 500;

using Channel = ScriptServices::MusicChannel;

// What the script's application offers for sounds and songs.
ScriptServices& Services(const Animator& script)
{
    return script.GetServices();
}

MusicInterface* Player(const Animator& script, Channel channel)
{
    return Services(script).GetScriptMusic(channel);
}

// A fade of 0 or less switches at once.
double ReadFade(Animator& script)
{
    double fade = script.ReadFloat(L"fade", static_cast<float>(kDefaultFade));
    return fade <= 0.0 ? 1.0 : fade;
}

// The id of the song the attribute names on that channel's table.
int ReadSong(Animator& script, Channel channel, std::wstring_view name)
{
    switch (channel) {
    case Channel::Voice:
        return script.ReadVoice(name);
    case Channel::Ambience:
        return script.ReadAmbience(name);
    case Channel::Music:
        break;
    }
    return script.ReadMusic(name);
}
} // namespace

// The sound family's handlers; the sound waits and loop counts are the
// interpreter's own state.
struct ScriptSoundWords
{
    using Outcome = ScriptOutcome;
    using Wait = Animator::Wait;

    static Outcome PlaySound(Animator& script, const ScriptCommand&)
    {
        Services(script).PlaySound(script.ReadSound(L"name"), script.ReadInt(L"delay", 0),
                             script.ReadFloat(L"volume", 1.0f));
        return Outcome::Next;
    }
    static Outcome StopSound(Animator& script, const ScriptCommand&)
    {
        if (SoundManager* sounds = Services(script).GetScriptSounds())
            sounds->StopSound(script.ReadSound(L"name"));
        return Outcome::Next;
    }
    static Outcome StopSounds(Animator& script, const ScriptCommand&)
    {
        if (SoundManager* sounds = Services(script).GetScriptSounds())
            sounds->StopAllSounds();
        return Outcome::Next;
    }
    static Outcome PlayVoice(Animator& script, const ScriptCommand&)
    {
        Services(script).PlayVoice(script.ReadVoice(L"name"));
        return Outcome::Next;
    }
    static Outcome PlayAmbience(Animator& script, const ScriptCommand&)
    {
        Services(script).PlayAmbience(script.ReadAmbience(L"name"));
        return Outcome::Next;
    }
    // "stop-voice" and "stop-ambience": the song "name" names on that channel.
    template <Channel channel> static Outcome StopSong(Animator& script, const ScriptCommand&)
    {
        if (MusicInterface* player = Player(script, channel))
            player->StopMusic(ReadSong(script, channel, L"name"));
        return Outcome::Next;
    }
    // "stop-voices" and "stop-all-ambience".
    template <Channel channel> static Outcome StopSongs(Animator& script, const ScriptCommand&)
    {
        if (MusicInterface* player = Player(script, channel))
            player->StopAllMusic();
        return Outcome::Next;
    }
    static Outcome PlayMusic(Animator& script, const ScriptCommand&)
    {
        MusicInterface* music = Player(script, Channel::Music);
        if (music == nullptr)
            return Outcome::Next;
        if (script.ReadBool(L"sole", true))
            music->FadeOutAllMusic(true, kDefaultFade);
        const double fade = ReadFade(script);
        const int id = script.ReadMusic(L"name");
        const bool loop = script.ReadBool(L"loop", true);
        // A song that already plays keeps its place.
        music->FadeInMusic(id, music->IsPlaying(id) ? -1 : 0, fade, !loop);
        return Outcome::Next;
    }
    static Outcome StopMusic(Animator& script, const ScriptCommand&)
    {
        MusicInterface* music = Player(script, Channel::Music);
        if (music == nullptr)
            return Outcome::Next;
        const double fade = ReadFade(script);
        if (script.Has(L"name"))
            music->FadeOutMusic(script.ReadMusic(L"name"), true, fade);
        else
            music->FadeOutAllMusic(true, fade);
        return Outcome::Next;
    }
    // "pause-music" and "resume-music": every song of the music player.
    template <void (ScriptServices::*change)()> static Outcome ChangeMusic(Animator& script, const ScriptCommand&)
    {
        (Services(script).*change)();
        return Outcome::Next;
    }
    // "start-soundloop" and "stop-soundloop" on the menu that owns the host,
    // counted so that the loops stop when the host leaves.
    template <bool start> static Outcome ChangeSoundLoop(Animator& script, const ScriptCommand&)
    {
        ScriptMenuHooks* owner = script.GetHostSuspendOwner();
        if (owner == nullptr)
            return Outcome::Next;
        const int id = GetSoundId(script.ReadText(L"name"));
        const float fade = script.ReadFloat(L"fade");
        if constexpr (start) {
            owner->StartLoopSound(id, fade);
            ++script.m_soundLoopCounts[id];
        } else {
            owner->StopLoopSound(id, fade);
            if (--script.m_soundLoopCounts[id] <= 0)
                script.m_soundLoopCounts.erase(id);
        }
        return Outcome::Next;
    }

    // "wait-for" without an object: the sound, voice or song it names.
    static Outcome WaitForSound(Animator& script, const ScriptCommand& command)
    {
        if (command.Has(L"sound"))
            return StartSoundWait(script, Wait::Sound, script.ReadSound(L"sound"));
        if (command.Has(L"voice"))
            return StartSoundWait(script, Wait::Voice, script.ReadVoice(L"voice"));
        if (command.Has(L"music"))
            return StartSoundWait(script, Wait::Music, script.ReadMusic(L"music"));
        return Outcome::Next;
    }
    static Outcome StartSoundWait(Animator& script, Wait wait, int id)
    {
        script.m_awaitedSoundId = id;
        const bool click = script.ReadBool(L"click");
        if (id >= 0) {
            if (click)
                script.SetClickListening(true);
            script.m_wait = wait;
            return Outcome::Suspend;
        }
        // The sound is missing: wait as long as it might have played.
        script.m_timer = static_cast<float>(script.ReadInt(L"fallback", kDefaultFallback));
        if (script.m_timer <= 0.0f)
            return Outcome::Next;
        if (click) {
            script.SetClickListening(true);
            script.m_wait = Wait::Click;
        } else {
            script.m_wait = Wait::Timer;
        }
        return Outcome::Suspend;
    }
};

namespace {

using Sound = ScriptSoundWords;

constexpr ScriptWordRow kSoundWords[] = {
    {L"sound", ScriptWord::Sound, ScriptReach::Free, Sound::PlaySound},
    {L"stop-sound", ScriptWord::StopSound, ScriptReach::Free, Sound::StopSound},
    {L"stop-sounds", ScriptWord::StopSounds, ScriptReach::Free, Sound::StopSounds},
    {L"wait-for", ScriptWord::WaitFor, ScriptReach::Free, Sound::WaitForSound},
    {L"ambience", ScriptWord::Ambience, ScriptReach::Free, Sound::PlayAmbience},
    {L"stop-ambience", ScriptWord::StopAmbience, ScriptReach::Free, Sound::StopSong<Channel::Ambience>},
    {L"stop-all-ambience", ScriptWord::StopAllAmbience, ScriptReach::Free,
     Sound::StopSongs<Channel::Ambience>},
    {L"voice", ScriptWord::Voice, ScriptReach::Free, Sound::PlayVoice},
    {L"stop-voice", ScriptWord::StopVoice, ScriptReach::Free, Sound::StopSong<Channel::Voice>},
    {L"stop-voices", ScriptWord::StopVoices, ScriptReach::Free, Sound::StopSongs<Channel::Voice>},
    {L"play-music", ScriptWord::PlayMusic, ScriptReach::Free, Sound::PlayMusic},
    {L"stop-music", ScriptWord::StopMusic, ScriptReach::Free, Sound::StopMusic},
    {L"pause-music", ScriptWord::PauseMusic, ScriptReach::Free,
     Sound::ChangeMusic<&ScriptServices::PauseMusic>},
    {L"resume-music", ScriptWord::ResumeMusic, ScriptReach::Free,
     Sound::ChangeMusic<&ScriptServices::ResumeMusic>},
    {L"start-soundloop", ScriptWord::StartSoundloop, ScriptReach::Free, Sound::ChangeSoundLoop<true>},
    {L"stop-soundloop", ScriptWord::StopSoundloop, ScriptReach::Free, Sound::ChangeSoundLoop<false>},
};
static_assert(AllRowsFit(kSoundWords));

} // namespace

std::span<const ScriptWordRow> SoundWords()
{
    return kSoundWords;
}

bool Animator::SoundStillPlays()
{
    if (m_wait == Wait::Sound) {
        SoundManager* sounds = Services(*this).GetScriptSounds();
        return sounds != nullptr && sounds->FindPlayingInstance(m_awaitedSoundId) != nullptr;
    }
    MusicInterface* channel = Player(*this, m_wait == Wait::Voice ? Channel::Voice : Channel::Music);
    return channel != nullptr && channel->IsPlaying(m_awaitedSoundId);
}
