#include "geometry/featurefit.h"

// The fits are being written; until then every fit refuses.
namespace {
TGeometryOutcome NotYet()
{
    return TGeometryOutcome::Refused("fit not available yet");
}
} // namespace

TGeometryOutcome FitLine(const TPointList &)
{
    return NotYet();
}
TGeometryOutcome FitPlane(const TPointList &)
{
    return NotYet();
}
TGeometryOutcome FitCircle(const TPointList &)
{
    return NotYet();
}
TGeometryOutcome FitSphere(const TPointList &)
{
    return NotYet();
}
TGeometryOutcome FitCylinder(const TPointList &)
{
    return NotYet();
}
TGeometryOutcome FitCone(const TPointList &)
{
    return NotYet();
}
TGeometryOutcome FitFeature(TFeatureType, const TPointList &)
{
    return NotYet();
}

int MinimumPoints(TFeatureType type)
{
    switch (type) {
    case TFeatureType::Point:
        return 1;
    case TFeatureType::Line:
        return 2;
    case TFeatureType::Plane:
    case TFeatureType::Circle:
        return 3;
    case TFeatureType::Sphere:
        return 4;
    case TFeatureType::Cylinder:
        return 5;
    case TFeatureType::Cone:
        return 6;
    }
    return 1;
}
