#include "geometry/circlefit2d.h"

#include "geometry/fitsupport.h"

#include <Eigen/QR>
#include <cmath>

std::optional<TCircle2d> AlgebraicCircle(const Eigen::MatrixX2d &points)
{
    const Eigen::Index n = points.rows();
    if (n < 3)
        return std::nullopt;
    // Scaled to a unit spread so that the squared coordinates stay well conditioned.
    const Eigen::RowVector2d mean = points.colwise().mean();
    const Eigen::MatrixX2d centred = points.rowwise() - mean;
    const double scale = std::sqrt(centred.squaredNorm() / static_cast<double>(n));
    if (!(scale > 0.0))
        return std::nullopt;
    const Eigen::MatrixX2d unit = centred / scale;
    Eigen::MatrixX3d design(n, 3);
    design.col(0) = 2.0 * unit.col(0);
    design.col(1) = 2.0 * unit.col(1);
    design.col(2).setOnes();
    const Eigen::VectorXd rhs = unit.rowwise().squaredNorm();
    const auto qr = design.colPivHouseholderQr();
    if (qr.rank() < 3)
        return std::nullopt;
    const Eigen::Vector3d abc = qr.solve(rhs);
    const double r2 = abc(2) + abc(0) * abc(0) + abc(1) * abc(1);
    if (!abc.allFinite() || !(r2 > 0.0))
        return std::nullopt;
    TCircle2d circle;
    circle.centre = mean.transpose() + scale * abc.head<2>();
    circle.radius = scale * std::sqrt(r2);
    return circle;
}

namespace {
// The centre (a, b) and radius r; each point's residual is its distance from the centre minus r.
struct TCircleModel
{
    using State = Eigen::Vector3d;
    const Eigen::MatrixX2d &points;
    double tolerance;

    void Evaluate(const State &s, Eigen::VectorXd &residuals, Eigen::MatrixXd *jacobian) const
    {
        const Eigen::Index n = points.rows();
        residuals.resize(n);
        if (jacobian)
            jacobian->resize(n, 3);
        for (Eigen::Index i = 0; i < n; ++i) {
            const double dx = points(i, 0) - s(0);
            const double dy = points(i, 1) - s(1);
            const double d = std::sqrt(dx * dx + dy * dy);
            residuals(i) = d - s(2);
            if (jacobian) {
                (*jacobian)(i, 0) = d > 0.0 ? -dx / d : 0.0;
                (*jacobian)(i, 1) = d > 0.0 ? -dy / d : 0.0;
                (*jacobian)(i, 2) = -1.0;
            }
        }
    }
    State Apply(const State &s, const Eigen::VectorXd &step) const { return s + step; }
    double Change(const Eigen::VectorXd &step) const { return step.lpNorm<Eigen::Infinity>(); }
    double Tolerance() const { return tolerance; }
};
} // namespace

bool RefineCircle(const Eigen::MatrixX2d &points, TCircle2d &circle, double tolerance)
{
    TCircleModel model{points, tolerance};
    Eigen::Vector3d state(circle.centre(0), circle.centre(1), circle.radius);
    const bool converged = Minimise(model, state);
    if (!converged || !state.allFinite())
        return false;
    circle.centre = state.head<2>();
    circle.radius = state(2);
    return true;
}
