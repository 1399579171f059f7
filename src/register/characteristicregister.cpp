#include "register/characteristicregister.h"

#include "common/coordinatetext.h"
#include "geometry/orientationzone.h"
#include "register/pointnumbers.h"

#include <QLocale>
#include <cmath>

namespace {

using K = TCharacteristicKind;

const QString DatumJoin = QStringLiteral(" to ");

std::optional<double> Number(const QString &text)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

QString Text(double value)
{
    return FormatCoordinate(static_cast<float>(value));
}

bool IsOrientation(K kind)
{
    return kind == K::Perpendicularity || kind == K::Parallelism;
}

bool HasDiameter(TFeatureType type)
{
    return type == TFeatureType::Circle || type == TFeatureType::Sphere || type == TFeatureType::Cylinder ||
           type == TFeatureType::Cone;
}

bool HasOrientation(TFeatureType type)
{
    return type == TFeatureType::Line || type == TFeatureType::Plane || type == TFeatureType::Cylinder ||
           type == TFeatureType::Cone;
}

} // namespace

TCharacteristicRegister::TCharacteristicRegister() : m_table(ColumnCount, kRowCount)
{
    SetHeaders();
}

void TCharacteristicRegister::SetHeaders()
{
    m_table.SetRowTexts(0, {QStringLiteral("Feature"), QStringLiteral("Characteristic"),
                            QStringLiteral("Nominal"), QStringLiteral("Upper"), QStringLiteral("Lower"),
                            QStringLiteral("Actual"), QStringLiteral("Deviation"), QStringLiteral("Result")});
}

TCharacteristicRegister::TLookup TCharacteristicRegister::LookupIn(const TFeatureRegister &features,
                                                                   const TTextTable &points)
{
    return [&features, &points](const QString &name) -> std::optional<TFeatureFacts> {
        const int row = features.FindRow(name);
        if (row == 0)
            return std::nullopt;
        const auto source = features.Source(row);
        if (!source)
            return std::nullopt;
        TFeatureFacts facts;
        facts.kind = source->kind;
        if (source->kind != TFeatureRegister::TKind::Feature) {
            facts.relationValue = Number(features.Table().Cell(TFeatureRegister::ColSize, row));
            return facts;
        }
        facts.geometry = features.Feature(row);
        const TPointNumbers::TFound found = TPointNumbers::Find(points, source->points);
        if (found.Complete())
            facts.points = found.points;
        // A drawing dimensions the part, not the machine's table: with an alignment active, positions
        // and true positions are read in the part's frame. Sizes, forms and orientations do not change
        // under the turn, so the feature and its points are simply turned with it.
        if (const auto alignment = features.ActiveAlignment()) {
            if (facts.geometry)
                facts.geometry = alignment->ToPart(*facts.geometry);
            for (Eigen::Vector3d &point : facts.points)
                point = alignment->ToPart(point);
        }
        return facts;
    };
}

QList<TCharacteristicKind> TCharacteristicRegister::KindsFor(const TFeatureFacts &facts)
{
    if (facts.kind == TFeatureRegister::TKind::Distance)
        return {K::Distance};
    if (facts.kind == TFeatureRegister::TKind::Angle)
        return {K::Angle};
    if (!facts.geometry)
        return {};
    const TFeatureType type = facts.geometry->type;
    QList<K> kinds;
    if (HasDiameter(type))
        kinds << K::Diameter;
    kinds << K::PositionX << K::PositionY << K::PositionZ;
    if (type != TFeatureType::Point && facts.geometry->points > 0)
        kinds << K::Form;
    if (type == TFeatureType::Circle || type == TFeatureType::Sphere || type == TFeatureType::Point ||
        type == TFeatureType::Cylinder || type == TFeatureType::Cone)
        kinds << K::TruePosition;
    if (HasOrientation(type))
        kinds << K::Perpendicularity << K::Parallelism;
    return kinds;
}

QStringList TCharacteristicRegister::DefinitionTexts(const TDefinition &definition,
                                                     std::optional<TFeatureType> type)
{
    QString name =
        QString::fromStdString(CharacteristicName(definition.kind, type.value_or(TFeatureType::Point)));
    if (IsOrientation(definition.kind))
        name += DatumJoin + definition.datum;
    QString nominal = Text(definition.tolerance.nominal);
    if (definition.kind == K::TruePosition)
        nominal += QLatin1Char(' ') + Text(definition.nominalY);
    const bool upperOnly = HasUpperToleranceOnly(definition.kind);
    return {definition.feature, name, nominal, Text(definition.tolerance.upper),
            upperOnly ? QString() : Text(definition.tolerance.lower)};
}

std::optional<TCharacteristicRegister::TDefinition>
TCharacteristicRegister::DefinitionFromTexts(const QString &feature, TCharacteristicKind kind,
                                             const QString &datum, const QString &nominal,
                                             const QString &upper, const QString &lower, QString *problem)
{
    auto refuse = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    TDefinition definition;
    definition.feature = feature;
    definition.kind = kind;
    definition.datum = datum;
    const QStringList nominals = QString(nominal)
                                     .replace(QLatin1Char(','), QLatin1Char(' '))
                                     .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (kind == K::TruePosition) {
        const auto x = Number(nominals.value(0));
        const auto y = Number(nominals.value(1));
        if (nominals.size() != 2 || !x || !y)
            return refuse(QStringLiteral("A true position's nominal is the centre's X and Y: two numbers, "
                                         "such as \"25 10\"."));
        definition.tolerance.nominal = *x;
        definition.nominalY = *y;
    } else if (!nominals.isEmpty() || !HasUpperToleranceOnly(kind)) {
        const auto x = Number(nominal);
        if (!x)
            return refuse(QStringLiteral("The nominal \"%1\" is not a number.").arg(nominal.trimmed()));
        definition.tolerance.nominal = *x;
    }
    const auto up = Number(upper);
    if (!up)
        return refuse(QStringLiteral("The upper tolerance \"%1\" is not a number.").arg(upper.trimmed()));
    definition.tolerance.upper = *up;
    if (!HasUpperToleranceOnly(kind)) {
        const auto low = Number(lower);
        if (!low)
            return refuse(
                QStringLiteral(
                    "The lower tolerance \"%1\" is not a number (a lower limit at the nominal is 0).")
                    .arg(lower.trimmed()));
        definition.tolerance.lower = *low;
    }
    return definition;
}

std::optional<TCharacteristicRegister::TDefinition> TCharacteristicRegister::DefinitionOf(int row) const
{
    if (m_table.IsRowFree(row))
        return std::nullopt;
    TDefinition definition;
    definition.feature = m_table.Cell(ColFeature, row);
    QString name = m_table.Cell(ColCharacteristic, row);
    const qsizetype join = name.indexOf(DatumJoin);
    if (join > 0) {
        definition.datum = name.mid(join + DatumJoin.size()).trimmed();
        name = name.left(join);
    }
    const auto kind = CharacteristicKindFromName(name.toStdString());
    if (!kind || IsOrientation(*kind) == definition.datum.isEmpty())
        return std::nullopt;
    definition.kind = *kind;
    const QStringList nominal = m_table.Cell(ColNominal, row).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto x = Number(nominal.value(0));
    const auto upper = Number(m_table.Cell(ColUpper, row));
    const auto lower = HasUpperToleranceOnly(definition.kind) ? std::optional<double>(0.0)
                                                              : Number(m_table.Cell(ColLower, row));
    if (!x || !upper || !lower)
        return std::nullopt;
    definition.tolerance = {*x, *upper, *lower};
    if (definition.kind == K::TruePosition) {
        const auto y = Number(nominal.value(1));
        if (!y)
            return std::nullopt;
        definition.nominalY = *y;
    }
    return definition;
}

int TCharacteristicRegister::Add(const TDefinition &definition, const TLookup &lookup, QString *problem)
{
    auto refuse = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return 0;
    };
    const auto facts = lookup(definition.feature);
    if (!facts)
        return refuse(QStringLiteral("There is no feature %1.").arg(definition.feature));
    const QString name = QString::fromStdString(
        CharacteristicName(definition.kind, facts->geometry ? facts->geometry->type : TFeatureType::Point));
    if (!KindsFor(*facts).contains(definition.kind))
        return refuse(QStringLiteral("%1 has no %2.").arg(definition.feature, name.toLower()));
    if (IsOrientation(definition.kind)) {
        const auto datum = definition.datum.isEmpty() ? std::nullopt : lookup(definition.datum);
        if (!datum || !datum->geometry || !HasOrientation(datum->geometry->type))
            return refuse(QStringLiteral("A %1 needs a datum plane, line or axis.").arg(name.toLower()));
        if (definition.datum == definition.feature)
            return refuse(QStringLiteral("A feature cannot be its own datum."));
    }
    if (HasUpperToleranceOnly(definition.kind)) {
        if (definition.tolerance.upper < 0.0)
            return refuse(QStringLiteral("The %1 is a zone: its tolerance is a width and cannot be negative.")
                              .arg(name.toLower()));
    } else if (definition.tolerance.upper < definition.tolerance.lower) {
        return refuse(QStringLiteral("The upper tolerance lies below the lower one."));
    }
    const int row = m_table.FirstFreeRow();
    if (row == 0)
        return refuse(QStringLiteral("The characteristics table is full: delete one to make room."));
    TDefinition stored = definition;
    if (HasUpperToleranceOnly(definition.kind))
        stored.tolerance.nominal = definition.kind == K::TruePosition ? definition.tolerance.nominal : 0.0;
    m_table.SetRowTexts(
        row, DefinitionTexts(stored, facts->geometry ? std::optional(facts->geometry->type) : std::nullopt));
    Judge(row, stored, lookup);
    return row;
}

std::optional<double> TCharacteristicRegister::Actual(const TDefinition &definition, const TLookup &lookup)
{
    const auto facts = lookup(definition.feature);
    if (!facts)
        return std::nullopt;
    switch (definition.kind) {
    case K::Distance:
        return facts->kind == TFeatureRegister::TKind::Distance ? facts->relationValue : std::nullopt;
    case K::Angle:
        return facts->kind == TFeatureRegister::TKind::Angle ? facts->relationValue : std::nullopt;
    case K::TruePosition:
        if (!facts->geometry)
            return std::nullopt;
        return TruePositionDiameter(facts->geometry->location.head<2>(),
                                    Eigen::Vector2d(definition.tolerance.nominal, definition.nominalY));
    case K::Perpendicularity:
    case K::Parallelism: {
        const auto datum = lookup(definition.datum);
        if (!facts->geometry || !datum || !datum->geometry)
            return std::nullopt;
        const TZoneOutcome zone =
            OrientationZone(definition.kind == K::Perpendicularity ? TOrientationKind::Perpendicularity
                                                                   : TOrientationKind::Parallelism,
                            *facts->geometry, facts->points, *datum->geometry);
        return zone.ok ? std::optional<double>(zone.width) : std::nullopt;
    }
    default:
        return facts->geometry ? FeatureActual(definition.kind, *facts->geometry) : std::nullopt;
    }
}

TTolerance TCharacteristicRegister::JudgedTolerance(const TDefinition &definition)
{
    // A true position's nominal is a location; the zone's own nominal is zero.
    TTolerance tolerance = definition.tolerance;
    if (definition.kind == K::TruePosition)
        tolerance.nominal = 0.0;
    return tolerance;
}

void TCharacteristicRegister::Judge(int row, const TDefinition &definition, const TLookup &lookup)
{
    const TJudgement judgement =
        ::Judge(definition.kind, JudgedTolerance(definition), Actual(definition, lookup));
    m_table.SetCell(ColActual, row, judgement.actual ? Text(*judgement.actual) : QString());
    m_table.SetCell(ColDeviation, row, judgement.deviation ? Text(*judgement.deviation) : QString());
    m_table.SetCell(ColResult, row,
                    judgement.verdict == TVerdict::Ok    ? OkText
                    : judgement.verdict == TVerdict::Nok ? NokText
                                                         : MissingText);
}

void TCharacteristicRegister::Evaluate(const TLookup &lookup)
{
    for (int row = 1; row <= Count(); ++row) {
        const auto definition = DefinitionOf(row);
        if (definition) {
            Judge(row, *definition, lookup);
        } else {
            m_table.SetCell(ColActual, row, QString());
            m_table.SetCell(ColDeviation, row, QString());
            m_table.SetCell(ColResult, row, MissingText);
        }
    }
}

void TCharacteristicRegister::ClearResults()
{
    for (int row = 1; row <= Count(); ++row)
        for (int column : {ColActual, ColDeviation, ColResult})
            m_table.SetCell(column, row, QString());
}

QString TCharacteristicRegister::TSummary::Text() const
{
    QString text = QStringLiteral("%1 characteristic%2, %3 OK, %4 NOK")
                       .arg(total)
                       .arg(total == 1 ? QString() : QStringLiteral("s"))
                       .arg(ok)
                       .arg(nok);
    if (missing > 0)
        text += QStringLiteral(", %1 missing").arg(missing);
    return text;
}

QString TCharacteristicRegister::TSummary::Overall() const
{
    if (total == 0)
        return {};
    if (nok > 0)
        return NokText;
    return missing > 0 ? QStringLiteral("incomplete") : OkText;
}

TCharacteristicRegister::TSummary TCharacteristicRegister::Summary() const
{
    TSummary summary;
    for (int row = 1; row <= Count(); ++row) {
        ++summary.total;
        const QString result = m_table.Cell(ColResult, row);
        if (result == OkText)
            ++summary.ok;
        else if (result == NokText)
            ++summary.nok;
        else
            ++summary.missing;
    }
    return summary;
}

QList<TResultsColumn> TCharacteristicRegister::HistoryColumns() const
{
    QList<TResultsColumn> columns;
    for (int row = 1; row <= Count(); ++row)
        columns.append({m_table.Cell(ColFeature, row), m_table.Cell(ColCharacteristic, row),
                        m_table.Cell(ColNominal, row), m_table.Cell(ColUpper, row),
                        m_table.Cell(ColLower, row)});
    return columns;
}

QStringList TCharacteristicRegister::Actuals() const
{
    QStringList actuals;
    for (int row = 1; row <= Count(); ++row)
        actuals.append(m_table.Cell(ColActual, row));
    return actuals;
}
