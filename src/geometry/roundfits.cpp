#include "geometry/circlefit2d.h"
#include "geometry/featurefit.h"
#include "geometry/fitsupport.h"

#include <Eigen/QR>
#include <cmath>

// The circle in space and the sphere: algebraic starting values, then the orthogonal least squares.

TGeometryOutcome FitCircle(const TPointList &points)
{
    if (auto reason = CheckInput(points, MinimumPoints(TFeatureType::Circle), "circle"))
        return TGeometryOutcome::Refused(*reason);
    const TPointSpread spread = Spread(points);
    if (auto reason = CheckSpan(spread, points.size(), 2))
        return TGeometryOutcome::Refused(*reason);

    // The points projected into their least-squares plane, in the frame of its two in-plane axes.
    const Eigen::Vector3d u = spread.axes.col(0);
    const Eigen::Vector3d v = spread.axes.col(1);
    Eigen::MatrixX2d planar(points.size(), 2);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Eigen::Vector3d w = points[i] - spread.centroid;
        planar(i, 0) = w.dot(u);
        planar(i, 1) = w.dot(v);
    }
    auto circle = AlgebraicCircle(planar);
    const double tolerance = 1e-12 * (1.0 + spread.Rms(0, points.size()));
    if (!circle || !RefineCircle(planar, *circle, tolerance) || !(circle->radius > 0.0))
        return TGeometryOutcome::Refused("the circle fit does not converge");

    TGeometryFeature feature;
    feature.type = TFeatureType::Circle;
    feature.location = spread.centroid + circle->centre(0) * u + circle->centre(1) * v;
    feature.direction = Canonical(u.cross(v));
    feature.diameter = 2.0 * circle->radius;
    std::vector<double> residuals;
    residuals.reserve(points.size());
    for (Eigen::Index i = 0; i < planar.rows(); ++i)
        residuals.push_back((planar.row(i).transpose() - circle->centre).norm() - circle->radius);
    Summarise(feature, std::move(residuals));
    return TGeometryOutcome::Made(std::move(feature));
}

namespace {
// The centre and the radius; each point's residual is its distance from the centre minus the radius.
// Points are centred on their centroid.
struct TSphereModel
{
    using State = Eigen::Vector4d;
    const Eigen::MatrixX3d &points;
    double tolerance;

    void Evaluate(const State &s, Eigen::VectorXd &residuals, Eigen::MatrixXd *jacobian) const
    {
        const Eigen::Index n = points.rows();
        residuals.resize(n);
        if (jacobian)
            jacobian->resize(n, 4);
        for (Eigen::Index i = 0; i < n; ++i) {
            const Eigen::Vector3d w = points.row(i).transpose() - s.head<3>();
            const double d = w.norm();
            residuals(i) = d - s(3);
            if (jacobian) {
                if (d > 0.0)
                    jacobian->block<1, 3>(i, 0) = -w.transpose() / d;
                else
                    jacobian->block<1, 3>(i, 0).setZero();
                (*jacobian)(i, 3) = -1.0;
            }
        }
    }
    State Apply(const State &s, const Eigen::VectorXd &step) const { return s + step; }
    double Change(const Eigen::VectorXd &step) const { return step.lpNorm<Eigen::Infinity>(); }
    double Tolerance() const { return tolerance; }
};
} // namespace

TGeometryOutcome FitSphere(const TPointList &points)
{
    if (auto reason = CheckInput(points, MinimumPoints(TFeatureType::Sphere), "sphere"))
        return TGeometryOutcome::Refused(*reason);
    const TPointSpread spread = Spread(points);
    if (auto reason = CheckSpan(spread, points.size(), 3))
        return TGeometryOutcome::Refused(*reason);

    const Eigen::Index n = static_cast<Eigen::Index>(points.size());
    const double scale = spread.Rms(0, points.size());
    Eigen::MatrixX3d centred(n, 3);
    for (Eigen::Index i = 0; i < n; ++i)
        centred.row(i) = (points[i] - spread.centroid).transpose();

    // Algebraic start on unit-scaled points: |p|^2 = 2 c.p + (r^2 - |c|^2).
    Eigen::MatrixX4d design(n, 4);
    design.leftCols<3>() = 2.0 * centred / scale;
    design.col(3).setOnes();
    const Eigen::VectorXd rhs = (centred / scale).rowwise().squaredNorm();
    const Eigen::Vector4d abcd = design.colPivHouseholderQr().solve(rhs);
    const double r2 = abcd(3) + abcd.head<3>().squaredNorm();
    if (!abcd.allFinite() || !(r2 > 0.0))
        return TGeometryOutcome::Refused("the sphere fit does not converge");

    TSphereModel model{centred, 1e-12 * (1.0 + scale)};
    Eigen::Vector4d state;
    state << scale * abcd.head<3>(), scale * std::sqrt(r2);
    if (!Minimise(model, state) || !state.allFinite() || !(state(3) > 0.0))
        return TGeometryOutcome::Refused("the sphere fit does not converge");

    TGeometryFeature sphere;
    sphere.type = TFeatureType::Sphere;
    sphere.location = spread.centroid + state.head<3>();
    sphere.diameter = 2.0 * state(3);
    std::vector<double> residuals;
    residuals.reserve(points.size());
    for (Eigen::Index i = 0; i < n; ++i)
        residuals.push_back((centred.row(i).transpose() - state.head<3>()).norm() - state(3));
    Summarise(sphere, std::move(residuals));
    return TGeometryOutcome::Made(std::move(sphere));
}
