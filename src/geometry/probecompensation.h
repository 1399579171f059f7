#pragma once

#include "geometry/geometryfeature.h"

#include <optional>
#include <string>
#include <vector>

// The recorded points are the centres of the probe's ball. A feature fitted to them lies one ball radius
// off the surface, on the side the probe came from; compensation moves it onto the surface.

// The operator's choice of side: Auto decides it from the approach directions; Inside (a bore, or a
// plane probed from behind its normal) and Outside (a boss, or a plane probed from the side its normal
// points to) set it by hand for circles, spheres, cylinders, cones and planes; None leaves the feature
// as fitted.
enum class TProbeSide
{
    Auto,
    Inside,
    Outside,
    None,
};

using TApproachList = std::vector<std::optional<Eigen::Vector3d>>;

struct TCompensationOutcome
{
    // The fit (compensated or not); outcome.ok is false only when the fit itself was refused.
    TGeometryOutcome outcome;
    bool compensated = false;
    // The side used: Inside or Outside when compensated, None otherwise.
    TProbeSide side = TProbeSide::None;
    // Why a feature with a ball was left as fitted ("the approach directions disagree"); empty when it
    // was compensated or when there is no ball (diameter 0).
    std::string reason;
};

// Compensates a feature fitted to ball centres. approaches holds one entry per point (the direction the
// probe was moving as it touched, any length; none where it did not move) or is empty. Circles,
// cylinders and spheres probed from inside grow by the ball diameter and from outside shrink by it; a
// cone's diameter changes by the ball diameter over the cosine of its half angle. A plane moves by the
// radius the way the probe was moving; a line by the radius along the part of the mean approach square
// to the line; a point by the radius along its approach. Disagreeing, missing or tangential approaches
// leave the feature as fitted, with the reason. A negative or non-finite diameter is refused the same
// way; a boss smaller than the ball too.
TCompensationOutcome CompensateFeature(const TGeometryFeature &fitted, const TPointList &centres,
                                       const TApproachList &approaches, double ballDiameter,
                                       TProbeSide side = TProbeSide::Auto);

// FitFeature on the ball centres, then CompensateFeature.
TCompensationOutcome FitCompensated(TFeatureType type, const TPointList &centres,
                                    const TApproachList &approaches, double ballDiameter,
                                    TProbeSide side = TProbeSide::Auto);
