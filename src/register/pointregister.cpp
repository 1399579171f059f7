#include "register/pointregister.h"

#include "common/coordinatetext.h"

namespace {

// Rows of the point table that fit above the new row, in the full table (465 pixels) and in the short
// one (220 pixels) that the Distance and Angle modes leave.
constexpr int kFullLayoutRowsAbove = 27;
constexpr int kShortLayoutRowsAbove = 12;

} // namespace

TPointRegister::TPointRegister() : m_data(4, kRowCount), m_distances(6, kRowCount), m_angles(7, kRowCount) {}

void TPointRegister::SetHeaders()
{
    m_data.SetRowCount(kRowCount);
    m_data.SetRowTexts(0, {"Pt", "X value (mm)", "Y value (mm)", "Z value (mm)"});
    m_distances.SetRowCount(kRowCount);
    m_distances.SetRowTexts(0, {"Pt 1", "Pt 2", "delta X", "delta Y", "delta Z", "delta R"});
    m_angles.SetRowCount(kRowCount);
    m_angles.SetRowTexts(0, {"Pt 1", "Pt 2", "Pt 3", "theta3D", "thetaXY", "thetaXZ", "thetaYZ"});
}

int TPointRegister::NextPointRow() const
{
    int row = m_data.RowCount() - 1;
    while (row >= 1 && m_data.IsRowFree(row))
        --row;
    return row + 1;
}

bool TPointRegister::IsDataFull() const
{
    return NextPointRow() >= m_data.RowCount();
}

TPointRegister::TAddResult TPointRegister::AddPoint(TPoint3 point, bool shortLayout)
{
    TAddResult result;
    const int row = NextPointRow();
    if (row >= m_data.RowCount()) {
        result.tellOperator = !m_fullReported;
        m_fullReported = true;
        return result;
    }
    m_fullReported = false;

    ++m_pointCount;
    m_data.SetRowTexts(row, {QString::number(m_pointCount), FormatCoordinate(point.x),
                             FormatCoordinate(point.y), FormatCoordinate(point.z)});
    const int rowsAbove = shortLayout ? kShortLayoutRowsAbove : kFullLayoutRowsAbove;
    m_data.SetTopRow(row > rowsAbove ? row - rowsAbove : 1);

    result.added = true;
    result.row = row;
    result.number = m_pointCount;
    return result;
}

void TPointRegister::ClearPointTable()
{
    m_data.ClearDataRows();
}

void TPointRegister::ClearDistanceTable()
{
    m_distances.ClearDataRows();
}

void TPointRegister::ClearAngleTable()
{
    m_angles.ClearDataRows();
}

void TPointRegister::ClearAll()
{
    ClearPointTable();
    ClearDistanceTable();
    ClearAngleTable();
    m_pointCount = 0;
}

QString TPointRegister::TableFullMessage()
{
    return QStringLiteral("The point table is full (999 points)\r"
                          "Further points are not recorded until rows are deleted or the table is cleared");
}
