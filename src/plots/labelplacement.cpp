#include "plots/labelplacement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// The placed labels, filed by the cells of a coarse grid they touch, so that a new label is tested
// against its neighbours only.
class TLabelGrid
{
public:
    TLabelGrid(const QRectF &area, double cell)
        : m_area(area), m_cell(cell), m_columns(std::max(1, int(std::ceil(area.width() / cell)))),
          m_rows(std::max(1, int(std::ceil(area.height() / cell)))), m_cells(size_t(m_columns * m_rows))
    {}

    bool IsFree(const QRectF &rect) const
    {
        bool free = true;
        ForCells(rect, [&](std::vector<QRectF> &cell) {
            free = free && std::none_of(cell.cbegin(), cell.cend(),
                                        [&](const QRectF &taken) { return taken.intersects(rect); });
        });
        return free;
    }

    void Add(const QRectF &rect)
    {
        ForCells(rect, [&](std::vector<QRectF> &cell) { cell.push_back(rect); });
    }

private:
    template <typename F> void ForCells(const QRectF &rect, F &&visit) const
    {
        const auto clampColumn = [&](double x) {
            return std::clamp(int((x - m_area.left()) / m_cell), 0, m_columns - 1);
        };
        const auto clampRow = [&](double y) {
            return std::clamp(int((y - m_area.top()) / m_cell), 0, m_rows - 1);
        };
        for (int row = clampRow(rect.top()); row <= clampRow(rect.bottom()); ++row)
            for (int column = clampColumn(rect.left()); column <= clampColumn(rect.right()); ++column)
                visit(m_cells[size_t(row * m_columns + column)]);
    }

    QRectF m_area;
    double m_cell;
    int m_columns;
    int m_rows;
    mutable std::vector<std::vector<QRectF>> m_cells;
};

} // namespace

QList<TPlacedLabel> PlaceLabels(const QList<TLabelRequest> &requests, const QRectF &area, double gap)
{
    QList<TPlacedLabel> placed;
    if (requests.isEmpty() || area.isEmpty())
        return placed;
    TLabelGrid grid(area, 32.0);
    for (const TLabelRequest &request : requests) {
        const double w = request.size.width();
        const double h = request.size.height();
        const QPointF m = request.mark;
        const std::array<QRectF, 4> candidates{{
            {m.x() + gap, m.y() - gap - h, w, h},
            {m.x() + gap, m.y() + gap, w, h},
            {m.x() - gap - w, m.y() - gap - h, w, h},
            {m.x() - gap - w, m.y() + gap, w, h},
        }};
        for (const QRectF &candidate : candidates) {
            if (!area.contains(candidate) || !grid.IsFree(candidate))
                continue;
            grid.Add(candidate);
            placed.append({request.index, candidate});
            break;
        }
    }
    return placed;
}
