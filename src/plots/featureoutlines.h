#pragma once

#include "geometry/geometryfeature.h"
#include "plots/featurelayer.h"

// How a feature looks in each of the four views, placed as the recorded points are (X-Y view (X, Y),
// X-Z view (X, Z), Y-Z view (Y, Z), 3D view (X, Z, Y)). The points a feature was fitted to give its
// extent: a line's segment runs between its extreme points, a plane's outline is the rectangle in the
// plane round its points, a cylinder or cone spans its points along the axis. Without points a
// feature is drawn 10 mm (or its own diameter) long.
//
// A circle is the circle itself, which a plane view shows as an ellipse or, seen edge-on, as a
// segment. A sphere shows as its outline circle in a plane view and as three great circles in the
// 3D view. A cylinder or cone shows its end circles, the two sides a plane view sees it by (four
// sides in the 3D view) and its axis.
class TFeatureOutlines
{
public:
    // Points on a full circle.
    static constexpr int CircleSteps = 72;

    // The shape of feature in chart 1 to 4.
    static TFeatureShape InView(int chart, const TGeometryFeature &feature, const TPointList &points);

    // The placement rule for one point.
    static TSeriesPoint Place(int chart, const Eigen::Vector3d &point);
};
