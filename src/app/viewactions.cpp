#include "app/viewactions.h"

#include "plots/plotviews.h"
#include "plots/viewengine.h"
#include "plots/viewseries.h"
#include "plots/viewwidget.h"
#include "register/pointregister.h"
#include "register/rowsegments.h"
#include "register/texttable.h"

#include <QAction>
#include <QWidget>

TViewActions::TViewActions(TPlotViews &views, TViewEngine &engine, TPointRegister &pointRegister,
                           QWidget &window)
    : QObject(&window), m_views(views), m_engine(engine), m_register(pointRegister),
      m_numbersOfMarks(pointRegister.Data())
{
    m_fit = MakeAction(tr("Fit"), "actFit", FitShortcut, false);
    m_fit->setToolTip(tr("Frame the recorded points in the view in front"));
    connect(m_fit, &QAction::triggered, this, [this] {
        if (!m_views.Fit(m_engine.FrontChart()) && m_statusReport)
            m_statusReport(tr("No points to frame in this view"));
    });
    m_home = MakeAction(tr("Home"), "actHome", HomeShortcut, false);
    m_home->setToolTip(tr("Back to -100 to 100 mm about the origin"));
    connect(m_home, &QAction::triggered, this, [this] { m_views.Home(m_engine.FrontChart()); });
    m_numbers = MakeAction(tr("Point numbers"), "actPointNumbers", NumbersShortcut, true);
    connect(m_numbers, &QAction::toggled, this, [this](bool shown) {
        if (shown)
            Refresh();
        m_engine.ShowPointLabels(shown);
    });
    m_showAll = MakeAction(tr("Show all"), "actShowAll", ShowAllShortcut, true);
    m_showAll->setToolTip(tr("Draw every distance and angle row"));
    connect(m_showAll, &QAction::toggled, this, [this] { Refresh(); });
    m_largeReadout = MakeAction(tr("Large readout"), "actLargeReadout", LargeReadoutShortcut, false);
    m_largeReadout->setShortcutContext(Qt::WindowShortcut);
    window.addAction(m_largeReadout);

    m_engine.SetPanHandler(
        [this](int chart, double horizontal, double vertical) { m_views.Pan(chart, horizontal, vertical); });
    m_engine.SetMarkTipSource([this](const QList<int> &indices) {
        if (m_numbersStale && m_numbers->isChecked())
            Refresh();
        else if (m_numbersStale)
            UpdateNumbers();
        return m_numbersOfMarks.ToolTip(indices);
    });
    for (TTextTable *table : {&m_register.Data(), &m_register.Distances(), &m_register.Angles()}) {
        connect(table, &QAbstractItemModel::dataChanged, this, &TViewActions::ScheduleRefresh);
        connect(table, &QAbstractItemModel::modelReset, this, &TViewActions::ScheduleRefresh);
        connect(table, &TTextTable::CurrentRowChanged, this, &TViewActions::ScheduleRefresh);
    }
    // The recorded series of the 3D view holds every plotted point (the four move together).
    connect(m_engine.Chart(4)->Series(TViewWidget::TRole::Points), &TViewSeries::Changed, this,
            &TViewActions::ScheduleRefresh);
}

QAction *TViewActions::MakeAction(const QString &text, const char *name, const QKeySequence &shortcut,
                                  bool checkable)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setCheckable(checkable);
    return action;
}

void TViewActions::AddToViews(const std::array<QWidget *, 4> &views)
{
    for (QWidget *view : views) {
        if (!view)
            continue;
        const QList<QAction *> existing = view->actions();
        QAction *before = existing.isEmpty() ? nullptr : existing.first();
        auto *separator = new QAction(view);
        separator->setSeparator(true);
        auto *second = new QAction(view);
        second->setSeparator(true);
        auto *last = new QAction(view);
        last->setSeparator(true);
        view->insertActions(before, {m_fit, m_home, separator, m_numbers, m_showAll, second, m_largeReadout});
        if (before)
            view->insertAction(before, last);
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
        if (view->focusPolicy() == Qt::NoFocus)
            view->setFocusPolicy(Qt::ClickFocus);
    }
}

void TViewActions::ScheduleRefresh()
{
    m_numbersStale = true;
    if (std::exchange(m_refreshPending, true))
        return;
    QMetaObject::invokeMethod(
        this, [this] { Refresh(); }, Qt::QueuedConnection);
}

void TViewActions::UpdateNumbers()
{
    m_numbersOfMarks.Update(m_views.RecordedPoints());
    m_numbersStale = false;
}

void TViewActions::Refresh()
{
    m_refreshPending = false;
    // Matching every mark costs a few milliseconds with a full table: done only while the numbers are
    // shown, else at the next tooltip.
    if (m_numbers->isChecked()) {
        UpdateNumbers();
        m_engine.SetPointLabels(m_numbersOfMarks.Labels());
    }
    const TTablesShown shown = m_tablesShown ? m_tablesShown() : TTablesShown{};
    TRowSegments::TChoice choice;
    choice.showAll = m_showAll->isChecked();
    if (!shown.deletePoint) {
        choice.distanceRow = shown.distances ? m_register.Distances().Row() : 0;
        choice.angleRow = shown.angles ? m_register.Angles().Row() : 0;
    }
    const auto drawn =
        TRowSegments::Compute(m_register.Data(), m_register.Distances(), m_register.Angles(), choice);
    m_views.ShowRowSegments(drawn.thin, drawn.highlighted);
}
