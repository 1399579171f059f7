#include "register/alignmentchoices.h"

#include "geometry/featurerelation.h"
#include "register/featureregister.h"

TAlignmentChoices::TAlignmentChoices(const TFeatureRegister &features) : m_features(features)
{
    QList<int> axes;
    for (int row = 1; row <= features.FeatureCount(); ++row) {
        const auto feature = features.Feature(row);
        if (!feature)
            continue;
        const QString name = features.Name(row);
        if (feature->type == TFeatureType::Plane || HasAxis(feature->type)) {
            m_primaries.append({name, row, 0, false});
            m_primaryIsPlane.append(feature->type == TFeatureType::Plane);
        }
        if (HasAxis(feature->type))
            axes.append(row);
        if (HasCentre(feature->type))
            m_centres.append(row);
    }
    for (int row : axes)
        m_secondaries.append({features.Name(row), row, 0, false});
    const QList<int> paired = m_centres.mid(0, kPairedCentres);
    for (int from : paired)
        for (int to : paired)
            if (from != to)
                m_secondaries.append(
                    {features.Name(from) + QLatin1Char('-') + features.Name(to), from, to, false});
}

QList<TAlignmentChoices::TChoice> TAlignmentChoices::Origins(int primary) const
{
    const bool plane = primary >= 0 && primary < m_primaries.size() && m_primaryIsPlane[primary];
    QList<TChoice> origins;
    for (int row : m_centres) {
        const QString name = m_features.Name(row);
        origins.append({name, row, 0, false});
        if (plane)
            origins.append({QStringLiteral("%1 (Z: %2)").arg(name, m_primaries[primary].text), row, 0, true});
    }
    return origins;
}

int TAlignmentChoices::FirstSecondary(int primary) const
{
    const int primaryRow = primary >= 0 && primary < m_primaries.size() ? m_primaries[primary].row : 0;
    for (int i = 0; i < m_secondaries.size(); ++i)
        if (m_secondaries[i].row != primaryRow)
            return i;
    return m_secondaries.isEmpty() ? -1 : 0;
}

std::optional<TPartAlignments::TRoles> TAlignmentChoices::Roles(int primary, int secondary, int origin) const
{
    const QList<TChoice> origins = Origins(primary);
    if (primary < 0 || primary >= m_primaries.size() || secondary < 0 || secondary >= m_secondaries.size() ||
        origin < 0 || origin >= origins.size())
        return std::nullopt;
    const TChoice &second = m_secondaries[secondary];
    return TPartAlignments::TRoles{m_primaries[primary].row, second.row, second.secondRow,
                                   origins[origin].row, origins[origin].zFromPrimary};
}

QString TAlignmentChoices::FixedByText(int primary, int secondary, int origin) const
{
    const auto roles = Roles(primary, secondary, origin);
    if (!roles)
        return {};
    return TPartAlignments::FixedByText(m_features.Name(roles->primary), m_features.Name(roles->secondary),
                                        roles->secondaryTo ? m_features.Name(roles->secondaryTo) : QString(),
                                        m_features.Name(roles->origin), roles->originZFromPrimary);
}
