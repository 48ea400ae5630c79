#include "ui/ClickListener.h"

void ClickListener::PreClick(int /*clicks*/) {}
void ClickListener::PostClick(int /*clicks*/) {}
