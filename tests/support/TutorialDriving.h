#pragma once

#include "ui/Widget.h"

#include <functional>
#include <string>
#include <vector>

class AppHarness;
class PlayPuzzleMenu;
class TextboxPopup;
class TutorialGrid;

// The first widget of type T in the tree under parent, depth first.
template <typename T> T* FindChild(Widget* parent)
{
    for (Widget* child : parent->GetChildren()) {
        if (auto* found = dynamic_cast<T*>(child))
            return found;
        if (T* found = FindChild<T>(child))
            return found;
    }
    return nullptr;
}

// What the player met on the way through a primer lesson.
struct LessonPlay
{
    // The titles of the notices closed on the way, in order.
    std::vector<std::wstring> notices;
    // How many messages the lesson showed.
    int messages{0};
};

// Plays the primer lesson of the play screen as a player does, every click
// and drag a mouse record handed to the widget manager: notices are closed
// by their button, each message's OK is pressed once enabled, the requested
// lines are dragged (marks with the right button) and, once the lesson is
// over, the rest of the board is revealed a run of tiles at a time. Returns
// once the puzzle is no longer being played, or when the harness's deadline
// passes. onMessage is called once with each new message, before its OK is
// pressed.
LessonPlay PlayLessonToItsEnd(AppHarness& harness, PlayPuzzleMenu& play, TutorialGrid& grid,
                              const std::function<void(TextboxPopup&)>& onMessage = {});
