#pragma once

#include "plots/chartengine.h"

#include <QList>

// What a view draws of one feature over its recorded points: outlines (a circle's ellipse, a line's
// segment, a plane's outline, a sphere's or cylinder's outline) and axes (drawn dashed), each a line
// through points placed in the view as its series are. The highlighted feature is drawn stronger.
struct TFeatureShape
{
    QList<QList<TSeriesPoint>> outlines;
    QList<QList<TSeriesPoint>> axes;
    bool highlighted = false;
};
using TFeatureLayer = QList<TFeatureShape>;
