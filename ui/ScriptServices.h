#pragma once

#include <string>

class Animator;
class MusicInterface;
class ScriptCommand;
class SoundManager;

// What scripts need from the application that runs them: its own script
// commands, and its sound channels. Scripts reach it through their widget's
// host (WidgetHost::GetScriptServices); this base is the set without an
// application: every service is absent and the commands that need it do
// nothing.
class ScriptServices
{
public:
    enum class MusicChannel
    {
        Music,
        Voice,
        Ambience
    };

    virtual ~ScriptServices() = default;

    // Asked for every command after the host's own hook: 0 not handled, 1
    // handled and the script waits, 2 handled and it goes on.
    virtual int HandleScriptCommand(const ScriptCommand& command, Animator& animator);
    // A second start of the id within minInterval ticks of the first is dropped.
    virtual void PlaySound(int id, int minInterval, double volume);
    virtual void PlayVoice(int id);
    virtual void PlayAmbience(int id);
    virtual void PauseMusic();
    virtual void ResumeMusic();
    virtual SoundManager* GetScriptSounds();
    virtual MusicInterface* GetScriptMusic(MusicChannel channel);
    // The name "[player]" stands for in shown texts.
    virtual std::wstring GetScriptPlayerName();
};
