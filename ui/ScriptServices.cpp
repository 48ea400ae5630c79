#include "ui/ScriptServices.h"

ScriptOutcome ScriptServices::HandleScriptCommand(const ScriptCommand&, Animator&)
{
    return ScriptOutcome::NotMine;
}

void ScriptServices::PlaySound(int, int, double) {}
void ScriptServices::PlayVoice(int) {}
void ScriptServices::PlayAmbience(int) {}
void ScriptServices::PauseMusic() {}
void ScriptServices::ResumeMusic() {}

SoundManager* ScriptServices::GetScriptSounds()
{
    return nullptr;
}

MusicInterface* ScriptServices::GetScriptMusic(MusicChannel)
{
    return nullptr;
}

std::wstring ScriptServices::GetScriptPlayerName()
{
    return {};
}
