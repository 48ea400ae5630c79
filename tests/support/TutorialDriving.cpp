#include "support/TutorialDriving.h"

#include "app/NoticeMenu.h"
#include "app/TextboxPopup.h"
#include "puzzle/PlayPuzzleMenu.h"
#include "puzzle/PlayTileGrid.h"
#include "puzzle/TutorialGrid.h"
#include "support/AppHarness.h"
#include "support/BoardDriving.h"
#include "ui/ButtonWidget.h"

#include <tuple>

namespace {

using Action = TutorialGrid::Action;

class LessonPlayer
{
public:
    LessonPlayer(AppHarness& harness, TutorialGrid& grid, const std::function<void(TextboxPopup&)>& onMessage)
        : m_harness(harness), m_grid(grid), m_onMessage(onMessage)
    {
    }

    // One step of the player: close a notice, press an enabled OK, drag the
    // next requested line, or, once the lesson is over, reveal the next run
    // of tiles. False when there was nothing to do.
    bool PlayOneStep()
    {
        if (auto* notice = m_harness.FindMenu<NoticeMenu>()) {
            const Value* title = notice->FindVariable(L"title");
            m_play.notices.push_back(title != nullptr ? title->ToString() : std::wstring());
            ButtonWidget* button = FindChild<ButtonWidget>(notice);
            if (button == nullptr)
                return false;
            // A notice still coming in lets the click pass by.
            m_harness.ClickWhenReachable(button);
            // Gone, or followed by the next notice.
            m_harness.RunUntil([this, notice] { return m_harness.FindMenu<NoticeMenu>() != notice; });
            return true;
        }
        if (TextboxPopup* popup = m_grid.GetPopup()) {
            if (popup->GetId() != m_lastPopupId) {
                m_lastPopupId = popup->GetId();
                ++m_play.messages;
                if (m_onMessage)
                    m_onMessage(*popup);
            }
            ButtonWidget* ok = popup->GetOkButton();
            if (ok != nullptr && !ok->IsDisabled()) {
                m_harness.ClickCentre(ok);
                m_harness.RunTicks(2);
                return true;
            }
        }
        const int n = m_grid.GridSize();
        if (m_grid.GetRequestsLeft() > 0) {
            for (int row = 0; row < n; ++row) {
                for (int column = 0; column < n; ++column) {
                    const Action action = m_grid.RequestedAction(column, row);
                    if (action != Action::None) {
                        DragRequestedLine({column, row}, action);
                        return true;
                    }
                }
            }
        }
        if (!m_grid.IsFreePlay())
            return false;
        // One run of tiles per step.
        const std::vector<std::vector<int>>& cells = m_grid.GetCells();
        for (int row = 0; row < n; ++row) {
            for (int column = 0; column < n; ++column) {
                if (cells[column][row] == 0 || m_grid.GetRules().IsDecided({column, row}))
                    continue;
                int end = column;
                while (end + 1 < n && cells[end + 1][row] != 0)
                    ++end;
                DragCells(m_harness, m_grid, {column, row}, {end, row}, false);
                return true;
            }
        }
        return false;
    }

    LessonPlay Result() const { return m_play; }

private:
    // The longest line through the cell, along its row or its column, over
    // cells asked for with the same action or already decided.
    void DragRequestedLine(GridCell cell, Action action)
    {
        const int n = m_grid.GridSize();
        auto takes = [&](GridCell at) {
            return m_grid.RequestedAction(at.column, at.row) == action || m_grid.GetRules().IsDecided(at);
        };
        auto run = [&](GridCell step) {
            GridCell first = cell;
            while (first.column - step.column >= 0 && first.row - step.row >= 0 &&
                   takes({first.column - step.column, first.row - step.row}))
                first = {first.column - step.column, first.row - step.row};
            GridCell last = cell;
            while (last.column + step.column < n && last.row + step.row < n &&
                   takes({last.column + step.column, last.row + step.row}))
                last = {last.column + step.column, last.row + step.row};
            int asked = 0;
            for (GridCell at = first;; at = {at.column + step.column, at.row + step.row}) {
                asked += m_grid.RequestedAction(at.column, at.row) == action ? 1 : 0;
                if (at == last)
                    break;
            }
            return std::tuple{first, last, asked};
        };
        const auto [rowFirst, rowLast, rowAsked] = run({1, 0});
        const auto [columnFirst, columnLast, columnAsked] = run({0, 1});
        if (rowAsked >= columnAsked)
            DragCells(m_harness, m_grid, rowFirst, rowLast, action == Action::Mark);
        else
            DragCells(m_harness, m_grid, columnFirst, columnLast, action == Action::Mark);
    }

    AppHarness& m_harness;
    TutorialGrid& m_grid;
    const std::function<void(TextboxPopup&)>& m_onMessage;
    LessonPlay m_play;
    int m_lastPopupId{-1};
};

} // namespace

LessonPlay PlayLessonToItsEnd(AppHarness& harness, PlayPuzzleMenu& play, TutorialGrid& grid,
                              const std::function<void(TextboxPopup&)>& onMessage)
{
    LessonPlayer player(harness, grid, onMessage);
    // A step where there is one; otherwise the ticks go on until the lesson
    // asks for something again (a message's OK enables itself, a line is
    // asked for) or the puzzle is over.
    harness.RunUntil([&] {
        if (play.GetState() != PlayPuzzleMenu::State::Playing)
            return true;
        player.PlayOneStep();
        return play.GetState() != PlayPuzzleMenu::State::Playing;
    });
    return player.Result();
}
