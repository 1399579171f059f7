#pragma once

#include "geometry/geometryfeature.h"

// A fitted feature against a known one as ISO 10360-6 compares them: location (the distance between
// the centres, or from the known point to the fitted line, plane or axis), orientation (the angle
// between the directions, of either sign but for a cone's axis) and size (the diameters; for a cone
// the distances from the known point to the surface, and the apex angles).
struct TReference
{
    TFeatureType type = TFeatureType::Point;
    Eigen::Vector3d point = Eigen::Vector3d::Zero(); // a centre, or any point of the line, plane or axis
    Eigen::Vector3d direction = Eigen::Vector3d::Zero();
    double diameter = 0.0;
    double apexAngle = 0.0; // degrees
    double toSurface = 0.0; // a cone: the distance from point to its surface
};

struct TDeviation
{
    double location = 0.0;    // mm
    double orientation = 0.0; // rad
    double size = 0.0;        // mm
    double apex = 0.0;        // rad
};

TDeviation Deviation(const TGeometryFeature &fit, const TReference &reference);
