#pragma once

#include "geometry/geometryfeature.h"

#include <Eigen/Core>
#include <Eigen/Geometry>
#include <cmath>
#include <optional>
#include <string>

// What the fits share: the checks of the input, the spread of the points, the sign rule of directions,
// the residual summary and the damped Gauss-Newton step of the non-linear fits.

// A reason to refuse the points before any fit: too few of them for the type, or a coordinate that is
// not a finite number.
std::optional<std::string> CheckInput(const TPointList &points, int minimum, const char *typeName);

// The centroid and the principal axes of the points: the singular values of the centred points in
// decreasing order and the matching unit axes as the columns of axes. tolerance is the length below
// which a spread counts as none: it follows the size of the part and its distance from the origin, so
// that rounding of the coordinates never reads as a shape.
struct TPointSpread
{
    Eigen::Vector3d centroid = Eigen::Vector3d::Zero();
    Eigen::Vector3d singular = Eigen::Vector3d::Zero();
    Eigen::Matrix3d axes = Eigen::Matrix3d::Identity();
    double tolerance = 0.0;

    // The root mean square distance of the points from the centroid along principal axis k.
    double Rms(int k, std::size_t count) const;
};
TPointSpread Spread(const TPointList &points);

// The reason a spread does not fix a feature that needs `dimensions` independent directions (1 a line,
// 2 a plane, 3 a solid), or nothing when it does.
std::optional<std::string> CheckSpan(const TPointSpread &spread, std::size_t count, int dimensions);

// The direction turned so that its largest component is positive (the first such one on a tie).
Eigen::Vector3d Canonical(const Eigen::Vector3d &direction);

// Two unit vectors that complete the unit vector n to a right-handed orthonormal frame (u, v, n).
void CompleteFrame(const Eigen::Vector3d &n, Eigen::Vector3d &u, Eigen::Vector3d &v);

// Fills the fit's summary: the number of points, the residuals, their root mean square and the form
// error as the largest minus the smallest residual.
void Summarise(TGeometryFeature &feature, std::vector<double> residuals);

// The step of a Levenberg-Marquardt iteration: the least-squares solution of J d = -r, damped by lambda
// times the column scales of J (no damping when lambda is zero). Solved by QR on the stacked system,
// without forming the normal equations.
Eigen::VectorXd DampedStep(const Eigen::MatrixXd &jacobian, const Eigen::VectorXd &residuals, double lambda);

// How many of the points differ from one another by more than tolerance (points closer than that
// that do not sort next to each other count twice, which only errs toward accepting a set).
std::size_t DistinctCount(const TPointList &points, double tolerance);

// Levenberg-Marquardt: starts with a Gauss-Newton step and damps only when a step fails to lower the
// sum of squares. A Model provides
//   using State = ...;
//   void Evaluate(const State &, Eigen::VectorXd &residuals, Eigen::MatrixXd *jacobian) const;
//   State Apply(const State &, const Eigen::VectorXd &step) const;
//   double Change(const Eigen::VectorXd &step) const;   // the step as a length, mm
//   double Tolerance() const;                            // a change below it has converged
// Returns false when the iterations run out or the model gives no finite residuals; state is then the
// best one reached.
template <class Model>
bool Minimise(const Model &model, typename Model::State &state, int maxIterations = 100)
{
    Eigen::VectorXd residuals;
    Eigen::MatrixXd jacobian;
    model.Evaluate(state, residuals, &jacobian);
    if (!residuals.allFinite() || !jacobian.allFinite())
        return false;
    double cost = residuals.squaredNorm();
    double lambda = 0.0;
    Eigen::VectorXd trialResiduals;
    for (int iteration = 0; iteration < maxIterations; ++iteration) {
        const Eigen::VectorXd step = DampedStep(jacobian, residuals, lambda);
        if (!step.allFinite())
            return false;
        const double change = model.Change(step);
        typename Model::State trial = model.Apply(state, step);
        model.Evaluate(trial, trialResiduals, nullptr);
        const double trialCost = trialResiduals.allFinite() ? trialResiduals.squaredNorm() : HUGE_VAL;
        if (trialCost <= cost) {
            state = trial;
            cost = trialCost;
            // A damped step is short because of the damping; only an undamped one tells convergence.
            if (lambda == 0.0 && change <= model.Tolerance())
                return true;
            model.Evaluate(state, residuals, &jacobian);
            lambda = lambda > 1e-6 ? lambda * 0.1 : 0.0;
        } else {
            // A step too short to matter that still does not descend: the minimum within rounding.
            if (change <= model.Tolerance())
                return true;
            lambda = lambda > 0.0 ? lambda * 10.0 : 1e-3;
            if (lambda > 1e16)
                return true;
        }
    }
    return false;
}
