#include "geometry/circlefit2d.h"
#include "geometry/featurefit.h"
#include "geometry/fitsupport.h"

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <numbers>

// The cylinder and the cone, by Levenberg-Marquardt in a frame that follows the axis: each iteration
// works in the frame (u, v, n) of the current axis through its point nearest the centroid, where the
// Jacobian is simple and well conditioned, moves the axis point by (dx, dy) in the plane across the
// axis and tilts the axis to (n + a u + b v) normalised. Starting values come from several axis
// directions (the principal axes of the points and the axis of their algebraic quadric), each with
// the circle of the points projected across it; the fit with the least sum of squares wins.

namespace {
// The points centred on their centroid, and the lengths the fits measure themselves by.
struct TCentred
{
    Eigen::MatrixX3d points;
    double size = 0.0;      // the largest root mean square spread about the centroid
    double tolerance = 0.0; // a step below this length has converged
};

TCentred Centre(const TPointList &points, const TPointSpread &spread)
{
    TCentred c;
    c.points.resize(static_cast<Eigen::Index>(points.size()), 3);
    for (std::size_t i = 0; i < points.size(); ++i)
        c.points.row(static_cast<Eigen::Index>(i)) = (points[i] - spread.centroid).transpose();
    c.size = spread.Rms(0, points.size());
    c.tolerance = 1e-12 * (1.0 + c.size);
    return c;
}

// The axis of the quadric that fits the points algebraically: of the eigenvalues of its quadratic
// part, the one set apart from the other two (a cylinder's zero, a cone's negative one).
std::optional<Eigen::Vector3d> QuadricAxis(const TCentred &c)
{
    const Eigen::Index n = c.points.rows();
    if (n < 9 || !(c.size > 0.0))
        return std::nullopt;
    Eigen::Matrix<double, Eigen::Dynamic, 10> design(n, 10);
    for (Eigen::Index i = 0; i < n; ++i) {
        const Eigen::Vector3d p = c.points.row(i).transpose() / c.size;
        design.row(i) << p.x() * p.x(), p.y() * p.y(), p.z() * p.z(), p.x() * p.y(), p.x() * p.z(),
            p.y() * p.z(), p.x(), p.y(), p.z(), 1.0;
    }
    const Eigen::Matrix<double, 10, 10> scatter = design.transpose() * design;
    Eigen::SelfAdjointEigenSolver<Eigen::Matrix<double, 10, 10>> solver(scatter);
    if (solver.info() != Eigen::Success)
        return std::nullopt;
    const Eigen::Matrix<double, 10, 1> q = solver.eigenvectors().col(0);
    Eigen::Matrix3d a;
    a << q(0), q(3) / 2, q(4) / 2, q(3) / 2, q(1), q(5) / 2, q(4) / 2, q(5) / 2, q(2);
    Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> quadratic(a);
    if (quadratic.info() != Eigen::Success)
        return std::nullopt;
    const Eigen::Vector3d l = quadratic.eigenvalues();
    const Eigen::Vector3d axis = quadratic.eigenvectors().col(l(1) - l(0) > l(2) - l(1) ? 0 : 2);
    if (!axis.allFinite())
        return std::nullopt;
    return axis.normalized();
}

std::vector<Eigen::Vector3d> CandidateAxes(const TCentred &c, const TPointSpread &spread)
{
    std::vector<Eigen::Vector3d> axes;
    if (auto quadric = QuadricAxis(c))
        axes.push_back(*quadric);
    for (int k = 0; k < 3; ++k)
        axes.push_back(spread.axes.col(k));
    return axes;
}

// The axis frame at the start of an iteration: u, v across the axis, n along it.
struct TAxisFrame
{
    Eigen::Vector3d u, v, n;
};

TAxisFrame FrameOf(const Eigen::Vector3d &n)
{
    TAxisFrame f;
    f.n = n;
    CompleteFrame(n, f.u, f.v);
    return f;
}

// Moves the axis by the first four step components and brings its point back to the one nearest the
// centroid (the origin of the centred points); returns how far along the axis the point went.
double MoveAxis(Eigen::Vector3d &point, Eigen::Vector3d &axis, const Eigen::VectorXd &step)
{
    const TAxisFrame f = FrameOf(axis);
    point += step(0) * f.u + step(1) * f.v;
    axis = (f.n + step(2) * f.u + step(3) * f.v).normalized();
    const double along = -point.dot(axis);
    point += along * axis;
    return along;
}

struct TAxialState
{
    Eigen::Vector3d point = Eigen::Vector3d::Zero();
    Eigen::Vector3d axis = Eigen::Vector3d::UnitZ();
    double radius = 0.0; // cylinder: the radius; cone: the distance from point to the surface
    double psi = 0.0;    // cone: the half apex angle, positive when the radius grows along the axis
};

// Cylinder: residual = distance from the axis - radius. Parameters dx, dy, a, b, radius.
struct TCylinderModel
{
    using State = TAxialState;
    const TCentred &c;

    void Evaluate(const State &s, Eigen::VectorXd &residuals, Eigen::MatrixXd *jacobian) const
    {
        const TAxisFrame f = FrameOf(s.axis);
        const Eigen::Index n = c.points.rows();
        residuals.resize(n);
        if (jacobian)
            jacobian->resize(n, 5);
        for (Eigen::Index i = 0; i < n; ++i) {
            const Eigen::Vector3d w = c.points.row(i).transpose() - s.point;
            const double x = w.dot(f.u), y = w.dot(f.v), z = w.dot(f.n);
            const double rho = std::sqrt(x * x + y * y);
            residuals(i) = rho - s.radius;
            if (jacobian) {
                const double cx = rho > 0.0 ? x / rho : 0.0, cy = rho > 0.0 ? y / rho : 0.0;
                jacobian->row(i) << -cx, -cy, -cx * z, -cy * z, -1.0;
            }
        }
    }
    State Apply(const State &s, const Eigen::VectorXd &step) const
    {
        State t = s;
        MoveAxis(t.point, t.axis, step);
        t.radius += step(4);
        return t;
    }
    double Change(const Eigen::VectorXd &step) const
    {
        return std::max({std::abs(step(0)), std::abs(step(1)), std::abs(step(4)),
                         (std::abs(step(2)) + std::abs(step(3))) * c.size});
    }
    double Tolerance() const { return c.tolerance; }
};

// Cone: residual = rho cos(psi) - z sin(psi) - s, the orthogonal distance from the surface for points
// on the side of the apex the surface opens to. Parameters dx, dy, a, b, psi, s.
struct TConeModel
{
    using State = TAxialState;
    const TCentred &c;

    void Evaluate(const State &s, Eigen::VectorXd &residuals, Eigen::MatrixXd *jacobian) const
    {
        const TAxisFrame f = FrameOf(s.axis);
        const double cp = std::cos(s.psi), sp = std::sin(s.psi);
        const Eigen::Index n = c.points.rows();
        residuals.resize(n);
        if (jacobian)
            jacobian->resize(n, 6);
        for (Eigen::Index i = 0; i < n; ++i) {
            const Eigen::Vector3d w = c.points.row(i).transpose() - s.point;
            const double x = w.dot(f.u), y = w.dot(f.v), z = w.dot(f.n);
            const double rho = std::sqrt(x * x + y * y);
            residuals(i) = rho * cp - z * sp - s.radius;
            if (jacobian) {
                const double cx = rho > 0.0 ? x / rho : 0.0, cy = rho > 0.0 ? y / rho : 0.0;
                jacobian->row(i) << -cx * cp, -cy * cp, -cx * z * cp - x * sp, -cy * z * cp - y * sp,
                    -rho * sp - z * cp, -1.0;
            }
        }
    }
    State Apply(const State &s, const Eigen::VectorXd &step) const
    {
        State t = s;
        t.psi += step(4);
        t.radius += step(5) + MoveAxis(t.point, t.axis, step) * std::sin(t.psi);
        return t;
    }
    double Change(const Eigen::VectorXd &step) const
    {
        return std::max({std::abs(step(0)), std::abs(step(1)), std::abs(step(5)),
                         (std::abs(step(2)) + std::abs(step(3)) + std::abs(step(4))) * c.size});
    }
    double Tolerance() const { return c.tolerance; }
};

// Where the points stand across and along a candidate axis through the centroid: the circle of their
// projections and each point's distance from its centre and position along the axis.
struct TProjection
{
    TCircle2d circle;
    Eigen::VectorXd rho, z;
};

std::optional<TProjection> Project(const TCentred &c, const Eigen::Vector3d &axis)
{
    const TAxisFrame f = FrameOf(axis);
    const Eigen::MatrixX2d planar = c.points * (Eigen::Matrix<double, 3, 2>() << f.u, f.v).finished();
    auto circle = AlgebraicCircle(planar);
    if (!circle)
        return std::nullopt;
    TProjection p;
    p.circle = *circle;
    p.rho = (planar.rowwise() - circle->centre.transpose()).rowwise().norm();
    p.z = c.points * f.n;
    return p;
}

TAxialState StartOnAxis(const Eigen::Vector3d &axis, const TCircle2d &circle)
{
    const TAxisFrame f = FrameOf(axis);
    TAxialState s;
    s.axis = axis;
    s.point = circle.centre(0) * f.u + circle.centre(1) * f.v;
    s.radius = circle.radius;
    return s;
}

template <class Model> double SumOfSquares(const Model &model, const TAxialState &s)
{
    Eigen::VectorXd r;
    model.Evaluate(s, r, nullptr);
    return r.allFinite() ? r.squaredNorm() : HUGE_VAL;
}

// Scouts every start for a few iterations, then finishes the one with the least sum of squares (the
// next when it does not converge or is not valid): the starts that head for another minimum cost a
// few iterations each instead of a whole fit.
template <class Model, class Valid>
std::optional<TAxialState> BestFit(const Model &model, std::vector<TAxialState> starts, Valid valid)
{
    constexpr int kScoutIterations = 4;
    std::vector<std::pair<double, TAxialState>> scouted;
    for (TAxialState &s : starts) {
        Minimise(model, s, kScoutIterations);
        if (const double cost = SumOfSquares(model, s); cost < HUGE_VAL)
            scouted.emplace_back(cost, s);
    }
    std::sort(scouted.begin(), scouted.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (auto &[cost, s] : scouted)
        if (Minimise(model, s) && valid(s))
            return s;
    return std::nullopt;
}

// The axial extent of the points along the fitted axis.
double AxialExtent(const TCentred &c, const Eigen::Vector3d &axis)
{
    const Eigen::VectorXd z = c.points * axis;
    return z.maxCoeff() - z.minCoeff();
}

TGeometryOutcome CheckAxial(const TPointList &points, TFeatureType type, const char *name,
                            TPointSpread &spread)
{
    if (auto reason = CheckInput(points, MinimumPoints(type), name))
        return TGeometryOutcome::Refused(*reason);
    spread = Spread(points);
    if (auto reason = CheckSpan(spread, points.size(), 3))
        return TGeometryOutcome::Refused(*reason);
    if (DistinctCount(points, spread.tolerance) < static_cast<std::size_t>(MinimumPoints(type)))
        return TGeometryOutcome::Refused(std::string("a ") + name + " needs at least " +
                                         std::to_string(MinimumPoints(type)) + " distinct points");
    return TGeometryOutcome{true, {}, {}};
}
} // namespace

TGeometryOutcome FitCylinder(const TPointList &points)
{
    TPointSpread spread;
    if (auto checked = CheckAxial(points, TFeatureType::Cylinder, "cylinder", spread); !checked.ok)
        return checked;
    const TCentred c = Centre(points, spread);
    const TCylinderModel model{c};

    std::vector<TAxialState> starts;
    for (const auto &axis : CandidateAxes(c, spread))
        if (const auto projection = Project(c, axis))
            starts.push_back(StartOnAxis(axis, projection->circle));
    const auto best = BestFit(model, std::move(starts), [](const TAxialState &s) { return s.radius > 0.0; });
    if (!best)
        return TGeometryOutcome::Refused("the cylinder fit does not converge");

    TGeometryFeature cylinder;
    cylinder.type = TFeatureType::Cylinder;
    cylinder.location = spread.centroid + best->point;
    cylinder.direction = Canonical(best->axis);
    cylinder.diameter = 2.0 * best->radius;
    Eigen::VectorXd residuals;
    model.Evaluate(*best, residuals, nullptr);
    Summarise(cylinder, std::vector<double>(residuals.begin(), residuals.end()));
    return TGeometryOutcome::Made(std::move(cylinder));
}

TGeometryOutcome FitCone(const TPointList &points)
{
    TPointSpread spread;
    if (auto checked = CheckAxial(points, TFeatureType::Cone, "cone", spread); !checked.ok)
        return checked;
    const TCentred c = Centre(points, spread);
    const TConeModel model{c};

    std::vector<TAxialState> starts;
    for (const auto &axis : CandidateAxes(c, spread)) {
        const auto projection = Project(c, axis);
        if (!projection)
            continue;
        // The radius grows linearly along the axis: rho = r0 + z tan(psi), fitted by least squares.
        TAxialState s = StartOnAxis(axis, projection->circle);
        const Eigen::VectorXd dz = projection->z.array() - projection->z.mean();
        const double zz = dz.squaredNorm();
        const double slope = zz > 0.0 ? dz.dot(projection->rho) / zz : 0.0;
        const double r0 = projection->rho.mean() - slope * projection->z.mean();
        s.psi = std::atan(slope);
        s.radius = r0 * std::cos(s.psi);
        starts.push_back(s);
    }
    const auto best =
        BestFit(model, std::move(starts), [](const TAxialState &s) { return std::cos(s.psi) > 0.0; });
    if (!best)
        return TGeometryOutcome::Refused("the cone fit does not converge");
    TAxialState s = *best;
    if (s.psi < 0.0) {
        s.axis = -s.axis;
        s.psi = -s.psi;
    }
    // A radius that changes by less than the coordinates' rounding over the points is a cylinder's; a
    // half angle of a right angle is a plane's.
    if (std::sin(s.psi) * AxialExtent(c, s.axis) <= spread.tolerance)
        return TGeometryOutcome::Refused("the points lie on a cylinder, not a cone");
    if (std::cos(s.psi) <= 1e-9)
        return TGeometryOutcome::Refused("the points lie in a plane, not on a cone");
    if (!(s.radius > 0.0))
        return TGeometryOutcome::Refused("the cone's apex lies among the points");

    TGeometryFeature cone;
    cone.type = TFeatureType::Cone;
    cone.location = spread.centroid + s.point;
    cone.direction = s.axis;
    cone.diameter = 2.0 * s.radius / std::cos(s.psi);
    cone.apexAngle = 2.0 * s.psi * 180.0 / std::numbers::pi;
    Eigen::VectorXd residuals;
    model.Evaluate(s, residuals, nullptr);
    Summarise(cone, std::vector<double>(residuals.begin(), residuals.end()));
    return TGeometryOutcome::Made(std::move(cone));
}
