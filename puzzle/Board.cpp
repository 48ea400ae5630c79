#include "puzzle/Board.h"

#include "base/Color.h"
#include "base/Common.h"
#include "base/LogWriter.h"
#include "graphics/FontTable.h"
#include "graphics/Graphics.h"
#include "puzzle/BasicPlayerState.h"
#include "resources/Localization.h"
#include "ui/WidgetHost.h"

#include <climits>

namespace {

constexpr int kCentisecondsPerMinute = 6000;
constexpr int kMinutesPerHour = 60;
constexpr Color kPausedShade{0, 0, 0, 128};

} // namespace

Board::Board(WidgetHost& host)
{
    SetHost(&host);
    Resize(0, 0, host.GetWidth(), host.GetHeight());
}

void Board::Launch()
{
    ShowMainMenu();
}

BasicPlayerState* Board::GetPlayerState()
{
    return nullptr;
}

void Board::SetPaused(bool paused)
{
    m_paused = paused;
    const int priority = paused ? INT_MAX : 0;
    SetPriority(priority);
    SetOverlayLevel(priority);
    if (WidgetContainer* parent = GetParent())
        parent->SortWidgets();
    MarkDirty();
}

void Board::Update()
{
    CountPlayTime(1);
}

void Board::TicksPassedIdle(long long ticks)
{
    if (ticks > 0 && !IsUpdateSuspended())
        CountPlayTime(ticks);
}

void Board::CountPlayTime(long long ticks)
{
    BasicPlayerState* record = GetPlayerState();
    if (record == nullptr)
        return;
    long long centiseconds = record->centiseconds + ticks;
    long long minutes = record->minutes + centiseconds / kCentisecondsPerMinute;
    record->centiseconds = static_cast<int>(centiseconds % kCentisecondsPerMinute);
    record->minutes = static_cast<int>(minutes % kMinutesPerHour);
    record->hours += static_cast<int>(minutes / kMinutesPerHour);
}

void Board::Draw(Graphics* g)
{
    if (!m_paused)
        return;
    g->SetColor(kPausedShade);
    g->FillRect(0, 0, GetWidth(), GetHeight());
    g->SetFont(GetFont(L"large"));
    g->SetColor(OpaqueWhite);
    g->WriteString(Localize(L"paused"), GetWidth() / 2, GetHeight() / 2, 0, 0);
}

void Board::AddedToManager(WidgetManager* manager)
{
    Widget::AddedToManager(manager);
    Launch();
}

void Board::RemovedFromManager(WidgetManager* manager)
{
    if (BasicPlayerState* record = GetPlayerState())
        LogWriter::WriteLine(StrFormat("Total play time: %d:%02d:%02d", record->hours, record->minutes,
                                       record->centiseconds / 100));
    Widget::RemovedFromManager(manager);
}
