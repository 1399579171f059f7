#include "app/stationmeasuring.h"

#include "app/exportactions.h"
#include "app/featuresform.h"
#include "app/stationalignment.h"
#include "app/stationfeatures.h"
#include "app/stationfiles.h"
#include "app/stationprobe.h"
#include "app/stationquality.h"
#include "journal/journal.h"
#include "plots/plotviews.h"
#include "register/featureregister.h"
#include "register/pointregister.h"

#include <QTableView>
#include <QWidget>

TStationMeasuring::TStationMeasuring(const TWindowParts &parts, QWidget &window)
    : QObject(&window), m_register(parts.features)
{
    m_features = new TStationFeatures(parts.features, parts.points, parts.dialogs, window);
    m_features->SetViews(&parts.views);
    m_features->SetStatusReport(parts.statusReport);
    parts.exports.AddToFeatures(m_features->Form()->sgFeatures);

    m_probe = new TStationProbe(
        m_features->Measurement(), parts.features, parts.points, *m_features->Form(), parts.dialogs,
        parts.settings, [this] { return m_features->SelectedRows(); }, this);
    m_probe->SetStatusReport(parts.statusReport);

    m_quality = new TStationQuality(parts.features, parts.points, *m_features, parts.dialogs, window);
    m_quality->SetProject(parts.projectName, parts.dataDirectory);
    m_quality->SetStatusReport(parts.statusReport);
    TExportActions &exports = parts.exports;
    m_quality->SetReportAction([&exports] { exports.Report(); });
    exports.SetReportFiller([this](TReportContent &content) { m_quality->FillReport(content); });

    TStationFiles &files = parts.files;
    files.SetApproaches(&m_probe->Approaches());
    files.SetAlignments(&parts.features.Alignments().Table());
    files.SetFeatures(&parts.features.Table(), [this] {
        m_register.TakeNamesFromTable();
        m_features->FeaturesReplaced();
    });
    files.SetInspection(&m_quality->Tables(), [this] { m_quality->Reload(); });
    TPointRegister &points = parts.points;
    TPlotViews &views = parts.views;
    m_quality->SetWindowHooks({[&files] { return files.MayDiscardWork(); },
                               [this, &points, &views] {
                                   views.ClearAllSeries();
                                   points.ClearAll();
                                   m_probe->PointsReplaced();
                               }});
}

QList<TTextTable *> TStationMeasuring::WorkTables() const
{
    return {&m_register.Table(), &m_register.Alignments().Table(), &m_quality->Characteristics().Table()};
}

void TStationMeasuring::Journal(TJournal &journal)
{
    journal.AddTable(QStringLiteral("features"), m_register.Table());
    journal.AddTable(QStringLiteral("alignments"), m_register.Alignments().Table());
    journal.AddTable(QStringLiteral("approaches"), m_probe->Approaches());
    journal.AddTable(QStringLiteral("characteristics"), m_quality->Characteristics().Table());
}

void TStationMeasuring::PositionShown(TPoint3 position)
{
    m_probe->PositionShown(position);
    m_features->Alignment().PositionShown(position);
}

void TStationMeasuring::PointRecorded(int number)
{
    m_probe->PointRecorded(number);
    m_features->PointRecorded(number);
    m_quality->PointRecorded(number);
}

void TStationMeasuring::Cleared()
{
    m_probe->PointsReplaced();
    m_features->FeaturesReplaced();
    m_quality->Clear();
}

void TStationMeasuring::Restored()
{
    m_register.TakeNamesFromTable();
    m_features->FeaturesReplaced();
    m_quality->Evaluate();
}
