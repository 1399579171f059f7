#include "register/featureconstructor.h"

#include "common/coordinatetext.h"
#include "geometry/featureconstruction.h"
#include "geometry/featurerelation.h"
#include "register/featureregister.h"

#include <array>

namespace {

constexpr std::array kCaptions{"Intersection of two lines",           "Pierce point of a line in a plane",
                               "Line where two planes meet",          "Midpoint of two centres",
                               "Centre projected onto a plane",       "Line through two centres",
                               "Bolt circle of three or more centres"};

// What a construction makes, for its refusals.
constexpr std::array kResults{"intersection", "pierce point", "line where the planes meet",
                              "midpoint",     "projection",   "line through the centres",
                              "bolt circle"};

QString Word(TFeatureType type)
{
    return QString::fromStdString(FeatureTypeWord(type));
}

// "a line", "an axis": the article a type's word takes.
QString WithArticle(TFeatureType type)
{
    const QString word = Word(type);
    return (QStringLiteral("aeiou").contains(word.front()) ? QStringLiteral("an ") : QStringLiteral("a ")) +
           word;
}

QString Millimetres(double value)
{
    return FormatCoordinate(static_cast<float>(value));
}

} // namespace

TFeatureConstructor::TFeatureConstructor(TFeatureRegister &features, TPlaneOf plane)
    : m_features(features), m_plane(std::move(plane))
{}

QString TFeatureConstructor::Caption(TKind kind)
{
    return QString::fromLatin1(kCaptions[static_cast<int>(kind)]);
}

QString TFeatureConstructor::Read(const QList<int> &rows, std::vector<TGeometryFeature> &features) const
{
    features.clear();
    for (const int row : rows) {
        const auto source = m_features.Source(row);
        if (!source)
            return QStringLiteral("Select the features to construct from in the table.");
        if (source->kind != TFeatureRegister::TKind::Feature)
            return QStringLiteral("%1 is a %2, not a feature: constructions take features.")
                .arg(m_features.Name(row), m_features.Table().Cell(TFeatureRegister::ColType, row).toLower());
        const auto feature = m_features.Feature(row);
        if (!feature)
            return QStringLiteral("The values of %1 do not read as a feature.").arg(m_features.Name(row));
        features.push_back(*feature);
    }
    return {};
}

TFeatureConstructor::TPick TFeatureConstructor::Pick(const QList<int> &rows) const
{
    std::vector<TGeometryFeature> features;
    if (const QString problem = Read(rows, features); !problem.isEmpty())
        return {std::nullopt, problem};
    if (features.size() < 2)
        return {std::nullopt,
                QStringLiteral("Select two features (click one, Ctrl+click the other), or three "
                               "or more circles for a bolt circle, to construct from.")};
    if (features.size() > 2) {
        for (std::size_t i = 0; i < features.size(); ++i)
            if (!HasCentre(features[i].type))
                return {std::nullopt,
                        QStringLiteral("A bolt circle goes through circles, spheres or points; %1 "
                                       "is %2.")
                            .arg(m_features.Name(rows[static_cast<qsizetype>(i)]),
                                 WithArticle(features[i].type))};
        return {TKind::BoltCircle, {}};
    }
    const TFeatureType a = features[0].type;
    const TFeatureType b = features[1].type;
    const auto either = [&](auto first, auto second) {
        return (first(a) && second(b)) || (first(b) && second(a));
    };
    const auto plane = [](TFeatureType type) { return type == TFeatureType::Plane; };
    if (HasAxis(a) && HasAxis(b))
        return {TKind::Intersection, {}};
    if (either(HasAxis, plane))
        return {TKind::Pierce, {}};
    if (plane(a) && plane(b))
        return {TKind::Meet, {}};
    if (either(HasCentre, plane))
        return {TKind::Projection, {}};
    if (HasCentre(a) && HasCentre(b))
        return {TKind::Midpoint, {}};
    return {std::nullopt,
            QStringLiteral("Nothing is constructed from %1 and %2.").arg(WithArticle(a), WithArticle(b))};
}

TFeatureConstructor::TConstructed TFeatureConstructor::Construct(std::optional<TKind> kind,
                                                                 const QList<int> &rows)
{
    std::vector<TGeometryFeature> features;
    if (const QString problem = Read(rows, features); !problem.isEmpty())
        return {0, problem};
    if (!kind) {
        const TPick pick = Pick(rows);
        if (!pick.kind)
            return {0, pick.reason};
        kind = pick.kind;
    }
    const int count = TConstructionRecipe::InputCount(*kind);
    const auto given = rows.size();
    if (*kind == TKind::BoltCircle ? given < count : given != count)
        return {0, QStringLiteral("%1 takes %2 features; %3 selected.")
                       .arg(Caption(*kind), *kind == TKind::BoltCircle ? QStringLiteral("three or more")
                                                                       : QStringLiteral("two"))
                       .arg(given)};
    TConstructionRecipe recipe{*kind, {}};
    for (const int row : rows)
        recipe.inputs.append(m_features.Name(row));
    // The recipe takes the line, or the centre, before the plane.
    const bool planeFirst =
        features[0].type == TFeatureType::Plane && features[1].type != TFeatureType::Plane;
    if ((*kind == TKind::Pierce || *kind == TKind::Projection) && planeFirst)
        recipe.inputs.swapItemsAt(0, 1);

    const TWorked worked = Work(recipe);
    if (!worked.outcome.ok)
        return {0, QStringLiteral("No %1 from %2: %3. Nothing was added.")
                       .arg(QLatin1String(kResults[static_cast<int>(*kind)]),
                            recipe.inputs.join(QStringLiteral(", ")),
                            QString::fromStdString(worked.outcome.reason))};
    const int row = m_features.AddConstructed(worked.outcome.feature, recipe);
    if (row == 0)
        return {0, QStringLiteral("The features table is full: delete a feature to make room.")};
    QString message;
    if (worked.gap) {
        const QString gap = Millimetres(*worked.gap);
        message =
            worked.inPlane
                ? QStringLiteral("%1 and %2 crossed in the alignment's primary plane; in space they pass "
                                 "%3 mm apart")
                      .arg(recipe.inputs[0], recipe.inputs[1], gap)
                : QStringLiteral("%1 and %2 pass %3 mm apart; %4 is the midpoint of their closest points")
                      .arg(recipe.inputs[0], recipe.inputs[1], gap, m_features.Name(row));
    }
    return {row, message};
}

TFeatureConstructor::TWorked TFeatureConstructor::Work(const TConstructionRecipe &recipe) const
{
    std::vector<TGeometryFeature> features;
    for (const QString &name : recipe.inputs) {
        const auto feature = m_features.Feature(m_features.FindRow(name));
        if (!feature)
            return {
                TGeometryOutcome::Refused(name.toStdString() + " is not a feature of the table"), {}, false};
        features.push_back(*feature);
    }
    const auto two = [&](auto construct) {
        if (features.size() != 2)
            return TGeometryOutcome::Refused("it takes two features");
        return construct(features[0], features[1]);
    };
    switch (recipe.kind) {
    case TKind::Intersection: {
        if (features.size() != 2)
            return {TGeometryOutcome::Refused("it takes two lines"), {}, false};
        std::optional<TGeometryFeature> plane;
        if (m_plane)
            plane = m_plane();
        else if (const auto alignment = m_features.ActiveAlignment())
            plane = alignment->PrimaryPlane();
        const TLineIntersection crossed = IntersectLines(features[0], features[1], plane ? &*plane : nullptr);
        return {crossed.outcome, crossed.gap, plane.has_value()};
    }
    case TKind::Pierce:
        return {two(PiercePoint), {}, false};
    case TKind::Meet:
        return {two(PlanesIntersection), {}, false};
    case TKind::Midpoint:
        return {two(Midpoint), {}, false};
    case TKind::Projection:
        return {two(ProjectOntoPlane), {}, false};
    case TKind::Line:
        return {two(LineThroughCentres), {}, false};
    case TKind::BoltCircle:
        return {BoltCircle(features), {}, false};
    }
    return {TGeometryOutcome::Refused("unknown construction"), {}, false};
}

bool TFeatureConstructor::Recompute(int row)
{
    const auto source = m_features.Source(row);
    if (!source || !source->recipe)
        return false;
    const TWorked worked = Work(*source->recipe);
    if (!worked.outcome.ok)
        return false;
    m_features.Table().SetRowTexts(row, TFeatureRegister::ConstructedTexts(
                                            m_features.Name(row), worked.outcome.feature, *source->recipe));
    return true;
}
