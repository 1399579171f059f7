#include "register/partalignments.h"

#include "common/coordinatetext.h"
#include "common/globalprocedures.h"
#include "geometry/featurerelation.h"
#include "register/featureregister.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

using F = TFeatureRegister;

std::optional<double> ReadNumber(const QString &text)
{
    if (!ReadDecimal(text))
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(TrimControls(text), &ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<Eigen::Vector3d> ReadVector(const TTextTable &table, int firstColumn, int row)
{
    const auto x = ReadNumber(table.Cell(firstColumn, row));
    const auto y = ReadNumber(table.Cell(firstColumn + 1, row));
    const auto z = ReadNumber(table.Cell(firstColumn + 2, row));
    if (!x || !y || !z)
        return std::nullopt;
    return Eigen::Vector3d(*x, *y, *z);
}

QString Millimetres(double value)
{
    return FormatCoordinate(static_cast<float>(value));
}

} // namespace

TPartAlignments::TPartAlignments(TFeatureRegister &features)
    : m_features(features), m_table(ColumnCount, kRowCount)
{}

void TPartAlignments::SetHeaders()
{
    m_table.SetRowCount(kRowCount);
    m_table.SetRowTexts(0, {"Alignment", "Active", "X I", "X J", "X K"});
}

bool TPartAlignments::IsAlignmentRow(const TTextTable &features, int row)
{
    return !features.IsRowFree(row) && features.Cell(TFeatureRegister::ColType, row) == TypeText;
}

QString TPartAlignments::FixedByText(const QString &primary, const QString &secondary,
                                     const QString &secondaryTo, const QString &origin,
                                     bool originZFromPrimary)
{
    QString text = QStringLiteral("Z: %1, X: %2").arg(primary, secondary);
    if (!secondaryTo.isEmpty())
        text += QLatin1Char('-') + secondaryTo;
    text += QStringLiteral(", origin: ") + origin;
    if (originZFromPrimary)
        text += QStringLiteral(" (Z: %1)").arg(primary);
    return text;
}

TPartAlignments::TAdded TPartAlignments::Align(const TRoles &roles)
{
    const auto feature = [this](int row) -> std::optional<TGeometryFeature> {
        if (row < 1 || m_features.Table().IsRowFree(row))
            return std::nullopt;
        return m_features.Feature(row);
    };
    const std::array<std::pair<int, QString>, 3> needed{{{roles.primary, QStringLiteral("primary")},
                                                         {roles.secondary, QStringLiteral("secondary")},
                                                         {roles.origin, QStringLiteral("origin")}}};
    for (const auto &[row, role] : needed)
        if (!feature(row))
            return {0,
                    QStringLiteral("No alignment: choose a feature that reads as one for the %1.").arg(role)};
    TAlignmentInput input{*feature(roles.primary), *feature(roles.secondary), std::nullopt,
                          *feature(roles.origin), roles.originZFromPrimary};
    if (roles.secondaryTo != 0) {
        input.secondaryTo = feature(roles.secondaryTo);
        if (!input.secondaryTo)
            return {
                0, QStringLiteral("No alignment: the secondary's second centre does not read as a feature.")};
    }
    const TAlignmentOutcome outcome = TPartAlignment::Make(input);
    if (!outcome.ok)
        return {0, QStringLiteral("No alignment: %1. Nothing was added.")
                       .arg(QString::fromStdString(outcome.reason))};
    const int tableRow = m_table.FirstFreeRow();
    if (tableRow == 0)
        return {0, QStringLiteral("No room for another alignment: delete one to make room.")};

    const TPartAlignment &frame = outcome.alignment;
    const QString name = m_features.NextName(NamePrefix);
    QStringList texts(TFeatureRegister::ColumnCount, QString());
    texts[F::ColFeature] = name;
    texts[F::ColType] = TypeText;
    texts[F::ColFrom] = FixedByText(m_features.Name(roles.primary), m_features.Name(roles.secondary),
                                    roles.secondaryTo ? m_features.Name(roles.secondaryTo) : QString(),
                                    m_features.Name(roles.origin), roles.originZFromPrimary);
    const Eigen::Vector3d z = frame.Axis(2);
    const Eigen::Vector3d x = frame.Axis(0);
    for (int i = 0; i < 3; ++i) {
        texts[F::ColX + i] = Millimetres(frame.Origin()[i]);
        texts[F::ColI + i] = TFeatureRegister::FormatCosine(z[i]);
    }
    const int row = m_features.AddTexts(texts);
    if (row == 0)
        return {0, QStringLiteral("The features table is full: delete a feature to make room.")};
    m_table.SetRowTexts(tableRow,
                        {name, QString(), TFeatureRegister::FormatCosine(x.x()),
                         TFeatureRegister::FormatCosine(x.y()), TFeatureRegister::FormatCosine(x.z())});
    SetActive(name);
    return {row, QStringLiteral("%1 active: %2").arg(name, texts[F::ColFrom])};
}

int TPartAlignments::TableRow(const QString &name) const
{
    if (name.isEmpty())
        return 0;
    for (int row = 1; row <= m_table.LastUsedRow(); ++row)
        if (m_table.Cell(ColAlignment, row) == name)
            return row;
    return 0;
}

std::optional<TPartAlignment> TPartAlignments::Alignment(const QString &name) const
{
    const int row = m_features.FindRow(name);
    const int tableRow = TableRow(name);
    if (row == 0 || tableRow == 0 || !IsAlignmentRow(m_features.Table(), row))
        return std::nullopt;
    const auto origin = ReadVector(m_features.Table(), F::ColX, row);
    const auto z = ReadVector(m_features.Table(), F::ColI, row);
    const auto x = ReadVector(m_table, ColXI, tableRow);
    if (!origin || !z || !x)
        return std::nullopt;
    const TAlignmentOutcome frame = TPartAlignment::FromFrame(*origin, *x, *z);
    if (!frame.ok)
        return std::nullopt;
    return frame.alignment;
}

QString TPartAlignments::ActiveName() const
{
    for (int row = 1; row <= m_table.LastUsedRow(); ++row) {
        if (m_table.IsRowFree(row) || m_table.Cell(ColActive, row) != ActiveText)
            continue;
        const QString name = m_table.Cell(ColAlignment, row);
        const int featureRow = m_features.FindRow(name);
        return featureRow && IsAlignmentRow(m_features.Table(), featureRow) ? name : QString();
    }
    return {};
}

std::optional<TPartAlignment> TPartAlignments::Active() const
{
    const QString name = ActiveName();
    return name.isEmpty() ? std::nullopt : Alignment(name);
}

bool TPartAlignments::SetActive(const QString &name)
{
    if (!Alignment(name))
        return false;
    for (int row = 1; row <= m_table.LastUsedRow(); ++row)
        if (!m_table.IsRowFree(row))
            m_table.SetCell(ColActive, row, m_table.Cell(ColAlignment, row) == name ? ActiveText : QString());
    return true;
}

TPartAlignments::TAdded TPartAlignments::AxisAngle(int row, int axis)
{
    const QString alignment = ActiveName();
    const auto frame = Active();
    if (!frame)
        return {0, QStringLiteral("No alignment is active: make one with Align, or make one active, for an "
                                  "angle to its axis.")};
    const auto source = m_features.Source(row);
    const auto feature = m_features.Feature(row);
    if (!source || source->kind != TFeatureRegister::TKind::Feature || !feature)
        return {
            0,
            QStringLiteral("Select one line, axis or plane for an angle to an axis of %1.").arg(alignment)};
    axis = std::clamp(axis, 0, 2);
    const QString axisName = alignment + QLatin1Char(' ') + AxisNames[axis];
    const TRelationOutcome outcome = AngleToDirection(*feature, frame->Axis(axis));
    if (!outcome.ok)
        return {0, QStringLiteral("No angle between %1 and %2: %3. Nothing was added.")
                       .arg(m_features.Name(row), axisName, QString::fromStdString(outcome.reason))};
    const int added = m_features.AddRelation(TFeatureRegister::TKind::Angle, m_features.Name(row), axisName,
                                             {outcome.value, std::nullopt});
    if (added == 0)
        return {0, QStringLiteral("The features table is full: delete a feature to make room.")};
    return {added, QStringLiteral("%1 added: %2")
                       .arg(m_features.Name(added), m_features.Table().Cell(F::ColSize, added))};
}

TPartAlignments::TAdded TPartAlignments::Position(int row)
{
    const QString alignment = ActiveName();
    const auto frame = Active();
    if (!frame)
        return {0, QStringLiteral("No alignment is active: make one with Align, or make one active, for a "
                                  "position in part coordinates.")};
    const auto feature = m_features.Feature(row);
    if (!feature || !HasCentre(feature->type))
        return {0, QStringLiteral("Select one point or centre (a circle, a sphere...) for its position in "
                                  "part coordinates.")};
    const Eigen::Vector3d part = frame->ToPart(feature->location);
    QStringList texts(TFeatureRegister::ColumnCount, QString());
    texts[F::ColFeature] = m_features.NextName(PositionPrefix);
    texts[F::ColType] = PositionTypeText;
    texts[F::ColFrom] = m_features.Name(row) + QStringLiteral(", ") + alignment;
    for (int i = 0; i < 3; ++i)
        texts[F::ColX + i] = Millimetres(part[i]);
    const int added = m_features.AddTexts(texts);
    if (added == 0)
        return {0, QStringLiteral("The features table is full: delete a feature to make room.")};
    return {added, QStringLiteral("%1 added: %2 in %3 at %4 %5 %6")
                       .arg(texts[F::ColFeature], m_features.Name(row), alignment, texts[F::ColX],
                            texts[F::ColY], texts[F::ColZ])};
}

void TPartAlignments::Forget(const QString &name)
{
    if (const int row = TableRow(name))
        m_table.DeleteRow(row);
}
