#include "geometry/characteristic.h"

#include <array>
#include <cmath>

namespace {

struct TKindName
{
    TCharacteristicKind kind;
    const char *name;
};

constexpr std::array KindNames{
    TKindName{TCharacteristicKind::Diameter, "Diameter"},
    TKindName{TCharacteristicKind::PositionX, "Position X"},
    TKindName{TCharacteristicKind::PositionY, "Position Y"},
    TKindName{TCharacteristicKind::PositionZ, "Position Z"},
    TKindName{TCharacteristicKind::Form, "Form"},
    TKindName{TCharacteristicKind::Distance, "Distance"},
    TKindName{TCharacteristicKind::Angle, "Angle"},
    TKindName{TCharacteristicKind::TruePosition, "True position"},
    TKindName{TCharacteristicKind::Perpendicularity, "Perpendicularity"},
    TKindName{TCharacteristicKind::Parallelism, "Parallelism"},
};

// The form error's usual name for each feature type.
constexpr std::array<const char *, 7> FormNames{"Form",       "Straightness", "Flatness", "Roundness",
                                                "Sphericity", "Cylindricity", "Conicity"};

bool OnOrBelow(double value, double limit)
{
    // Both sides are at most three decimals apart from exact; the margin only absorbs the binary
    // representation of such decimals (20.02 - 20 is 0.01999999999999957).
    return value <= limit + JudgedResolution * 1e-6;
}

} // namespace

std::string CharacteristicName(TCharacteristicKind kind, TFeatureType type)
{
    if (kind == TCharacteristicKind::Form)
        return FormNames[static_cast<std::size_t>(type)];
    for (const TKindName &entry : KindNames)
        if (entry.kind == kind)
            return entry.name;
    return {};
}

std::optional<TCharacteristicKind> CharacteristicKindFromName(const std::string &name)
{
    for (const TKindName &entry : KindNames)
        if (name == entry.name)
            return entry.kind;
    for (const char *form : FormNames)
        if (name == form)
            return TCharacteristicKind::Form;
    return std::nullopt;
}

bool HasUpperToleranceOnly(TCharacteristicKind kind)
{
    switch (kind) {
    case TCharacteristicKind::Form:
    case TCharacteristicKind::TruePosition:
    case TCharacteristicKind::Perpendicularity:
    case TCharacteristicKind::Parallelism:
        return true;
    default:
        return false;
    }
}

TJudgement Judge(TCharacteristicKind kind, const TTolerance &tolerance, std::optional<double> actual)
{
    TJudgement judgement;
    if (!actual || !std::isfinite(*actual))
        return judgement;
    const double shown = std::round(*actual / JudgedResolution) * JudgedResolution;
    judgement.actual = shown;
    judgement.deviation = shown - tolerance.nominal;
    const bool belowUpper = OnOrBelow(*judgement.deviation, tolerance.upper);
    const bool aboveLower = HasUpperToleranceOnly(kind) || OnOrBelow(tolerance.lower, *judgement.deviation);
    judgement.verdict = belowUpper && aboveLower ? TVerdict::Ok : TVerdict::Nok;
    return judgement;
}

double TruePositionDiameter(const Eigen::Vector2d &actual, const Eigen::Vector2d &nominal)
{
    return 2.0 * (actual - nominal).norm();
}

std::optional<double> FeatureActual(TCharacteristicKind kind, const TGeometryFeature &feature)
{
    switch (kind) {
    case TCharacteristicKind::Diameter:
        switch (feature.type) {
        case TFeatureType::Circle:
        case TFeatureType::Sphere:
        case TFeatureType::Cylinder:
        case TFeatureType::Cone:
            return feature.diameter;
        default:
            return std::nullopt;
        }
    case TCharacteristicKind::PositionX:
        return feature.location.x();
    case TCharacteristicKind::PositionY:
        return feature.location.y();
    case TCharacteristicKind::PositionZ:
        return feature.location.z();
    case TCharacteristicKind::Form:
        // A single point and a constructed feature have no form of their own.
        if (feature.type == TFeatureType::Point || feature.points == 0)
            return std::nullopt;
        return feature.form;
    default:
        return std::nullopt;
    }
}
