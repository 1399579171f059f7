#pragma once

#include "geometry/geometryfeature.h"

#include <string>

// Distances and angles between two features. Centres are points, circles and spheres (their centre);
// axes are lines, cylinders and cones (a line's direction, the others' axes); planes are planes, and a
// circle also stands for its own plane where an angle asks for one.
struct TRelationOutcome
{
    bool ok = false;
    // A distance in millimetres or an angle in degrees. A distance to a plane is signed by the plane's
    // normal; every other distance is unsigned. Angles lie in 0..90: lines and normals carry no sense.
    double value = 0.0;
    // Centre to centre: the second centre less the first (dX, dY, dZ). Zero for the other relations.
    Eigen::Vector3d delta = Eigen::Vector3d::Zero();
    bool hasDelta = false;
    // Why the pair has no such relation ("no angle between two spheres").
    std::string reason;

    static TRelationOutcome Value(double value) { return {true, value, Eigen::Vector3d::Zero(), false, {}}; }
    static TRelationOutcome Refused(std::string reason)
    {
        return {false, 0.0, Eigen::Vector3d::Zero(), false, std::move(reason)};
    }
};

// The feature stands for a point: a point, or the centre of a circle or a sphere.
bool HasCentre(TFeatureType type);
// The feature has a line or an axis: a line, a cylinder, a cone.
bool HasAxis(TFeatureType type);
// "line", "plane", "circle"... for the reasons the relations and constructions give.
std::string FeatureTypeWord(TFeatureType type);

// Two planes count as parallel (for their distance) when their normals are within this angle, degrees.
constexpr double ParallelPlanesToleranceDeg = 1.0;

// Centre to centre (with dX, dY, dZ), a centre to a line or axis, a centre to a plane (signed by the
// normal), between lines or axes (the shortest), between parallel planes, a line or axis to a plane it is
// parallel to. Either order of the pair gives the same value.
TRelationOutcome FeatureDistance(const TGeometryFeature &a, const TGeometryFeature &b);
// Between lines or axes, planes, a line or axis and a plane (the angle the line makes with the plane).
TRelationOutcome FeatureAngle(const TGeometryFeature &a, const TGeometryFeature &b);
// The angle of a line's or axis's direction (or a plane's normal) to a given unit direction, 0..90.
TRelationOutcome AngleToDirection(const TGeometryFeature &feature, const Eigen::Vector3d &direction);
