#pragma once

#include <QPointF>
#include <functional>
#include <optional>

// The hit-test of the point marks: the index of the mark nearest to a click within reach pixels, or -1.
// markOf gives the place a mark is drawn, or nothing for a mark that is not drawn (outside the axis
// ranges). On equal distances the earlier point in the series wins.
int NearestMark(int count, const std::function<std::optional<QPointF>(int index)> &markOf, QPointF click,
                double reach);
