// The fits against the NIST reference results, compared as ISO 10360-6 compares them: location,
// orientation and size, independent of where along a line or an axis the reference point lies.
#include "featurecompare.h"
#include "geometry/featurefit.h"
#include "pointfilereader.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

namespace {
constexpr double kLength = 1e-6; // mm
constexpr double kAngle = 1e-8;  // rad

struct TNistSet
{
    const char *file; // below the nist folder, without .ds / .fit
    TFeatureType type;
};

std::vector<double> ReadReference(const std::string &fileName)
{
    std::ifstream in(fileName);
    std::vector<double> numbers;
    for (double value; in >> value;)
        numbers.push_back(value);
    return numbers;
}

// The reference file's numbers as the feature they describe (the nist folder's README gives the layout).
TReference Reference(TFeatureType type, const std::vector<double> &v)
{
    TReference ref;
    ref.type = type;
    ref.point = {v.at(0), v.at(1), v.at(2)};
    if (type == TFeatureType::Sphere) {
        ref.diameter = v.at(3);
        return ref;
    }
    ref.direction = {v.at(3), v.at(4), v.at(5)};
    if (type == TFeatureType::Circle || type == TFeatureType::Cylinder)
        ref.diameter = v.at(6);
    if (type == TFeatureType::Cone) {
        ref.toSurface = v.at(6);
        ref.apexAngle = v.at(7);
    }
    return ref;
}

class NistFit : public testing::TestWithParam<TNistSet>
{
};

TEST_P(NistFit, MatchesTheReferenceWithinIsoTolerances)
{
    const std::string base = std::string(QINTAR_NIST_DIR) + "/" + GetParam().file;
    std::string error;
    const auto file = TPointFileReader::ReadFile(base + ".ds", error);
    ASSERT_TRUE(file) << error;
    const TGeometryOutcome outcome = FitFeature(GetParam().type, file->points);
    ASSERT_TRUE(outcome.ok) << outcome.reason;
    const TGeometryFeature &f = outcome.feature;
    EXPECT_EQ(f.points, static_cast<int>(file->points.size()));
    EXPECT_EQ(f.residuals.size(), file->points.size());

    const TDeviation d = Deviation(f, Reference(GetParam().type, ReadReference(base + ".fit")));
    // The figures per set, for the worst error per type.
    std::printf("%-18s location %.3e mm  orientation %.3e rad  size %.3e mm  apex %.3e rad\n",
                GetParam().file, d.location, d.orientation, d.size, d.apex);
    EXPECT_LE(d.location, kLength);
    EXPECT_LE(d.orientation, kAngle);
    EXPECT_LE(d.size, kLength);
    EXPECT_LE(d.apex, kAngle);
    for (double r : f.residuals)
        EXPECT_TRUE(std::isfinite(r));
}

INSTANTIATE_TEST_SUITE_P(
    Sets, NistFit,
    testing::Values(
        TNistSet{"Line2d/lin2d1", TFeatureType::Line}, TNistSet{"Line2d/lin2d3", TFeatureType::Line},
        TNistSet{"Line2d/lin2d9", TFeatureType::Line}, TNistSet{"Line2d/lin2d11", TFeatureType::Line},
        TNistSet{"Line2d/lin2d17", TFeatureType::Line}, TNistSet{"Line2d/lin2d21", TFeatureType::Line},
        TNistSet{"Line3d/lin3", TFeatureType::Line}, TNistSet{"Line3d/lin17", TFeatureType::Line},
        TNistSet{"Plane/pla7", TFeatureType::Plane}, TNistSet{"Plane/pla22", TFeatureType::Plane},
        TNistSet{"Circle3d/cir5", TFeatureType::Circle}, TNistSet{"Circle3d/cir7", TFeatureType::Circle},
        TNistSet{"Circle3d/cir20", TFeatureType::Circle}, TNistSet{"Sphere/sph5", TFeatureType::Sphere},
        TNistSet{"Sphere/sph14", TFeatureType::Sphere}, TNistSet{"Sphere/sph20", TFeatureType::Sphere},
        TNistSet{"Cylinder/cyl23", TFeatureType::Cylinder}, TNistSet{"Cone/con19", TFeatureType::Cone}),
    [](const testing::TestParamInfo<TNistSet> &info) {
        std::string name = info.param.file;
        return name.substr(name.find('/') + 1);
    });
} // namespace
