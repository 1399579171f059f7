#pragma once

#include "register/plottedpointnumbers.h"

#include <QKeySequence>
#include <QObject>
#include <array>
#include <functional>

class QAction;
class QWidget;
class TPlotViews;
class TPointRegister;
class TViewEngine;

// The window's actions on its views, listed first in each view's context menu: "Fit" (F) frames the
// points in the view in front, "Home" (Home) restores its designed ranges, "Point numbers" (N) writes
// each mark's number beside it, "Show all" (A) draws every distance and angle row thinly, and "Large
// readout" (Ctrl+L, anywhere in the window) opens the readout for the machine. The letters work while
// a view has the focus (a click gives it). The selected row of the distances or angles table shown
// (outside Delete Point mode) is drawn strongly. What the views draw of the tables is brought up to
// date once the event loop is free again, so a load of 999 rows redraws once.
class TViewActions : public QObject
{
    Q_OBJECT

public:
    static inline const QKeySequence FitShortcut = QKeySequence(Qt::Key_F);
    static inline const QKeySequence HomeShortcut = QKeySequence(Qt::Key_Home);
    static inline const QKeySequence NumbersShortcut = QKeySequence(Qt::Key_N);
    static inline const QKeySequence ShowAllShortcut = QKeySequence(Qt::Key_A);
    static inline const QKeySequence LargeReadoutShortcut = QKeySequence(Qt::CTRL | Qt::Key_L);

    // Which table of distances or angles the window shows, and whether Delete Point is down.
    struct TTablesShown
    {
        bool distances = false;
        bool angles = false;
        bool deletePoint = false;
    };

    // The actions are children of this object, itself a child of window; Large readout is also an
    // action of the window, so that its shortcut works anywhere in it.
    TViewActions(TPlotViews &views, TViewEngine &engine, TPointRegister &pointRegister, QWidget &window);

    void SetTablesShown(std::function<TTablesShown()> shown) { m_tablesShown = std::move(shown); }
    // Where "nothing to frame" is told.
    void SetStatusReport(std::function<void(const QString &)> report) { m_statusReport = std::move(report); }
    // Puts the actions at the top of each view's context menu.
    void AddToViews(const std::array<QWidget *, 4> &views);

    QAction *Fit() const { return m_fit; }
    QAction *Home() const { return m_home; }
    QAction *PointNumbers() const { return m_numbers; }
    QAction *ShowAll() const { return m_showAll; }
    QAction *LargeReadout() const { return m_largeReadout; }

    // The tables, the plotted points or the Operation toggles changed: the drawing follows.
    void ScheduleRefresh();
    // Brings the numbers and the drawn rows up to date now.
    void Refresh();

private:
    void UpdateNumbers();
    QAction *MakeAction(const QString &text, const char *name, const QKeySequence &shortcut, bool checkable);

    TPlotViews &m_views;
    TViewEngine &m_engine;
    TPointRegister &m_register;
    TPlottedPointNumbers m_numbersOfMarks;
    std::function<TTablesShown()> m_tablesShown;
    std::function<void(const QString &)> m_statusReport;
    QAction *m_fit = nullptr;
    QAction *m_home = nullptr;
    QAction *m_numbers = nullptr;
    QAction *m_showAll = nullptr;
    QAction *m_largeReadout = nullptr;
    bool m_refreshPending = false;
    // The numbers are matched only while they are shown or a tooltip asks.
    bool m_numbersStale = true;
};
