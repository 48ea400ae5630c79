#pragma once

#include "ui/ScriptOutcome.h"

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

    // Asked for every command after the host's own hook: NotMine for a word
    // it does not know, Suspend when it handled the word and the script
    // waits, Next when it handled it and the script goes on.
    virtual ScriptOutcome HandleScriptCommand(const ScriptCommand& command, Animator& animator);
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
