#pragma once

class Animator;
class ButtonWidget;
class ScriptCommand;

// The script commands that make controls: "add-button" with its actions and
// the button attributes shared with "config-button", and "overlay".
class ScriptControlCommands
{
public:
    explicit ScriptControlCommands(Animator& animator) : m_animator(animator) {}

    void AddButton();
    void Overlay(const ScriptCommand& command);
    // Each button attribute present replaces its field.
    void ConfigureButton(ButtonWidget& button);

private:
    Animator& m_animator;
};
