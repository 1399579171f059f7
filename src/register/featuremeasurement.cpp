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
    const TGeometryOutcome fitted = m_fit(type, found.points);
    if (!fitted.ok)
        return {0, QStringLiteral("The %1 cannot be fitted: %2.")
                       .arg(typeText.toLower(), QString::fromStdString(fitted.reason))};
    const int row = m_features.AddFeature(fitted.feature, numbers);
    if (row == 0)
        return {0, QStringLiteral("The features table is full: delete a feature to make room.")};
    return {row, {}};
}
