#pragma once

#include "common/stationtypes.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class TTextTable;

// Which point of the point table each plotted mark is. A mark knows nothing of its row: as a pick
// does, it is matched by its coordinate texts, here all three of them, so that a mark's number is the
// "Pt" text of the row whose X, Y and Z texts are the mark's. A mark whose point was deleted has no
// row and no number; marks of points recorded twice at one place carry both numbers.
class TPlottedPointNumbers
{
public:
    explicit TPlottedPointNumbers(const TTextTable &data) : m_data(data) {}

    // Matches the plotted points (in the recorded series' order) against the point table as it is.
    void Update(const std::vector<TPoint3> &plotted);
    // The number text of each plotted point ("12", "3, 7", or empty for a deleted point).
    const QStringList &Labels() const { return m_labels; }
    // What the tooltip over these marks says: one line a point, "Point 12: X 1.000  Y 2.000  Z 3.000",
    // or "Deleted point: ..." for one the table no longer holds.
    QString ToolTip(const QList<int> &indices) const;

private:
    const TTextTable &m_data;
    std::vector<std::array<QString, 3>> m_texts;
    QStringList m_labels;
};
