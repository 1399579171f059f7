#include "app/exportactions.h"

#include "app/projectname.h"
#include "common/operatordialogs.h"
#include "files/csvexport.h"
#include "files/dxfexport.h"
#include "files/measurementreport.h"
#include "plots/viewwidget.h"
#include "register/featureregister.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

namespace {

using TKind = TTableFile::TKind;
using TFormat = TExportActions::TFormat;

TFormat CsvOf(TKind kind)
{
    switch (kind) {
    case TKind::Distances:
        return TFormat::DistancesCsv;
    case TKind::Angles:
        return TFormat::AnglesCsv;
    case TKind::Coordinates:
        break;
    }
    return TFormat::PointsCsv;
}

TKind KindOf(TFormat format)
{
    return format == TFormat::DistancesCsv ? TKind::Distances
           : format == TFormat::AnglesCsv  ? TKind::Angles
                                           : TKind::Coordinates;
}

QString SuffixOf(TFormat format)
{
    switch (format) {
    case TFormat::PointsCsv:
        return QStringLiteral("_points.csv");
    case TFormat::DistancesCsv:
        return QStringLiteral("_distances.csv");
    case TFormat::AnglesCsv:
        return QStringLiteral("_angles.csv");
    case TFormat::FeaturesCsv:
        return QStringLiteral("_features.csv");
    case TFormat::Dxf:
        break;
    }
    return QStringLiteral(".dxf");
}

// The view as the operator sees it, drawn at twice its size so that it stays sharp in print; its
// zoom, rotation and elevation scroll bars (child widgets) are left out of the picture.
QImage Picture(QWidget *view)
{
    if (!view || view->size().isEmpty())
        return {};
    constexpr qreal Scale = 2.0;
    QPixmap pixmap(view->size() * Scale);
    pixmap.setDevicePixelRatio(Scale);
    pixmap.fill(Qt::white);
    // A report shows the work in force: deleted points' marks stay out of its pictures.
    auto *chart = qobject_cast<TViewWidget *>(view);
    if (chart)
        chart->SetDeletedShown(false);
    view->render(&pixmap, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    if (chart)
        chart->SetDeletedShown(true);
    return pixmap.toImage();
}

} // namespace

TExportActions::TExportActions(TExportSources sources, TOperatorDialogs &dialogs, QObject *parent)
    : QObject(parent), m_sources(std::move(sources)), m_dialogs(dialogs)
{
    m_report = new QAction(tr("Report..."), this);
    m_report->setObjectName(QStringLiteral("actReport"));
    m_report->setShortcut(ReportShortcut);
    m_report->setShortcutContext(Qt::WindowShortcut);
    connect(m_report, &QAction::triggered, this, &TExportActions::Report);
}

void TExportActions::AddToTable(QWidget *table, TTableFile::TKind kind)
{
    auto *separator = new QAction(table);
    separator->setSeparator(true);
    auto *exportAction = new QAction(tr("Export..."), table);
    exportAction->setObjectName(table->objectName() + QStringLiteral("Export"));
    exportAction->setShortcut(ExportShortcut);
    exportAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(exportAction, &QAction::triggered, this, [this, kind] { Export(kind); });
    table->addActions({separator, exportAction, m_report});
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TExportActions::AddToViews(const std::array<QWidget *, 4> &views)
{
    m_views = views;
    m_viewExport = new QAction(tr("Export..."), this);
    m_viewExport->setObjectName(QStringLiteral("actViewExport"));
    m_viewExport->setShortcut(ExportShortcut);
    m_viewExport->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_viewExport, &QAction::triggered, this, [this] { Export(std::nullopt); });
    for (QWidget *view : views) {
        if (!view)
            continue;
        view->addActions({m_viewExport, m_report});
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
        // A click gives a view the focus, so its Export shortcut works as a table's does.
        if (view->focusPolicy() == Qt::NoFocus)
            view->setFocusPolicy(Qt::ClickFocus);
    }
}

void TExportActions::AddToFeatures(QWidget *table)
{
    auto *separator = new QAction(table);
    separator->setSeparator(true);
    auto *exportAction = new QAction(tr("Export..."), table);
    exportAction->setObjectName(table->objectName() + QStringLiteral("Export"));
    exportAction->setShortcut(ExportShortcut);
    exportAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(exportAction, &QAction::triggered, this, [this] { ExportStartingOn(TFormat::FeaturesCsv); });
    table->addActions({separator, exportAction, m_report});
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
}

QStringList TExportActions::ExportFilters(bool features)
{
    QStringList filters{tr("Point table as CSV (*.csv)"), tr("Distance table as CSV (*.csv)"),
                        tr("Angle table as CSV (*.csv)"), tr("Drawing for CAD as DXF (*.dxf)")};
    if (features)
        filters.append(tr("Features table as CSV (*.csv)"));
    return filters;
}

TExportActions::TFormat TExportActions::ChosenFormat(const QString &fileName, qsizetype filter,
                                                     TFormat startedOn)
{
    const TFormat chosen =
        filter >= 0 && filter <= qsizetype(TFormat::FeaturesCsv) ? TFormat(filter) : startedOn;
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("dxf"), Qt::CaseInsensitive) == 0)
        return TFormat::Dxf;
    if (suffix.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0 && chosen == TFormat::Dxf)
        return startedOn == TFormat::Dxf ? TFormat::PointsCsv : startedOn;
    return chosen;
}

QString TExportActions::FileNameOf(const QString &projectName)
{
    QString name = projectName.trimmed();
    for (QChar &c : name)
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    // "." and ".." name folders, not files.
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    return name;
}

QString TExportActions::ProposedFile(const QString &suffix) const
{
    QString name = FileNameOf(m_sources.projectName());
    if (name.isEmpty())
        name = DefaultProjectName(QDateTime::currentDateTime(), QLocale::system());
    return QDir(m_sources.folder()).filePath(name + suffix);
}

void TExportActions::Export(std::optional<TTableFile::TKind> startWith)
{
    ExportStartingOn(startWith ? CsvOf(*startWith) : TFormat::Dxf);
}

void TExportActions::ExportStartingOn(TFormat startedOn)
{
    const bool features = m_sources.features != nullptr;
    if (startedOn == TFormat::FeaturesCsv && !features)
        startedOn = TFormat::Dxf;
    const auto choice = m_dialogs.SaveFileChoice(tr("Export"), ProposedFile(SuffixOf(startedOn)),
                                                 ExportFilters(features), qsizetype(startedOn));
    if (!choice)
        return;
    const TFormat format = ChosenFormat(choice->fileName, choice->filter, startedOn);
    if (format == TFormat::Dxf) {
        Tell(TDxfExport::Save(m_sources.data, m_sources.distances, m_sources.angles, m_sources.features,
                              choice->fileName),
             tr("Exported to %1"));
        return;
    }
    if (format == TFormat::FeaturesCsv && features) {
        Tell(TCsvExport::SaveFeatures(m_sources.features->Table(), choice->fileName), tr("Exported to %1"));
        return;
    }
    const TKind kind = KindOf(format);
    const TTextTable &table = kind == TKind::Distances ? m_sources.distances
                              : kind == TKind::Angles  ? m_sources.angles
                                                       : m_sources.data;
    Tell(TCsvExport::Save(kind, table, choice->fileName), tr("Exported to %1"));
}

void TExportActions::Report()
{
    const auto choice =
        m_dialogs.SaveFileChoice(tr("Measurement report"), ProposedFile(QStringLiteral(".pdf")),
                                 {tr("Measurement report as PDF (*.pdf)")}, 0);
    if (!choice)
        return;
    TReportContent content;
    content.projectName = m_sources.projectName();
    content.createdAt = QDateTime::currentDateTime();
    content.calibrated = m_sources.calibrated();
    content.offLineCalibrationTest = m_sources.offLineCalibrationTest();
    content.calibration = m_sources.calibration();
    for (std::size_t n = 0; n < m_views.size(); ++n)
        content.views[n] = Picture(m_views[n]);
    if (m_reportFiller)
        m_reportFiller(content);
    const TMeasurementReport report(content, m_sources.data, m_sources.distances, m_sources.angles,
                                    m_sources.features ? &m_sources.features->Table() : nullptr);
    Tell(report.Save(choice->fileName), tr("Report written to %1"));
}

void TExportActions::Tell(const TFileResult &result, const QString &done)
{
    if (!result.Ok()) {
        m_dialogs.ShowError(result.message);
        return;
    }
    if (m_statusReport)
        m_statusReport(done.arg(QFileInfo(result.fileName).fileName()),
                       QDir::toNativeSeparators(result.fileName));
    for (const QString &warning : result.warnings)
        m_dialogs.ShowMessage(warning);
}
