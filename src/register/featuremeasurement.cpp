#include "register/featuremeasurement.h"

#include "geometry/featurefit.h"
#include "register/featureregister.h"
#include "register/pointnumbers.h"

TFeatureMeasurement::TFeatureMeasurement(TFeatureRegister &features, const TTextTable &points, TFit fit)
    : m_features(features), m_pointTable(points), m_fit(std::move(fit))
{
    if (!m_fit)
        m_fit = [](TFeatureType type, const TPointList &list) { return FitFeature(type, list); };
}

void TFeatureMeasurement::SetType(std::optional<TFeatureType> type)
{
    if (!type)
        m_points.clear();
    m_type = type;
}

void TFeatureMeasurement::PointRecorded(int number)
{
    if (m_type && !m_points.contains(number))
        m_points.append(number);
}

QString TFeatureMeasurement::ProgressText() const
{
    if (!m_type)
        return QStringLiteral("Choose a feature type to measure");
    const qsizetype count = m_points.size();
    return QStringLiteral("%1: %2 %3 (needs %4)")
        .arg(TFeatureRegister::TypeText(*m_type))
        .arg(count)
        .arg(count == 1 ? QStringLiteral("point") : QStringLiteral("points"))
        .arg(MinimumPoints(*m_type));
}

TFeatureMeasurement::TOutcome TFeatureMeasurement::End()
{
    if (!m_type)
        return {0, QStringLiteral("Choose a feature type first, then record its points.")};
    const TOutcome outcome = Fit(*m_type, m_points);
    if (outcome.Added())
        m_points.clear();
    return outcome;
}

TFeatureMeasurement::TOutcome TFeatureMeasurement::FitTyped(const QString &text)
{
    if (!m_type)
        return {0, QStringLiteral("Choose a feature type first, then fit it to the points.")};
    QString problem;
    const auto numbers = TPointNumbers::Read(text, &problem);
    if (!numbers)
        return {0, problem};
    return Fit(*m_type, *numbers);
}

TFeatureMeasurement::TOutcome TFeatureMeasurement::Fit(TFeatureType type, const QList<int> &numbers)
{
    return FitRow(type, numbers, TProbeSide::Auto, 0);
}

void TFeatureMeasurement::SetProbe(double ballDiameter, TApproachOf approachOf)
{
    m_ballDiameter = ballDiameter;
    m_approachOf = std::move(approachOf);
}

TFeatureMeasurement::TOutcome TFeatureMeasurement::Refit(int row, TProbeSide side)
{
    const auto source = m_features.Source(row);
    if (!source || source->kind != TFeatureRegister::TKind::Feature || source->points.isEmpty())
        return {0, QStringLiteral("Only a feature fitted to recorded points has a probing side.")};
    return FitRow(source->type, source->points, side, row);
}

TGeometryOutcome TFeatureMeasurement::FitOnSurface(TFeatureType type, const TPointList &points,
                                                   const QList<int> &numbers, TProbeSide side,
                                                   QString &note) const
{
    const TGeometryOutcome fitted = m_fit(type, points);
    if (!fitted.ok || m_ballDiameter == 0.0)
        return fitted;
    TApproachList approaches;
    approaches.reserve(numbers.size());
    for (int number : numbers)
        approaches.push_back(m_approachOf ? m_approachOf(number) : std::nullopt);
    const TCompensationOutcome compensated =
        CompensateFeature(fitted.feature, points, approaches, m_ballDiameter, side);
    if (!compensated.compensated && !compensated.reason.empty())
        note = QStringLiteral("not compensated for the ball: %1")
                   .arg(QString::fromStdString(compensated.reason));
    return compensated.outcome;
}

TFeatureMeasurement::TOutcome TFeatureMeasurement::FitRow(TFeatureType type, const QList<int> &numbers,
                                                          TProbeSide side, int row)
{
    const QString typeText = TFeatureRegister::TypeText(type);
    const int needed = MinimumPoints(type);
    if (numbers.size() < needed)
        return {0, QStringLiteral("A %1 needs at least %2 points; it has %3.")
                       .arg(typeText.toLower())
                       .arg(needed)
                       .arg(numbers.size())};
    const TPointNumbers::TFound found = TPointNumbers::Find(m_pointTable, numbers);
    if (!found.Complete())
        return {0, found.Problem() + QStringLiteral(" Nothing was added.")};
    QString note;
    const TGeometryOutcome fitted = FitOnSurface(type, found.points, numbers, side, note);
    if (!fitted.ok)
        return {0, QStringLiteral("The %1 cannot be fitted: %2.")
                       .arg(typeText.toLower(), QString::fromStdString(fitted.reason))};
    if (row > 0) {
        m_features.Table().SetRowTexts(
            row, TFeatureRegister::FeatureTexts(m_features.Name(row), fitted.feature, numbers));
        return {row, note};
    }
    row = m_features.AddFeature(fitted.feature, numbers);
    if (row == 0)
        return {0, QStringLiteral("The features table is full: delete a feature to make room.")};
    return {row, note};
}
