#include "plots/nearestmark.h"

int NearestMark(int count, const std::function<std::optional<QPointF>(int index)> &markOf, QPointF click,
                double reach)
{
    int nearest = -1;
    double nearestDistance = reach * reach;
    for (int i = 0; i < count; ++i) {
        const auto mark = markOf(i);
        if (!mark)
            continue;
        const QPointF offset = *mark - click;
        const double distance = QPointF::dotProduct(offset, offset);
        if (distance < nearestDistance || (nearest < 0 && distance <= nearestDistance)) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}
