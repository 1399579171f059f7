#include "geometry/batchstatistics.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using K = TCharacteristicKind;

std::vector<std::optional<double>> Values(std::initializer_list<double> values)
{
    return {values.begin(), values.end()};
}

TEST(BatchStatistics, WorkedExampleOfABore)
{
    // A bore of 20 +0.02/-0 over five parts: mean 20.014, the deviations from it -0.002 .. +0.002 give
    // squares of 10e-6, s = sqrt(10e-6 / 4) = 0.0015811388; Cp = 0.02 / 6s = 2.1081851,
    // Cpk = min(20.020 - 20.014, 20.014 - 20.000) / 3s = 0.006 / 3s = 1.2649111.
    const TBatchStatistics s =
        BatchStatistics(K::Diameter, {20.0, 0.02, 0.0}, Values({20.014, 20.016, 20.012, 20.015, 20.013}));
    EXPECT_EQ(s.count, 5);
    EXPECT_NEAR(s.mean, 20.014, 1e-12);
    ASSERT_TRUE(s.standardDeviation);
    EXPECT_NEAR(*s.standardDeviation, 0.0015811388, 1e-10);
    EXPECT_DOUBLE_EQ(s.minimum, 20.012);
    EXPECT_DOUBLE_EQ(s.maximum, 20.016);
    ASSERT_TRUE(s.cp && s.cpk);
    EXPECT_NEAR(*s.cp, 2.1081851, 1e-6);
    EXPECT_NEAR(*s.cpk, 1.2649111, 1e-6);
    EXPECT_FALSE(s.reliable);

    // Off centre to the low side, the lower side decides Cpk.
    const TBatchStatistics low =
        BatchStatistics(K::Diameter, {20.0, 0.02, 0.0}, Values({20.004, 20.006, 20.002, 20.005, 20.003}));
    EXPECT_NEAR(*low.cpk, 0.004 / (3 * 0.0015811388), 1e-6);
    EXPECT_NEAR(*low.cp, *s.cp, 1e-6);
}

TEST(BatchStatistics, AFormHasNoCpAndItsCpkFromTheUpperSide)
{
    // Flatness 0.004, 0.006, 0.005 against 0.010: s = 0.001, Cpk = (0.010 - 0.005) / 0.003.
    const TBatchStatistics s = BatchStatistics(K::Form, {0.0, 0.01, 0.0}, Values({0.004, 0.006, 0.005}));
    EXPECT_FALSE(s.cp);
    ASSERT_TRUE(s.cpk);
    EXPECT_NEAR(*s.cpk, 5.0 / 3.0, 1e-9);
}

TEST(BatchStatistics, FewOrEqualValuesGiveNoCapability)
{
    const TBatchStatistics one = BatchStatistics(K::Diameter, {20.0, 0.02, 0.0}, Values({20.01}));
    EXPECT_EQ(one.count, 1);
    EXPECT_DOUBLE_EQ(one.mean, 20.01);
    EXPECT_FALSE(one.standardDeviation);
    EXPECT_FALSE(one.cp || one.cpk);

    const TBatchStatistics same = BatchStatistics(K::Diameter, {20.0, 0.02, 0.0}, Values({20.01, 20.01}));
    EXPECT_EQ(same.standardDeviation, 0.0);
    EXPECT_FALSE(same.cp || same.cpk);
    // Fifteen equal values whose mean comes out a bit beside them.
    const TBatchStatistics many =
        BatchStatistics(K::Diameter, {20.0, 0.02, 0.0}, std::vector<std::optional<double>>(15, 20.013));
    EXPECT_EQ(many.standardDeviation, 0.0);
    EXPECT_FALSE(many.cp || many.cpk);

    const TBatchStatistics none = BatchStatistics(K::Diameter, {20.0, 0.02, 0.0}, {});
    EXPECT_EQ(none.count, 0);
    EXPECT_FALSE(none.standardDeviation);
}

TEST(BatchStatistics, LeavesOutMissingPartsAndIsReliableFrom25)
{
    std::vector<std::optional<double>> values;
    for (int part = 0; part < 25; ++part)
        values.push_back(20.0 + 0.001 * (part % 5));
    values.insert(values.begin() + 3, std::nullopt);
    const TBatchStatistics s = BatchStatistics(K::Diameter, {20.0, 0.02, 0.0}, values);
    EXPECT_EQ(s.count, 25);
    EXPECT_NEAR(s.mean, 20.002, 1e-12);
    EXPECT_TRUE(s.reliable);
    values.pop_back();
    EXPECT_FALSE(BatchStatistics(K::Diameter, {20.0, 0.02, 0.0}, values).reliable);
}

} // namespace
