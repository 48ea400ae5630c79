#include "ui/ButtonListener.h"

void ButtonListener::ButtonPress(int id, int /*clicks*/)
{
    ButtonPress(id);
}

void ButtonListener::ButtonPress(int /*id*/) {}
void ButtonListener::ButtonDepress(int /*id*/) {}
void ButtonListener::ButtonDownTick(int /*id*/) {}
void ButtonListener::ButtonMouseEnter(int /*id*/) {}
void ButtonListener::ButtonMouseLeave(int /*id*/) {}
void ButtonListener::ButtonMouseMove(int /*id*/, int /*x*/, int /*y*/) {}
