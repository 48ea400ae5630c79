#include "puzzle/PlayGridOwner.h"

#include "ui/Widget.h"

void PlayGridOwner::AddTrackedWidget(Widget* widget)
{
    // Nobody to watch it: the piece is not shown.
    delete widget;
}
