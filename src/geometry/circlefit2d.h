#pragma once

#include <Eigen/Core>
#include <optional>

// The circle fits in a plane that the circle in space and the starting values of the cylinder and the
// cone share. Points are the rows of a matrix, best centred on their centroid.
struct TCircle2d
{
    Eigen::Vector2d centre = Eigen::Vector2d::Zero();
    double radius = 0.0;
};

// The algebraic circle: the least-squares solution of x^2 + y^2 = 2 a x + 2 b y + c, a fair starting
// value even for a short arc. Nothing when the points are collinear.
std::optional<TCircle2d> AlgebraicCircle(const Eigen::MatrixX2d &points);

// The orthogonal least-squares circle from a starting circle; false when it does not converge.
bool RefineCircle(const Eigen::MatrixX2d &points, TCircle2d &circle, double tolerance);
