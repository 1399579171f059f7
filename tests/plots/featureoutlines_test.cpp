#include "plots/featureoutlines.h"
#include "plots/plotviews.h"
#include "plots/seriesstore.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using Eigen::Vector3d;

TGeometryFeature Feature(TFeatureType type, Vector3d location, Vector3d direction, double diameter,
                         double apex = 0.0)
{
    TGeometryFeature feature;
    feature.type = type;
    feature.location = location;
    feature.direction = direction.normalized();
    feature.diameter = diameter;
    feature.apexAngle = apex;
    return feature;
}

// The extreme horizontal and vertical reach of every outline point from (h, v).
struct TReach
{
    double minH = 1e300, maxH = -1e300, minV = 1e300, maxV = -1e300;
};
TReach ReachOf(const QList<QList<TSeriesPoint>> &lines)
{
    TReach reach;
    for (const auto &line : lines)
        for (const TSeriesPoint &point : line) {
            reach.minH = std::min(reach.minH, point.horizontal);
            reach.maxH = std::max(reach.maxH, point.horizontal);
            reach.minV = std::min(reach.minV, point.vertical);
            reach.maxV = std::max(reach.maxV, point.vertical);
        }
    return reach;
}

TEST(FeatureOutlines, CircleIsAnEllipseOrAnEdgeOnSegment)
{
    // A 20 mm hole in the X-Y plane at (10, -5, 3).
    const auto hole = Feature(TFeatureType::Circle, {10, -5, 3}, {0, 0, 1}, 20.0);
    const TFeatureShape top = TFeatureOutlines::InView(1, hole, {});
    ASSERT_EQ(top.outlines.size(), 1);
    for (const TSeriesPoint &point : top.outlines.first())
        EXPECT_NEAR(std::hypot(point.horizontal - 10.0, point.vertical + 5.0), 10.0, 1e-9);
    // Seen from the side (X-Z) the same circle is a segment at Z = 3 from X = 0 to 20.
    const TReach side = ReachOf(TFeatureOutlines::InView(2, hole, {}).outlines);
    EXPECT_NEAR(side.minV, 3.0, 1e-9);
    EXPECT_NEAR(side.maxV, 3.0, 1e-9);
    EXPECT_NEAR(side.minH, 0.0, 1e-9);
    EXPECT_NEAR(side.maxH, 20.0, 1e-9);
    // Tilted by 60 degrees about X: the X-Y view shows an ellipse of half axes 10 and 5.
    const auto tilted =
        Feature(TFeatureType::Circle, {0, 0, 0}, {0, std::sin(M_PI / 3), std::cos(M_PI / 3)}, 20);
    const TReach ellipse = ReachOf(TFeatureOutlines::InView(1, tilted, {}).outlines);
    EXPECT_NEAR(ellipse.maxH, 10.0, 1e-9);
    EXPECT_NEAR(ellipse.maxV, 5.0, 1e-9);
    // In the 3D view a point (X, Y, Z) is placed as (X, Z, Y).
    const TSeriesPoint first = TFeatureOutlines::InView(4, hole, {}).outlines.first().first();
    EXPECT_NEAR(first.vertical, 3.0, 1e-9);
}

TEST(FeatureOutlines, LinesAndPlanesSpanTheirPoints)
{
    const TPointList points{{2, 1, 0}, {-3, 1, 0}, {7, 1, 0.5}};
    const auto edge = Feature(TFeatureType::Line, {2, 1, 0}, {1, 0, 0}, 0.0);
    const TFeatureShape line = TFeatureOutlines::InView(1, edge, points);
    ASSERT_EQ(line.outlines.size(), 1);
    ASSERT_EQ(line.outlines.first().size(), 2);
    EXPECT_NEAR(line.outlines.first()[0].horizontal, -3.0, 1e-12);
    EXPECT_NEAR(line.outlines.first()[1].horizontal, 7.0, 1e-12);

    const TPointList face{{0, 0, 5}, {40, 0, 5}, {40, 30, 5}, {10, 30, 5}};
    const auto plane = Feature(TFeatureType::Plane, {22.5, 15, 5}, {0, 0, 1}, 0.0);
    const TReach outline = ReachOf(TFeatureOutlines::InView(1, plane, face).outlines);
    EXPECT_NEAR(outline.minH, 0.0, 1e-9);
    EXPECT_NEAR(outline.maxH, 40.0, 1e-9);
    EXPECT_NEAR(outline.minV, 0.0, 1e-9);
    EXPECT_NEAR(outline.maxV, 30.0, 1e-9);
}

TEST(FeatureOutlines, SpheresCylindersAndConesShowOutlineAndAxis)
{
    const auto ball = Feature(TFeatureType::Sphere, {1, 2, 3}, {0, 0, 0}, 10.0);
    for (int chart = 1; chart <= 3; ++chart) {
        const TReach reach = ReachOf(TFeatureOutlines::InView(chart, ball, {}).outlines);
        EXPECT_NEAR(reach.maxH - reach.minH, 10.0, 1e-9) << chart;
        EXPECT_NEAR(reach.maxV - reach.minV, 10.0, 1e-9) << chart;
    }
    EXPECT_EQ(TFeatureOutlines::InView(4, ball, {}).outlines.size(), 3);

    // A bore along X from X = 0 to 50, diameter 8: from above, two sides at Y = -4 and 4, the end
    // circles edge-on, and the axis a little beyond both ends.
    const TPointList wall{{0, 4, 0}, {50, -4, 0}, {25, 0, 4}, {10, 0, -4}, {30, 4, 0}};
    const auto bore = Feature(TFeatureType::Cylinder, {25, 0, 0}, {1, 0, 0}, 8.0);
    const TFeatureShape top = TFeatureOutlines::InView(1, bore, wall);
    EXPECT_EQ(top.outlines.size(), 4);
    const TReach reach = ReachOf(top.outlines);
    EXPECT_NEAR(reach.minH, 0.0, 1e-9);
    EXPECT_NEAR(reach.maxH, 50.0, 1e-9);
    EXPECT_NEAR(reach.maxV, 4.0, 1e-9);
    ASSERT_EQ(top.axes.size(), 1);
    EXPECT_LT(top.axes.first().first().horizontal, 0.0);
    EXPECT_GT(top.axes.first().last().horizontal, 50.0);
    // Seen end-on (Y-Z) it is only its circles.
    EXPECT_EQ(TFeatureOutlines::InView(3, bore, wall).outlines.size(), 2);

    // A cone of 90 degrees, 10 mm across at its location, opening along Z: 2 mm higher it is 14 across.
    const auto cone = Feature(TFeatureType::Cone, {0, 0, 0}, {0, 0, 1}, 10.0, 90.0);
    const TReach widths = ReachOf(TFeatureOutlines::InView(2, cone, {{5, 0, 0}, {7, 0, 2}}).outlines);
    EXPECT_NEAR(widths.maxH, 7.0, 1e-9);
    EXPECT_NEAR(widths.maxV, 2.0, 1e-9);
}

TEST(FeatureOutlines, ViewsGetEveryFeatureWithItsHighlight)
{
    TSeriesStore store;
    TPlotViews views(store);
    TGeometryFeature broken = Feature(TFeatureType::Circle, {0, 0, 0}, {0, 0, 1}, 5.0);
    broken.diameter = std::nan("");
    views.ShowFeatures({{Feature(TFeatureType::Circle, {0, 0, 0}, {0, 0, 1}, 5.0), {}, false},
                        {Feature(TFeatureType::Line, {0, 0, 0}, {0, 1, 0}, 0.0), {}, true},
                        {broken, {}, false}});
    for (int chart = 1; chart <= 4; ++chart) {
        const TFeatureLayer &layer = store.FeatureLayer(chart);
        ASSERT_EQ(layer.size(), 3);
        EXPECT_FALSE(layer[0].highlighted);
        EXPECT_TRUE(layer[1].highlighted);
        // A feature that is not finite draws nothing rather than lines to nowhere.
        EXPECT_TRUE(layer[2].outlines.isEmpty());
    }
    views.ShowFeatures({});
    EXPECT_TRUE(store.FeatureLayer(1).isEmpty());
}

} // namespace
