#pragma once

#include "common/stationtypes.h"
#include "register/texttable.h"

#include <QString>

// The store of record for recorded points and the derived distances and angles: three text tables
// of 1000 rows (a header row and 999 data rows) and the number of the latest recorded point.
// Points are kept only as their coordinate texts; the plots hold copies for drawing.
class TPointRegister
{
public:
    static constexpr int kRowCount = 1000;

    struct TAddResult
    {
        bool added = false;
        // The row written and the number given, when added.
        int row = 0;
        int number = 0;
        // Set on the first refusal after the table filled up, so that the operator is told once
        // rather than once per signalled point.
        bool tellOperator = false;
    };

    TPointRegister();
    TPointRegister(const TPointRegister &) = delete;
    TPointRegister &operator=(const TPointRegister &) = delete;

    TTextTable &Data() { return m_data; }
    const TTextTable &Data() const { return m_data; }
    TTextTable &Distances() { return m_distances; }
    const TTextTable &Distances() const { return m_distances; }
    TTextTable &Angles() { return m_angles; }
    const TTextTable &Angles() const { return m_angles; }

    // The header rows of the three tables, as start-up writes them.
    void SetHeaders();

    int PointCount() const { return m_pointCount; }
    // Set by the project loader to the number of coordinate rows it loaded.
    void SetPointCount(int count) { m_pointCount = count; }

    // True when every data row of the point table is taken: a signalled point is then neither
    // plotted nor recorded.
    bool IsDataFull() const;

    // Records a point as number PointCount + 1 in the row after the last filled row (which is row
    // PointCount + 1 unless rows were deleted, so a deletion leaves no gap), and scrolls that row into
    // view for the layout in force. The current row is left alone, so no row-selection event is
    // raised. A full table refuses the point and leaves PointCount as it was.
    TAddResult AddPoint(TPoint3 point, bool shortLayout);

    void ClearPointTable();
    void ClearDistanceTable();
    void ClearAngleTable();
    // Empties the three tables and restarts the numbering. The selections of the derivations stay;
    // the window empties the plot series before calling this.
    void ClearAll();

    static QString TableFullMessage();

private:
    // Row after the last row whose number cell is filled; 1 for an empty table.
    int NextPointRow() const;

    TTextTable m_data;
    TTextTable m_distances;
    TTextTable m_angles;
    int m_pointCount = 0;
    bool m_fullReported = false;
};
