#include "ui/ScriptControlCommands.h"

#include "ui/Animator.h"

void ScriptControlCommands::AddButton() {}

void ScriptControlCommands::Overlay(const ScriptCommand& /*command*/) {}

void ScriptControlCommands::ConfigureButton(ButtonWidget& /*button*/) {}
