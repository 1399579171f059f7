#include "register/guidedplan.h"

#include "geometry/featurefit.h"
#include "geometry/featurerelation.h"
#include "register/pointnumbers.h"

#include <algorithm>

TGuidedPlan::TGuidedPlan(TFeatureRegister &features, const TTextTable &points, TFit fit)
    : m_features(features), m_points(points), m_fit(std::move(fit)), m_constructor(features)
{
    if (!m_fit)
        m_fit = [](TFeatureType type, const TPointList &list) { return FitFeature(type, list); };
}

bool TGuidedPlan::Start(QString *problem)
{
    m_steps.clear();
    for (int row = 1; row <= m_features.FeatureCount(); ++row) {
        const auto source = m_features.Source(row);
        if (!source || source->kind != TFeatureRegister::TKind::Feature || source->points.isEmpty())
            continue;
        m_steps.append({m_features.Name(row), source->type,
                        std::max<int>(static_cast<int>(source->points.size()), MinimumPoints(source->type))});
    }
    if (m_steps.isEmpty()) {
        if (problem)
            *problem =
                QStringLiteral("The features table holds no feature fitted to points: measure the first "
                               "part's features first.");
        return false;
    }
    m_current = 0;
    m_taken.clear();
    m_fresh.clear();
    m_skipped = 0;
    m_active = true;
    return true;
}

void TGuidedPlan::Stop()
{
    m_active = false;
    m_steps.clear();
    m_taken.clear();
    m_fresh.clear();
}

QString TGuidedPlan::CurrentName() const
{
    return m_active && !Done() ? m_steps.at(m_current).name : QString();
}

QString TGuidedPlan::GuideText() const
{
    if (!m_active)
        return {};
    if (Done()) {
        QString text = QStringLiteral("Plan done: %1 of %2 features measured")
                           .arg(m_steps.size() - m_skipped)
                           .arg(m_steps.size());
        return m_skipped > 0 ? text + QStringLiteral(", %1 skipped").arg(m_skipped) : text;
    }
    const TStep &step = m_steps.at(m_current);
    return QStringLiteral("%1 %2: point %3 of %4")
        .arg(step.name, TFeatureRegister::TypeText(step.type))
        .arg(m_taken.size() + 1)
        .arg(step.points);
}

TGuidedPlan::TOutcome TGuidedPlan::PointRecorded(int number)
{
    if (!m_active || Done())
        return {};
    m_taken.append(number);
    const TStep step = m_steps.at(m_current);
    if (m_taken.size() < step.points)
        return {};
    const QList<int> numbers = m_taken;
    m_taken.clear();
    const TPointNumbers::TFound found = TPointNumbers::Find(m_points, numbers);
    if (!found.Complete())
        return {false, found.Problem() + QStringLiteral(" Record %1's points again.").arg(step.name)};
    const TGeometryOutcome fitted = m_fit(step.type, found.points);
    const int row = m_features.FindRow(step.name);
    if (!fitted.ok || row == 0)
        return {false, QStringLiteral("%1 cannot be fitted: %2. Record its points again, or Skip it.")
                           .arg(step.name, QString::fromStdString(fitted.reason))};
    m_features.Table().SetRowTexts(row, TFeatureRegister::FeatureTexts(step.name, fitted.feature, numbers));
    m_fresh.insert(step.name);
    Relate();
    ++m_current;
    return {true, {}};
}

void TGuidedPlan::Skip()
{
    if (!m_active || Done())
        return;
    m_taken.clear();
    ++m_skipped;
    ++m_current;
}

bool TGuidedPlan::IsFresh(const QString &name) const
{
    return !m_active || m_fresh.contains(name);
}

void TGuidedPlan::Relate()
{
    // A construction may take another, or a relation a construction: go round until nothing more is
    // worked out.
    for (bool more = true; more;) {
        more = false;
        for (int row = 1; row <= m_features.FeatureCount(); ++row) {
            const QString name = m_features.Name(row);
            const auto source = m_features.Source(row);
            if (!source || m_fresh.contains(name))
                continue;
            if (source->recipe) {
                const QStringList &inputs = source->recipe->inputs;
                if (std::all_of(inputs.begin(), inputs.end(),
                                [&](const QString &n) { return m_fresh.contains(n); }) &&
                    m_constructor.Recompute(row)) {
                    m_fresh.insert(name);
                    more = true;
                }
                continue;
            }
            if (source->kind == TFeatureRegister::TKind::Feature || !m_fresh.contains(source->first) ||
                !m_fresh.contains(source->second))
                continue;
            const auto first = m_features.Feature(m_features.FindRow(source->first));
            const auto second = m_features.Feature(m_features.FindRow(source->second));
            if (!first || !second)
                continue;
            const bool distance = source->kind == TFeatureRegister::TKind::Distance;
            const TRelationOutcome related =
                distance ? FeatureDistance(*first, *second) : FeatureAngle(*first, *second);
            if (!related.ok)
                continue;
            TFeatureRegister::TRelationValues values{related.value, std::nullopt};
            if (related.hasDelta)
                values.components =
                    std::array<double, 3>{related.delta.x(), related.delta.y(), related.delta.z()};
            m_features.Table().SetRowTexts(
                row,
                TFeatureRegister::RelationTexts(name, source->kind, source->first, source->second, values));
            m_fresh.insert(name);
            more = true;
        }
    }
}
