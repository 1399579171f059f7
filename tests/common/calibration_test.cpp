#include "common/calibration.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(CalibrateXYZ, DefaultsLeaveAReadingUnchanged)
{
    float x = -12.345f, y = 7.5f, z = 100.0f;
    CalibrateXYZ(x, y, z, TCalibration{});
    EXPECT_EQ(x, -12.345f);
    EXPECT_EQ(y, 7.5f);
    EXPECT_EQ(z, 100.0f);
}

TEST(CalibrateXYZ, EachResultIsFormedFromTheScaledValues)
{
    TCalibration c;
    c.AlphaX = 2.0f;
    c.AlphaY = 0.5f;
    c.AlphaZ = 1.0f;
    c.ThetaX = 30.0f;
    c.ThetaY = 0.0f;
    c.ThetaZ = 90.0f;
    float x = 1.0f, y = 4.0f, z = 3.0f;
    CalibrateXYZ(x, y, z, c);
    // ay = 2: X = 2 - 2 * sin 90 - 0; Y = 2 * cos 90 - 3 * sin 30; Z = 3 * sqrt(1 - 0.25).
    EXPECT_NEAR(x, 0.0f, 1e-6f);
    EXPECT_NEAR(y, -1.5f, 1e-6f);
    EXPECT_NEAR(z, 3.0f * std::sqrt(0.75f), 1e-6f);
}

TEST(TCalibration, AnglesThatWouldRootANegativeAreNotUsable)
{
    TCalibration reset;
    reset.ThetaX = reset.ThetaY = reset.ThetaZ = 90.0f;
    EXPECT_FALSE(reset.IsUsable());
    float x = 1, y = 2, z = 3;
    CalibrateXYZ(x, y, z, reset);
    EXPECT_TRUE(std::isfinite(x) && std::isfinite(y) && std::isfinite(z));

    TCalibration fine;
    fine.ThetaX = 0.2f;
    fine.ThetaY = -0.3f;
    fine.ThetaZ = 89.81f;
    EXPECT_TRUE(fine.IsUsable());
    TCalibration infinite;
    infinite.AlphaX = INFINITY;
    EXPECT_FALSE(infinite.IsUsable());
}

} // namespace
