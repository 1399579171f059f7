#include "geometry/approachtracker.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {
using V = Eigen::Vector3d;

struct TPoll
{
    std::int64_t timeMs;
    V position;
};

struct TTrackCase
{
    const char *name;
    std::vector<TPoll> polls;
    std::int64_t recordMs;
    V recorded;
    std::optional<V> approach;
};

std::ostream &operator<<(std::ostream &os, const TTrackCase &c)
{
    return os << c.name;
}

class Approach : public testing::TestWithParam<TTrackCase>
{
};

TEST_P(Approach, FromTheLastPositionFarEnoughAway)
{
    const TTrackCase &c = GetParam();
    TApproachTracker tracker;
    for (const TPoll &p : c.polls)
        tracker.AddPosition(p.timeMs, p.position);
    const std::optional<V> got = tracker.ApproachFor(c.recordMs, c.recorded);
    ASSERT_EQ(got.has_value(), c.approach.has_value());
    if (got) {
        EXPECT_LT((*got - *c.approach).norm(), 1e-12) << got->transpose();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Approach,
    testing::Values(
        // The last poll was only 0.02 mm off the touch (the probe had all but stopped): the one before.
        TTrackCase{"SkipsTheNearlyStoppedPoll",
                   {{0, V(0, 0, 10)}, {150, V(3, 0, 4)}, {300, V(0, 0, 0.02)}},
                   450,
                   V(0, 0, 0),
                   V(-0.6, 0, -0.8)},
        TTrackCase{
            "ExactlyTheTravelCounts", {{0, V(0, 0, 0)}, {150, V(0.05, 0, 0)}}, 300, V(0.1, 0, 0), V(1, 0, 0)},
        TTrackCase{
            "DidNotMove", {{0, V(1, 1, 1)}, {150, V(1.01, 1, 1)}, {300, V(1, 1.03, 1)}}, 450, V(1, 1, 1), {}},
        // A move three seconds ago says nothing of this touch.
        TTrackCase{"OlderThanTwoSeconds", {{0, V(0, 0, 10)}, {2900, V(0, 0, 0)}}, 3000, V(0, 0, 0), {}},
        TTrackCase{
            "JustInsideTwoSeconds", {{1000, V(0, 0, 10)}, {2900, V(0, 0, 0)}}, 3000, V(0, 0, 0), V(0, 0, -1)},
        // A poll answered after the record is not part of its approach.
        TTrackCase{
            "IgnoresPollsAfterTheRecord", {{0, V(0, 5, 0)}, {500, V(5, 0, 0)}}, 300, V(0, 0, 0), V(0, -1, 0)},
        TTrackCase{"NothingPolled", {}, 300, V(0, 0, 0), {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ApproachTracker, MemoryStaysBounded)
{
    TApproachTracker tracker;
    for (int i = 0; i < 100000; ++i)
        tracker.AddPosition(i * 10, V(i, 0, 0));
    EXPECT_LE(tracker.Size(), 201u);
    for (int i = 0; i < 10000; ++i)
        tracker.AddPosition(2000000, V(0, i, 0));
    EXPECT_LE(tracker.Size(), TApproachTracker::MaximumPositions);
}

TEST(ApproachTracker, AClockThatGoesBackForgetsThePast)
{
    TApproachTracker tracker;
    tracker.AddPosition(50000, V(0, 0, 10));
    tracker.AddPosition(100, V(0, 0, 0.01));
    EXPECT_FALSE(tracker.ApproachFor(200, V(0, 0, 0)).has_value());
}
} // namespace
