#include "app/stationprobe.h"

#include "app/featuresform.h"
#include "app/settingsfile.h"
#include "common/coordinatetext.h"
#include "common/operatordialogs.h"
#include "geometry/featurefit.h"
#include "register/featuremeasurement.h"
#include "register/featureregister.h"
#include "register/pointnumbers.h"
#include "register/pointregister.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <cmath>

namespace {

QString FormatDiameter(double diameter)
{
    return FormatCoordinate(static_cast<float>(diameter));
}

// A diameter typed by the operator: a point or the locale's decimal mark, finite, 0 or more.
std::optional<double> ReadDiameter(const QString &text)
{
    const auto value = TSettingsFile::ParseReal(text);
    if (!value || !std::isfinite(*value) || *value < 0)
        return std::nullopt;
    return static_cast<double>(*value);
}

} // namespace

TStationProbe::TStationProbe(TFeatureMeasurement &measurement, TFeatureRegister &features,
                             const TPointRegister &points, TFeaturesForm &form, TOperatorDialogs &dialogs,
                             const TSettingsFile &settings, TSelectedRows selected, QObject *parent)
    : QObject(parent), m_measurement(measurement), m_features(features), m_points(points), m_form(form),
      m_dialogs(dialogs), m_settings(settings), m_selected(std::move(selected)),
      m_approaches(4, TFeatureRegister::kRowCount)
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    m_clock = [timer] { return timer->elapsed(); };
    connect(m_form.edProbeDiameter, &QLineEdit::editingFinished, this, &TStationProbe::DiameterEdited);
    connect(m_form.btnQualify, &QPushButton::clicked, this, &TStationProbe::Qualify);

    QTableView *table = m_form.sgFeatures;
    const std::array sides{std::pair{TProbeSide::Inside, "Inside"}, std::pair{TProbeSide::Outside, "Outside"},
                           std::pair{TProbeSide::None, "None"}};
    for (const auto &[side, caption] : sides) {
        auto *action = new QAction(tr(caption), table);
        action->setObjectName(QStringLiteral("actFeatSide") + QLatin1String(caption));
        action->setToolTip(tr("Fit the selected features again as probed from this side"));
        connect(action, &QAction::triggered, this, [this, side = side] { SetSide(side); });
        table->addAction(action);
    }
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    ApplyDiameter(0.0);
}

void TStationProbe::SetBallDiameter(double diameter)
{
    ApplyDiameter(diameter);
}

double TStationProbe::BallDiameter() const
{
    return m_measurement.BallDiameter();
}

void TStationProbe::ApplyDiameter(double diameter)
{
    m_measurement.SetProbe(diameter, [this](int number) { return Approach(number); });
    m_form.edProbeDiameter->setText(FormatDiameter(diameter));
}

void TStationProbe::DiameterEdited()
{
    const QString text = m_form.edProbeDiameter->text();
    const auto diameter = ReadDiameter(text);
    if (!diameter) {
        m_form.edProbeDiameter->setText(FormatDiameter(BallDiameter()));
        m_dialogs.ShowMessage(tr("\"%1\" is not a ball diameter: enter millimetres, 0 or more.").arg(text));
        return;
    }
    if (*diameter == BallDiameter()) {
        m_form.edProbeDiameter->setText(FormatDiameter(*diameter));
        return;
    }
    ApplyDiameter(*diameter);
    if (const auto problem = m_settings.WriteBallDiameter(*diameter))
        m_dialogs.ShowMessage(*problem);
    Report(tr("Ball diameter %1 mm for the features fitted from now on").arg(FormatDiameter(*diameter)));
}

void TStationProbe::PositionShown(TPoint3 position)
{
    const Eigen::Vector3d p(position.x, position.y, position.z);
    const std::int64_t now = m_clock();
    m_tracker.AddPosition(now, p);
    m_lastShown = TShown{now, p};
}

void TStationProbe::PointRecorded(int number)
{
    std::optional<Eigen::Vector3d> approach;
    if (m_lastShown)
        approach = m_tracker.ApproachFor(m_lastShown->timeMs, m_lastShown->position);
    const QString name = QString::number(number);
    int row = 1;
    while (row < m_approaches.RowCount() && !m_approaches.IsRowFree(row) && m_approaches.Cell(0, row) != name)
        ++row;
    if (!approach) {
        if (row < m_approaches.RowCount() && !m_approaches.IsRowFree(row))
            m_approaches.DeleteRow(row);
        return;
    }
    if (row >= m_approaches.RowCount())
        return;
    m_approaches.SetRowTexts(row, {name, TFeatureRegister::FormatCosine(approach->x()),
                                   TFeatureRegister::FormatCosine(approach->y()),
                                   TFeatureRegister::FormatCosine(approach->z())});
}

void TStationProbe::PointsReplaced()
{
    m_approaches.ClearDataRows();
}

std::optional<Eigen::Vector3d> TStationProbe::Approach(int number) const
{
    const QString name = QString::number(number);
    for (int row = 1; row < m_approaches.RowCount() && !m_approaches.IsRowFree(row); ++row) {
        if (m_approaches.Cell(0, row) != name)
            continue;
        bool ok[3] = {};
        const Eigen::Vector3d d(m_approaches.Cell(1, row).toDouble(&ok[0]),
                                m_approaches.Cell(2, row).toDouble(&ok[1]),
                                m_approaches.Cell(3, row).toDouble(&ok[2]));
        // A direction as read from a file: any length but zero, or none.
        if (!ok[0] || !ok[1] || !ok[2] || !d.allFinite() || !(d.norm() > 1e-6))
            return std::nullopt;
        return Eigen::Vector3d(d.normalized());
    }
    return std::nullopt;
}

void TStationProbe::SetSide(TProbeSide side)
{
    const QList<int> rows = m_selected ? m_selected() : QList<int>{};
    if (rows.isEmpty()) {
        m_dialogs.ShowMessage(tr("Select the feature whose probing side to set."));
        return;
    }
    QStringList done;
    for (int row : rows) {
        const auto outcome = m_measurement.Refit(row, side);
        if (!outcome.Added()) {
            m_dialogs.ShowMessage(tr("%1: %2").arg(m_features.Name(row), outcome.message));
            continue;
        }
        done.append(outcome.message.isEmpty() ? m_features.Name(row)
                                              : m_features.Name(row) + QStringLiteral(" (") +
                                                    outcome.message + QStringLiteral(")"));
    }
    if (!done.isEmpty())
        Report(tr("Fitted again: %1").arg(done.join(QStringLiteral(", "))));
}

void TStationProbe::Qualify()
{
    const auto reference = ReadDiameter(m_form.edReferenceSphere->text());
    if (!reference || *reference <= 0) {
        m_dialogs.ShowMessage(tr("Enter the reference sphere's diameter in millimetres first."));
        return;
    }
    const QList<int> rows = m_selected ? m_selected() : QList<int>{};
    const auto source = rows.size() == 1 ? m_features.Source(rows.front()) : std::nullopt;
    if (!source || source->kind != TFeatureRegister::TKind::Feature || source->type != TFeatureType::Sphere ||
        source->points.isEmpty()) {
        m_dialogs.ShowMessage(tr("Select the one sphere measured on the reference sphere, then Qualify."));
        return;
    }
    // The sphere's own row may have been compensated with the ball as it was: the ball centres fitted
    // afresh give the sphere the ball's centre ran on.
    const auto found = TPointNumbers::Find(m_points.Data(), source->points);
    const TGeometryOutcome fitted =
        found.Complete() ? FitSphere(found.points) : TGeometryOutcome::Refused(found.Problem().toStdString());
    if (!fitted.ok) {
        m_dialogs.ShowMessage(
            tr("The sphere cannot be fitted: %1").arg(QString::fromStdString(fitted.reason)));
        return;
    }
    const double ball = fitted.feature.diameter - *reference;
    if (!(ball > 0)) {
        m_dialogs.ShowMessage(tr("The sphere's centres span %1 mm, not more than the reference's %2 mm: no "
                                 "ball diameter follows. Was the sphere probed from outside?")
                                  .arg(FormatDiameter(fitted.feature.diameter), FormatDiameter(*reference)));
        return;
    }
    ApplyDiameter(ball);
    if (const auto problem = m_settings.WriteBallDiameter(ball))
        m_dialogs.ShowMessage(*problem);
    m_dialogs.ShowMessage(
        tr("The ball diameter is now %1 mm (%2 fitted %3 mm on the %4 mm reference sphere).")
            .arg(FormatDiameter(ball), m_features.Name(rows.front()), FormatDiameter(fitted.feature.diameter),
                 FormatDiameter(*reference)));
}

void TStationProbe::Report(const QString &text)
{
    if (m_statusReport)
        m_statusReport(text);
}
