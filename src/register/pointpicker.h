#pragma once

#include "register/derivations.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class TOperatorDialogs;
class TPickPlots;
class TPointRegister;
class TTextTable;

// The Operation toggles as the window shows them; at most one is down.
struct TOperationState
{
    bool distance = false;
    bool angle = false;
    bool deletePoint = false;
};

// Picking recorded points in the four views and deleting table rows.
//
// A click on a recorded point's mark finds its row in the point table by comparing coordinate texts
// (nothing else links a plotted point to its row), selects and scrolls to it, and in Distance or Angle
// mode hands it to the derivations and draws it in the view's line series. In Delete Point mode,
// selecting a row of any table, by a pick or in the table, asks whether to delete it.
//
// The picker listens to the row-selection events of the three tables itself; the window forwards only
// the point clicks of Series1 to Series4 to Pick.
class TPointPicker
{
public:
    using TStateSource = std::function<TOperationState()>;
    using TGoToSink = std::function<void(const QString &x, const QString &y, const QString &z)>;

    TPointPicker(TPointRegister &pointRegister, TDerivations &derivations, TPickPlots &plots,
                 TOperatorDialogs &dialogs);
    TPointPicker(const TPointPicker &) = delete;
    TPointPicker &operator=(const TPointPicker &) = delete;

    // Read at every pick and selection; all toggles count as up until one is given.
    void SetOperationState(TStateSource state) { m_state = std::move(state); }
    // Lets the window repaint before the pick's sound holds the thread.
    void SetProcessEvents(std::function<void()> processEvents) { m_processEvents = std::move(processEvents); }
    // Receives the go-to target texts of an X-Y pick (stGoToX, stGoToY, stGoToZ).
    void SetGoToTargets(TGoToSink goTo) { m_goTo = std::move(goTo); }
    // Receives where a distance or angle pick stands ("Angle: pick the vertex") and what a finished
    // one added, for the window's status line.
    void SetProgressReport(std::function<void(const QString &text)> report)
    {
        m_progress = std::move(report);
    }
    // What the operator picks first when the Operation toggles stand as given; empty when neither
    // Distance nor Angle is down.
    static QString StartText(const TOperationState &state);

    // A click on point index of Series1 (X-Y), Series2 (X-Z), Series3 (Y-Z) or Series4 (3D).
    void Pick(int series, int index);

    // Row-selection events of sgData, sgDistance and sgAngles: in Delete Point mode they ask whether
    // to delete the row about to be selected.
    void sgDataSelectCell(int row);
    void sgDistanceSelectCell(int row);
    void sgAnglesSelectCell(int row);
    // Asks prefix + the row's cells each followed by ", " + " ?" and deletes the row on Yes, moving the
    // rows below up. Nothing is asked unless Delete Point is down, nor for the header row. True when
    // the row was deleted.
    bool ConfirmDeleteRow(const QString &prefix, TTextTable &table, int row);

private:
    TOperationState State() const;
    // Runs the distance or angle step on the picked row and draws the point in the view's line series
    // by stage. Returns the message for the operator when the step appended nothing (a full table, a
    // text that is not a number); the point is then not drawn.
    std::optional<QString> Derive(int chart, int row, TPoint3 point, bool distance);
    // Where the pick on row left the distance or angle: the next point to pick, or the row added.
    QString ProgressText(TPickOutcome outcome, int row, bool distance) const;
    void Warn(const QString &message);

    TPointRegister &m_register;
    TDerivations &m_derivations;
    TPickPlots &m_plots;
    TOperatorDialogs &m_dialogs;
    TStateSource m_state;
    std::function<void()> m_processEvents;
    TGoToSink m_goTo;
    std::function<void(const QString &text)> m_progress;
    // Owns the connections to the tables, so they end with the picker.
    QObject m_context;
};
