#include "geometry/fitsupport.h"

#include <Eigen/QR>
#include <Eigen/SVD>
#include <algorithm>
#include <cmath>

std::optional<std::string> CheckInput(const TPointList &points, int minimum, const char *typeName)
{
    for (std::size_t i = 0; i < points.size(); ++i)
        if (!points[i].allFinite())
            return "point " + std::to_string(i + 1) + " is not a finite number";
    if (points.size() < static_cast<std::size_t>(minimum))
        return std::string("a ") + typeName + " needs at least " + std::to_string(minimum) + " points, got " +
               std::to_string(points.size());
    return std::nullopt;
}

double TPointSpread::Rms(int k, std::size_t count) const
{
    return count ? singular(k) / std::sqrt(static_cast<double>(count)) : 0.0;
}

TPointSpread Spread(const TPointList &points)
{
    TPointSpread spread;
    if (points.empty())
        return spread;
    for (const auto &p : points)
        spread.centroid += p;
    spread.centroid /= static_cast<double>(points.size());
    Eigen::MatrixX3d centred(points.size(), 3);
    for (std::size_t i = 0; i < points.size(); ++i)
        centred.row(i) = (points[i] - spread.centroid).transpose();
    Eigen::JacobiSVD<Eigen::MatrixX3d> svd(centred, Eigen::ComputeFullV);
    // Fewer than three points have fewer than three singular values; the missing ones are zero spread.
    spread.singular.head(svd.singularValues().size()) = svd.singularValues();
    spread.axes = svd.matrixV();
    // A coordinate read to a picometre in a metre-sized volume is as exact as the input gets; spreads
    // below that are the rounding of the centring, not the part.
    const double reach = spread.centroid.cwiseAbs().maxCoeff() + spread.Rms(0, points.size());
    spread.tolerance = 1e-9 * (1.0 + reach);
    return spread;
}

std::optional<std::string> CheckSpan(const TPointSpread &spread, std::size_t count, int dimensions)
{
    static const char *const kReasons[] = {"the points coincide", "the points are collinear",
                                           "the points are coplanar"};
    for (int k = 0; k < dimensions && k < 3; ++k)
        if (spread.Rms(k, count) <= spread.tolerance)
            return kReasons[k];
    return std::nullopt;
}

Eigen::Vector3d Canonical(const Eigen::Vector3d &direction)
{
    int largest = 0;
    for (int k = 1; k < 3; ++k)
        if (std::abs(direction(k)) > std::abs(direction(largest)))
            largest = k;
    // Adding zero turns a negative zero component into a plain zero.
    const Eigen::Vector3d turned = direction(largest) < 0 ? Eigen::Vector3d(-direction) : direction;
    return turned.array() + 0.0;
}

void CompleteFrame(const Eigen::Vector3d &n, Eigen::Vector3d &u, Eigen::Vector3d &v)
{
    // Start from the coordinate axis least aligned with n, so the cross product is never small.
    int least = 0;
    for (int k = 1; k < 3; ++k)
        if (std::abs(n(k)) < std::abs(n(least)))
            least = k;
    u = Eigen::Vector3d::Unit(least).cross(n).normalized();
    v = n.cross(u);
}

void Summarise(TGeometryFeature &feature, std::vector<double> residuals)
{
    feature.points = static_cast<int>(residuals.size());
    double sum = 0.0;
    for (double r : residuals)
        sum += r * r;
    feature.rms = residuals.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(residuals.size()));
    if (!residuals.empty()) {
        const auto [low, high] = std::minmax_element(residuals.begin(), residuals.end());
        feature.form = *high - *low;
    }
    feature.residuals = std::move(residuals);
}

Eigen::VectorXd DampedStep(const Eigen::MatrixXd &jacobian, const Eigen::VectorXd &residuals, double lambda)
{
    if (lambda <= 0.0)
        return jacobian.colPivHouseholderQr().solve(-residuals);
    const Eigen::Index m = jacobian.rows();
    const Eigen::Index n = jacobian.cols();
    Eigen::MatrixXd stacked(m + n, n);
    stacked.topRows(m) = jacobian;
    stacked.bottomRows(n).setZero();
    for (Eigen::Index j = 0; j < n; ++j)
        stacked(m + j, j) = std::sqrt(lambda) * std::max(jacobian.col(j).norm(), 1e-300);
    Eigen::VectorXd rhs = Eigen::VectorXd::Zero(m + n);
    rhs.head(m) = -residuals;
    return stacked.colPivHouseholderQr().solve(rhs);
}

std::size_t DistinctCount(const TPointList &points, double tolerance)
{
    TPointList sorted = points;
    std::sort(sorted.begin(), sorted.end(), [](const Eigen::Vector3d &a, const Eigen::Vector3d &b) {
        return std::lexicographical_compare(a.data(), a.data() + 3, b.data(), b.data() + 3);
    });
    std::size_t count = 0;
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (i == 0 || (sorted[i] - sorted[i - 1]).norm() > tolerance)
            ++count;
    return count;
}
