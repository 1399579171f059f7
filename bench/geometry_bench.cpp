// Each fit with 999 points, as a full point table gives them: the features tilted, 500 mm and more
// from the origin, the points off the surface by up to 1 um of repeatable noise.
#include "geometry/featurefit.h"

#include <Eigen/Geometry>
#include <benchmark/benchmark.h>
#include <cmath>
#include <numbers>

namespace {
constexpr int kPoints = 999;

const Eigen::Vector3d kOrigin(512.25, -733.5, 618.75);
const Eigen::Vector3d kAxis = Eigen::Vector3d(0.2, -0.4, 0.89).normalized();

double Noise(int k)
{
    return 0.001 * std::sin(k * 12.9898 + 78.233);
}

// 999 points on a surface of revolution round kAxis: 27 heights from -20 to 20 mm, 37 points round.
TPointList Revolved(double (*radius)(double))
{
    const Eigen::Vector3d u = kAxis.unitOrthogonal(), v = kAxis.cross(u);
    TPointList points;
    for (int k = 0; k < kPoints; ++k) {
        const double z = -20.0 + 40.0 * (k / 37) / 26.0;
        const double t = 2.0 * std::numbers::pi * (k % 37 + 0.5 * (k / 37)) / 37.0;
        const Eigen::Vector3d radial = std::cos(t) * u + std::sin(t) * v;
        points.push_back(kOrigin + z * kAxis + (radius(z) + Noise(k)) * radial);
    }
    return points;
}

TPointList Points(TFeatureType type)
{
    const Eigen::Vector3d u = kAxis.unitOrthogonal(), v = kAxis.cross(u);
    TPointList points;
    switch (type) {
    case TFeatureType::Line:
        for (int k = 0; k < kPoints; ++k)
            points.push_back(kOrigin + (0.1 * k) * kAxis + Noise(k) * (k % 2 ? u : v));
        return points;
    case TFeatureType::Plane:
        for (int k = 0; k < kPoints; ++k)
            points.push_back(kOrigin + (k % 37) * 2.0 * u + (k / 37) * 2.0 * v + Noise(k) * kAxis);
        return points;
    case TFeatureType::Circle:
        for (int k = 0; k < kPoints; ++k) {
            const double t = 2.0 * std::numbers::pi * k / kPoints;
            points.push_back(kOrigin + (10.0 + Noise(k)) * (std::cos(t) * u + std::sin(t) * v) +
                             Noise(k + 7) * kAxis);
        }
        return points;
    case TFeatureType::Sphere:
        for (int k = 0; k < kPoints; ++k) {
            // A spiral over the sphere from pole to pole.
            const double z = 1.0 - 2.0 * (k + 0.5) / kPoints, t = k * 2.399963;
            const double r = std::sqrt(1.0 - z * z);
            points.push_back(kOrigin +
                             (12.5 + Noise(k)) * Eigen::Vector3d(r * std::cos(t), r * std::sin(t), z));
        }
        return points;
    case TFeatureType::Cylinder:
        return Revolved([](double) { return 15.0; });
    case TFeatureType::Cone:
        return Revolved([](double z) { return 15.0 + 0.3 * z; });
    case TFeatureType::Point:
        break;
    }
    return points;
}

void BM_Fit(benchmark::State &state, TFeatureType type)
{
    const TPointList points = Points(type);
    for (auto _ : state) {
        TGeometryOutcome outcome = FitFeature(type, points);
        if (!outcome.ok) {
            state.SkipWithError(outcome.reason.c_str());
            break;
        }
        benchmark::DoNotOptimize(outcome);
    }
}

BENCHMARK_CAPTURE(BM_Fit, Line, TFeatureType::Line)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fit, Plane, TFeatureType::Plane)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fit, Circle, TFeatureType::Circle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fit, Sphere, TFeatureType::Sphere)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fit, Cylinder, TFeatureType::Cylinder)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Fit, Cone, TFeatureType::Cone)->Unit(benchmark::kMillisecond);
} // namespace
