#include "register/featureregister.h"

#include "common/coordinatetext.h"
#include "common/globalprocedures.h"
#include "geometry/featurerelation.h"
#include "register/pointnumbers.h"

#include <QLocale>
#include <cmath>

namespace {

constexpr int kFeatureTypes = 7;
constexpr int kDistanceIndex = 7;
constexpr int kAngleIndex = 8;
constexpr std::array kPrefixes{"P", "L", "PL", "C", "SP", "CY", "CO", "D", "A", "AL", "POS"};
constexpr std::array kTypeTexts{"Point", "Line", "Plane", "Circle", "Sphere", "Cylinder", "Cone"};
const QString kDistanceText = QStringLiteral("Distance");
const QString kAngleText = QStringLiteral("Angle");
// Between the two features of a relation in its From text.
const QString kRelationSeparator = QStringLiteral(", ");

QString Millimetres(double value)
{
    return FormatCoordinate(static_cast<float>(value));
}

std::optional<double> ReadNumber(const QString &text)
{
    if (!ReadDecimal(text))
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(TrimControls(text), &ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

bool HasDirection(TFeatureType type)
{
    return type != TFeatureType::Point && type != TFeatureType::Sphere;
}

bool HasSize(TFeatureType type)
{
    return type == TFeatureType::Circle || type == TFeatureType::Sphere || type == TFeatureType::Cylinder ||
           type == TFeatureType::Cone;
}

// "C12" into "C" and 12; no value for a name that is not a prefix and a number.
std::optional<std::pair<QString, int>> SplitName(const QString &name)
{
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit() && name[digits - 1].unicode() < 128)
        --digits;
    if (digits == 0 || digits == name.size() || name.size() - digits > 6)
        return std::nullopt;
    return std::pair{name.left(digits), name.mid(digits).toInt()};
}

} // namespace

TFeatureRegister::TFeatureRegister() : m_table(ColumnCount, kRowCount), m_alignments(*this) {}

void TFeatureRegister::SetHeaders()
{
    m_table.SetRowCount(kRowCount);
    m_table.SetRowTexts(0, {"Feature", "Type", "From", "X", "Y", "Z", "I", "J", "K", "Size", "Form", "Apex"});
    m_alignments.SetHeaders();
}

QString TFeatureRegister::TypeText(TFeatureType type)
{
    return QString::fromLatin1(kTypeTexts[static_cast<int>(type)]);
}

std::optional<TFeatureType> TFeatureRegister::TypeFromText(const QString &text)
{
    for (int i = 0; i < kFeatureTypes; ++i)
        if (text == QLatin1String(kTypeTexts[i]))
            return static_cast<TFeatureType>(i);
    return std::nullopt;
}

QString TFeatureRegister::NamePrefix(TFeatureType type)
{
    return QString::fromLatin1(kPrefixes[static_cast<int>(type)]);
}

QString TFeatureRegister::FormatCosine(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("***.***");
    QString text = QString::number(value, 'f', 6);
    if (text == QLatin1String("-0.000000"))
        text.remove(0, 1);
    return text;
}

int TFeatureRegister::PrefixIndex(const QString &prefix)
{
    for (int i = 0; i < static_cast<int>(kPrefixes.size()); ++i)
        if (prefix == QLatin1String(kPrefixes[i]))
            return i;
    return -1;
}

QString TFeatureRegister::Prefix(int index)
{
    return QString::fromLatin1(kPrefixes[index]);
}

int TFeatureRegister::NextNumber(int index) const
{
    // The table may hold names given before the counters knew them (a loaded or journalled row).
    int highest = m_highest[index];
    for (int row = 1; row <= m_table.LastUsedRow(); ++row) {
        const auto split = SplitName(m_table.Cell(ColFeature, row));
        if (split && PrefixIndex(split->first) == index)
            highest = std::max(highest, split->second);
    }
    return highest + 1;
}

QString TFeatureRegister::NextName(TFeatureType type) const
{
    const int index = static_cast<int>(type);
    return Prefix(index) + QString::number(NextNumber(index));
}

QString TFeatureRegister::NextName(TKind kind) const
{
    const int index = kind == TKind::Angle ? kAngleIndex : kDistanceIndex;
    return Prefix(index) + QString::number(NextNumber(index));
}

QString TFeatureRegister::NextName(const QString &prefix) const
{
    const int index = PrefixIndex(prefix);
    return index < 0 ? QString() : prefix + QString::number(NextNumber(index));
}

void TFeatureRegister::TakeName(const QString &name)
{
    const auto split = SplitName(name);
    if (!split)
        return;
    const int index = PrefixIndex(split->first);
    if (index >= 0)
        m_highest[index] = std::max(m_highest[index], split->second);
}

void TFeatureRegister::TakeNamesFromTable()
{
    m_highest.fill(0);
    for (int row = 1; row <= m_table.LastUsedRow(); ++row)
        TakeName(m_table.Cell(ColFeature, row));
}

QStringList TFeatureRegister::FeatureTexts(const QString &name, const TGeometryFeature &feature,
                                           const QList<int> &points)
{
    QStringList texts(ColumnCount, QString());
    texts[ColFeature] = name;
    texts[ColType] = TypeText(feature.type);
    texts[ColFrom] = TPointNumbers::Text(points);
    texts[ColX] = Millimetres(feature.location.x());
    texts[ColY] = Millimetres(feature.location.y());
    texts[ColZ] = Millimetres(feature.location.z());
    if (HasDirection(feature.type)) {
        texts[ColI] = FormatCosine(feature.direction.x());
        texts[ColJ] = FormatCosine(feature.direction.y());
        texts[ColK] = FormatCosine(feature.direction.z());
    }
    if (HasSize(feature.type))
        texts[ColSize] = Millimetres(feature.diameter);
    if (feature.type != TFeatureType::Point)
        texts[ColForm] = Millimetres(feature.form);
    if (feature.type == TFeatureType::Cone)
        texts[ColApex] = Millimetres(feature.apexAngle);
    return texts;
}

QStringList TFeatureRegister::ConstructedTexts(const QString &name, const TGeometryFeature &feature,
                                               const TConstructionRecipe &recipe)
{
    QStringList texts = FeatureTexts(name, feature, {});
    texts[ColFrom] = recipe.Text();
    return texts;
}

QStringList TFeatureRegister::RelationTexts(const QString &name, TKind kind, const QString &first,
                                            const QString &second, const TRelationValues &values)
{
    QStringList texts(ColumnCount, QString());
    texts[ColFeature] = name;
    texts[ColType] = kind == TKind::Angle ? kAngleText : kDistanceText;
    texts[ColFrom] = first + kRelationSeparator + second;
    if (values.components) {
        texts[ColX] = Millimetres((*values.components)[0]);
        texts[ColY] = Millimetres((*values.components)[1]);
        texts[ColZ] = Millimetres((*values.components)[2]);
    }
    texts[ColSize] = Millimetres(values.value);
    return texts;
}

int TFeatureRegister::AppendRow(const QStringList &texts)
{
    int row = m_table.LastUsedRow();
    while (row >= 1 && m_table.IsRowFree(row))
        --row;
    ++row;
    if (row >= m_table.RowCount())
        return 0;
    m_table.SetRowTexts(row, texts);
    TakeName(texts[ColFeature]);
    m_table.SetTopRow(std::max(1, row - 8));
    return row;
}

int TFeatureRegister::AddFeature(const TGeometryFeature &feature, const QList<int> &points)
{
    return AppendRow(FeatureTexts(NextName(feature.type), feature, points));
}

int TFeatureRegister::AddConstructed(const TGeometryFeature &feature, const TConstructionRecipe &recipe)
{
    return AppendRow(ConstructedTexts(NextName(feature.type), feature, recipe));
}

int TFeatureRegister::AddRelation(TKind kind, const QString &first, const QString &second,
                                  const TRelationValues &values)
{
    return AppendRow(RelationTexts(NextName(kind), kind, first, second, values));
}

int TFeatureRegister::FindRow(const QString &name) const
{
    if (name.isEmpty())
        return 0;
    for (int row = 1; row <= m_table.LastUsedRow(); ++row)
        if (m_table.Cell(ColFeature, row) == name)
            return row;
    return 0;
}

std::optional<TFeatureRegister::TSource> TFeatureRegister::Source(int row) const
{
    if (row < 1 || row >= m_table.RowCount() || m_table.IsRowFree(row))
        return std::nullopt;
    const QString type = m_table.Cell(ColType, row);
    const QString from = m_table.Cell(ColFrom, row);
    TSource source;
    if (type == kDistanceText || type == kAngleText) {
        source.kind = type == kAngleText ? TKind::Angle : TKind::Distance;
        const qsizetype comma = from.indexOf(QLatin1Char(','));
        if (comma < 0)
            return std::nullopt;
        source.first = from.left(comma).trimmed();
        source.second = from.mid(comma + 1).trimmed();
        return source;
    }
    const auto featureType = TypeFromText(type);
    if (!featureType)
        return std::nullopt;
    source.type = *featureType;
    source.points = TPointNumbers::Read(from).value_or(QList<int>());
    if (source.points.isEmpty())
        source.recipe = TConstructionRecipe::Read(from);
    return source;
}

std::optional<TGeometryFeature> TFeatureRegister::Feature(int row) const
{
    const auto source = Source(row);
    if (!source || source->kind != TKind::Feature)
        return std::nullopt;
    const auto cell = [&](int column) { return ReadNumber(m_table.Cell(column, row)); };
    TGeometryFeature feature;
    feature.type = source->type;
    feature.points = static_cast<int>(source->points.size());
    const auto x = cell(ColX), y = cell(ColY), z = cell(ColZ);
    if (!x || !y || !z)
        return std::nullopt;
    feature.location = {*x, *y, *z};
    if (HasDirection(feature.type)) {
        const auto i = cell(ColI), j = cell(ColJ), k = cell(ColK);
        if (!i || !j || !k)
            return std::nullopt;
        const Eigen::Vector3d direction(*i, *j, *k);
        // Six decimals leave the cosines a little off unit length.
        if (direction.norm() < 0.5)
            return std::nullopt;
        feature.direction = direction.normalized();
    }
    if (HasSize(feature.type)) {
        const auto size = cell(ColSize);
        if (!size || *size < 0.0)
            return std::nullopt;
        feature.diameter = *size;
    }
    if (feature.type == TFeatureType::Cone) {
        const auto apex = cell(ColApex);
        if (!apex)
            return std::nullopt;
        feature.apexAngle = *apex;
    }
    feature.form = cell(ColForm).value_or(0.0);
    return feature;
}

TFeatureRegister::TRelated TFeatureRegister::Relate(TKind kind, int firstRow, int secondRow)
{
    const QString what = kind == TKind::Angle ? QStringLiteral("angle") : QStringLiteral("distance");
    std::array<TGeometryFeature, 2> features;
    const std::array rows{firstRow, secondRow};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto source = Source(rows[i]);
        if (!source)
            return {0, QStringLiteral("Select two features in the table for a %1.").arg(what)};
        if (source->kind != TKind::Feature)
            return {0, QStringLiteral("%1 is a %2, not a feature: select two features for a %3.")
                           .arg(Name(rows[i]), m_table.Cell(ColType, rows[i]).toLower(), what)};
        const auto feature = Feature(rows[i]);
        if (!feature)
            return {0, QStringLiteral("The values of %1 do not read as a feature.").arg(Name(rows[i]))};
        features[i] = *feature;
    }
    const TRelationOutcome outcome = kind == TKind::Angle ? FeatureAngle(features[0], features[1])
                                                          : FeatureDistance(features[0], features[1]);
    if (!outcome.ok)
        return {0, QStringLiteral("No %1 between %2 and %3: %4. Nothing was added.")
                       .arg(what, Name(firstRow), Name(secondRow), QString::fromStdString(outcome.reason))};
    TRelationValues values{outcome.value, std::nullopt};
    if (outcome.hasDelta)
        values.components = std::array{outcome.delta.x(), outcome.delta.y(), outcome.delta.z()};
    const int row = AddRelation(kind, Name(firstRow), Name(secondRow), values);
    if (row == 0)
        return {0, QStringLiteral("The features table is full: delete a feature to make room.")};
    return {row, {}};
}

void TFeatureRegister::DeleteRow(int row)
{
    const QString name = Name(row);
    const bool alignment = TPartAlignments::IsAlignmentRow(m_table, row);
    m_table.DeleteRow(row);
    if (alignment)
        m_alignments.Forget(name);
}

void TFeatureRegister::Clear()
{
    m_table.ClearDataRows();
    m_alignments.Clear();
    m_highest.fill(0);
}
