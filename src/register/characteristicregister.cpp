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

QStringList TCharacteristicRegister::SpecTexts(const TSpec &spec, std::optional<TFeatureType> type)
{
    QString name = QString::fromStdString(CharacteristicName(spec.kind, type.value_or(TFeatureType::Point)));
    if (IsOrientation(spec.kind))
        name += DatumJoin + spec.datum;
    QString nominal = Text(spec.tolerance.nominal);
    if (spec.kind == K::TruePosition)
        nominal += QLatin1Char(' ') + Text(spec.nominalY);
    const bool upperOnly = HasUpperToleranceOnly(spec.kind);
    return {spec.feature, name, nominal, Text(spec.tolerance.upper),
            upperOnly ? QString() : Text(spec.tolerance.lower)};
}

std::optional<TCharacteristicRegister::TSpec>
TCharacteristicRegister::SpecFromTexts(const QString &feature, TCharacteristicKind kind, const QString &datum,
                                       const QString &nominal, const QString &upper, const QString &lower,
                                       QString *problem)
{
    auto refuse = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    TSpec spec;
    spec.feature = feature;
    spec.kind = kind;
    spec.datum = datum;
    const QStringList nominals = QString(nominal)
                                     .replace(QLatin1Char(','), QLatin1Char(' '))
                                     .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (kind == K::TruePosition) {
        const auto x = Number(nominals.value(0));
        const auto y = Number(nominals.value(1));
        if (nominals.size() != 2 || !x || !y)
            return refuse(QStringLiteral("A true position's nominal is the centre's X and Y: two numbers, "
                                         "such as \"25 10\"."));
        spec.tolerance.nominal = *x;
        spec.nominalY = *y;
    } else if (!nominals.isEmpty() || !HasUpperToleranceOnly(kind)) {
        const auto x = Number(nominal);
        if (!x)
            return refuse(QStringLiteral("The nominal \"%1\" is not a number.").arg(nominal.trimmed()));
        spec.tolerance.nominal = *x;
    }
    const auto up = Number(upper);
    if (!up)
        return refuse(QStringLiteral("The upper tolerance \"%1\" is not a number.").arg(upper.trimmed()));
    spec.tolerance.upper = *up;
    if (!HasUpperToleranceOnly(kind)) {
        const auto low = Number(lower);
        if (!low)
            return refuse(
                QStringLiteral(
                    "The lower tolerance \"%1\" is not a number (a lower limit at the nominal is 0).")
                    .arg(lower.trimmed()));
        spec.tolerance.lower = *low;
    }
    return spec;
}

std::optional<TCharacteristicRegister::TSpec> TCharacteristicRegister::SpecOf(int row) const
{
    if (m_table.IsRowFree(row))
        return std::nullopt;
    TSpec spec;
    spec.feature = m_table.Cell(ColFeature, row);
    QString name = m_table.Cell(ColCharacteristic, row);
    const qsizetype join = name.indexOf(DatumJoin);
    if (join > 0) {
        spec.datum = name.mid(join + DatumJoin.size()).trimmed();
        name = name.left(join);
    }
    const auto kind = CharacteristicKindFromName(name.toStdString());
    if (!kind || IsOrientation(*kind) == spec.datum.isEmpty())
        return std::nullopt;
    spec.kind = *kind;
    const QStringList nominal = m_table.Cell(ColNominal, row).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto x = Number(nominal.value(0));
    const auto upper = Number(m_table.Cell(ColUpper, row));
    const auto lower =
        HasUpperToleranceOnly(spec.kind) ? std::optional<double>(0.0) : Number(m_table.Cell(ColLower, row));
    if (!x || !upper || !lower)
        return std::nullopt;
    spec.tolerance = {*x, *upper, *lower};
    if (spec.kind == K::TruePosition) {
        const auto y = Number(nominal.value(1));
        if (!y)
            return std::nullopt;
        spec.nominalY = *y;
    }
    return spec;
}

int TCharacteristicRegister::Add(const TSpec &spec, const TLookup &lookup, QString *problem)
{
    auto refuse = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return 0;
    };
    const auto facts = lookup(spec.feature);
    if (!facts)
        return refuse(QStringLiteral("There is no feature %1.").arg(spec.feature));
    const QString name = QString::fromStdString(
        CharacteristicName(spec.kind, facts->geometry ? facts->geometry->type : TFeatureType::Point));
    if (!KindsFor(*facts).contains(spec.kind))
        return refuse(QStringLiteral("%1 has no %2.").arg(spec.feature, name.toLower()));
    if (IsOrientation(spec.kind)) {
        const auto datum = spec.datum.isEmpty() ? std::nullopt : lookup(spec.datum);
        if (!datum || !datum->geometry || !HasOrientation(datum->geometry->type))
            return refuse(QStringLiteral("A %1 needs a datum plane, line or axis.").arg(name.toLower()));
        if (spec.datum == spec.feature)
            return refuse(QStringLiteral("A feature cannot be its own datum."));
    }
    if (HasUpperToleranceOnly(spec.kind)) {
        if (spec.tolerance.upper < 0.0)
            return refuse(QStringLiteral("The %1 is a zone: its tolerance is a width and cannot be negative.")
                              .arg(name.toLower()));
    } else if (spec.tolerance.upper < spec.tolerance.lower) {
        return refuse(QStringLiteral("The upper tolerance lies below the lower one."));
    }
    const int row = m_table.FirstFreeRow();
    if (row == 0)
        return refuse(QStringLiteral("The characteristics table is full: delete one to make room."));
    TSpec stored = spec;
    if (HasUpperToleranceOnly(spec.kind))
        stored.tolerance.nominal = spec.kind == K::TruePosition ? spec.tolerance.nominal : 0.0;
    m_table.SetRowTexts(
        row, SpecTexts(stored, facts->geometry ? std::optional(facts->geometry->type) : std::nullopt));
    Judge(row, stored, lookup);
    return row;
}

std::optional<double> TCharacteristicRegister::Actual(const TSpec &spec, const TLookup &lookup)
{
    const auto facts = lookup(spec.feature);
    if (!facts)
        return std::nullopt;
    switch (spec.kind) {
    case K::Distance:
        return facts->kind == TFeatureRegister::TKind::Distance ? facts->relationValue : std::nullopt;
    case K::Angle:
        return facts->kind == TFeatureRegister::TKind::Angle ? facts->relationValue : std::nullopt;
    case K::TruePosition:
        if (!facts->geometry)
            return std::nullopt;
        return TruePositionDiameter(facts->geometry->location.head<2>(),
                                    Eigen::Vector2d(spec.tolerance.nominal, spec.nominalY));
    case K::Perpendicularity:
    case K::Parallelism: {
        const auto datum = lookup(spec.datum);
        if (!facts->geometry || !datum || !datum->geometry)
            return std::nullopt;
        const TZoneOutcome zone =
            OrientationZone(spec.kind == K::Perpendicularity ? TOrientationKind::Perpendicularity
                                                             : TOrientationKind::Parallelism,
                            *facts->geometry, facts->points, *datum->geometry);
        return zone.ok ? std::optional<double>(zone.width) : std::nullopt;
    }
    default:
        return facts->geometry ? FeatureActual(spec.kind, *facts->geometry) : std::nullopt;
    }
}

void TCharacteristicRegister::Judge(int row, const TSpec &spec, const TLookup &lookup)
{
    // A true position's nominal is a location; the zone's own nominal is zero.
    TTolerance tolerance = spec.tolerance;
    if (spec.kind == K::TruePosition)
        tolerance.nominal = 0.0;
    const TJudgement judgement = ::Judge(spec.kind, tolerance, Actual(spec, lookup));
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
        const auto spec = SpecOf(row);
        if (spec) {
            Judge(row, *spec, lookup);
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
