#include "app/stationviews.h"

#include "app/largereadoutlink.h"
#include "app/qintarform.h"
#include "app/stationfeatures.h"
#include "app/stationlink.h"
#include "app/togglegroup.h"
#include "plots/viewengine.h"
#include "plots/viewwidget.h"
#include "register/pointregister.h"
#include "register/texttable.h"

#include <QAbstractButton>
#include <QLabel>

TStationViews::TStationViews(const TSources &sources, QWidget &window) : QObject(&window)
{
    m_actions = new TViewActions(sources.views, sources.engine, sources.pointRegister, window);
    std::array<QWidget *, 4> charts{};
    for (int chart = 1; chart <= 4; ++chart)
        charts[size_t(chart - 1)] = sources.engine.Chart(chart);
    m_actions->AddToViews(charts);
    const auto *distances = window.findChild<QWidget *>(QStringLiteral("gbInferredDistances"));
    const auto *angles = window.findChild<QWidget *>(QStringLiteral("gbinferredAngles"));
    const auto *deletePoint = window.findChild<QAbstractButton *>(QStringLiteral("sbDelete"));
    m_actions->SetTablesShown([=, &window] {
        return TViewActions::TTablesShown{distances && distances->isVisibleTo(&window),
                                          angles && angles->isVisibleTo(&window),
                                          deletePoint && deletePoint->isChecked()};
    });
    connect(&sources.operationGroup, &TToggleGroup::Clicked, m_actions, &TViewActions::ScheduleRefresh);

    TPointRegister &points = sources.pointRegister;
    std::array<QLabel *, 3> readouts{};
    const char *names[] = {"stReadX", "stReadY", "stReadZ"};
    for (size_t n = 0; n < readouts.size(); ++n)
        readouts[n] = window.findChild<QLabel *>(QLatin1String(names[n]));
    m_largeReadout = new TLargeReadoutLink(
        window, readouts, [&points] { return points.PointCount(); },
        TLargeReadoutLink::DefaultSettingsFile());
    m_largeReadout->OpenOn(m_actions->LargeReadout());
    if (auto *form = qobject_cast<TQintarForm *>(&window))
        connect(form, &TQintarForm::PositionShown, m_largeReadout, &TLargeReadoutLink::PositionShown);
    connect(&sources.link, &TStationLink::StatusShown, m_largeReadout, &TLargeReadoutLink::LinkStatusShown);
    // A load sets the point count after its rows: the number is read once the load is done.
    connect(&points.Data(), &QAbstractItemModel::dataChanged, m_largeReadout,
            &TLargeReadoutLink::PointsChanged, Qt::QueuedConnection);
    connect(&sources.features, &TStationFeatures::ProgressChanged, m_largeReadout,
            &TLargeReadoutLink::SetFeatureInProgress);
}
