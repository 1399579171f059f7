#include "register/derivations.h"

#include "common/coordinatetext.h"
#include "common/globalprocedures.h"
#include "register/pickplots.h"
#include "register/pointregister.h"

#include <cmath>
#include <numbers>

namespace {

constexpr int kRowsAboveAppended = 9;
constexpr long double kCosineTolerance = 0.000001L;

TPoint3 Project(TPoint3 p, bool keepX, bool keepY, bool keepZ)
{
    return {keepX ? p.x : 0.0f, keepY ? p.y : 0.0f, keepZ ? p.z : 0.0f};
}

} // namespace

TDerivations::TDerivations(TPointRegister &pointRegister, const TCalibration &calibration,
                           std::function<bool()> offLineCalibrationTest, TPickPlots &plots)
    : m_register(pointRegister), m_calibration(calibration),
      m_offLineCalibrationTest(std::move(offLineCalibrationTest)), m_plots(plots)
{}

TSelectionEntry TDerivations::EntryFromRow(int row) const
{
    const TTextTable &data = m_register.Data();
    return {data.Cell(0, row), data.Cell(1, row), data.Cell(2, row), data.Cell(3, row)};
}

TPickOutcome TDerivations::DistancePickStep(int row)
{
    if (m_distanceSelection[0].IsEmpty()) {
        m_distanceSelection[0] = EntryFromRow(row);
        m_plots.ClearLineSeries();
    } else if (m_distanceSelection[1].IsEmpty()) {
        m_distanceSelection[1] = EntryFromRow(row);
    }
    // A free row copies as an empty entry, so such a pick leaves the selection waiting.
    if (m_distanceSelection[1].IsEmpty())
        return TPickOutcome::Selected;

    const bool computed = ComputeDistance();
    return Finish(computed, computed && AppendDistanceRow());
}

TPickOutcome TDerivations::AnglePickStep(int row)
{
    m_anglePickStage = m_angleSelection[0].IsEmpty() ? 0 : m_angleSelection[1].IsEmpty() ? 1 : 2;
    m_angleSelection[static_cast<std::size_t>(m_anglePickStage)] = EntryFromRow(row);
    if (m_anglePickStage == 0)
        m_plots.ClearLineSeries();
    if (m_angleSelection[2].IsEmpty())
        return TPickOutcome::Selected;

    const bool computed = ComputeAngles();
    return Finish(computed, computed && AppendAngleRow());
}

TPickOutcome TDerivations::Finish(bool computed, bool appended)
{
    ClearSelections();
    if (!computed)
        return TPickOutcome::BadTexts;
    return appended ? TPickOutcome::RowAppended : TPickOutcome::TableFull;
}

std::optional<TPoint3> TDerivations::ReadEntry(const TSelectionEntry &entry) const
{
    const auto x = ReadDecimal(entry.x);
    const auto y = ReadDecimal(entry.y);
    const auto z = ReadDecimal(entry.z);
    if (!x || !y || !z)
        return std::nullopt;
    TPoint3 point{*x, *y, *z};
    if (m_offLineCalibrationTest && m_offLineCalibrationTest())
        CalibrateXYZ(point.x, point.y, point.z, m_calibration);
    return point;
}

bool TDerivations::ComputeDistance()
{
    const auto first = ReadEntry(m_distanceSelection[0]);
    const auto second = ReadEntry(m_distanceSelection[1]);
    if (!first || !second)
        return false;
    m_distanceResult = Distance(*first, *second);
    return true;
}

bool TDerivations::ComputeAngles()
{
    const auto first = ReadEntry(m_angleSelection[0]);
    const auto vertex = ReadEntry(m_angleSelection[1]);
    const auto third = ReadEntry(m_angleSelection[2]);
    if (!first || !vertex || !third)
        return false;
    m_angleResult = Angles(*first, *vertex, *third);
    return true;
}

TDistanceResult TDerivations::Distance(TPoint3 first, TPoint3 second)
{
    TDistanceResult result;
    result.dX = second.x - first.x;
    result.dY = second.y - first.y;
    result.dZ = second.z - first.z;
    result.dR = static_cast<float>(Distance3D(0.0f, 0.0f, 0.0f, result.dX, result.dY, result.dZ));
    return result;
}

bool TDerivations::CosineInRange(float c)
{
    // A NaN fails both comparisons.
    return static_cast<double>(c) > -0.999999 && static_cast<double>(c) < 0.999999;
}

float TDerivations::Angle(TPoint3 a, TPoint3 b, TPoint3 c)
{
    const float dot = static_cast<float>(DotProduct3D(a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z));
    const float legA = static_cast<float>(Distance3D(a.x, a.y, a.z, b.x, b.y, b.z));
    const float legC = static_cast<float>(Distance3D(c.x, c.y, c.z, b.x, b.y, b.z));
    // A leg of zero length in this projection has no direction.
    if (legA == 0.0f || legC == 0.0f)
        return UndefinedAngle;

    const long double cosine =
        static_cast<long double>(dot) / (static_cast<long double>(legA) * static_cast<long double>(legC));
    if (CosineInRange(static_cast<float>(cosine)))
        return static_cast<float>(std::acos(cosine) * 180.0L / std::numbers::pi_v<long double>);
    // Rounding can carry a straight or folded line just past the range of the arc cosine.
    if (std::fabs(cosine - 1.0L) < kCosineTolerance)
        return 0.0f;
    if (std::fabs(cosine + 1.0L) < kCosineTolerance)
        return 180.0f;
    return UndefinedAngle;
}

TAngleResult TDerivations::Angles(TPoint3 first, TPoint3 vertex, TPoint3 third)
{
    TAngleResult result;
    const auto plane = [&](bool x, bool y, bool z) {
        return Angle(Project(first, x, y, z), Project(vertex, x, y, z), Project(third, x, y, z));
    };
    result.thetaXY = plane(true, true, false);
    result.thetaXZ = plane(true, false, true);
    result.thetaYZ = plane(false, true, true);
    result.theta3D = Angle(first, vertex, third);
    return result;
}

QString TDerivations::AngleText(float angle)
{
    if (angle >= 900.0f)
        return QStringLiteral("***.***");
    return FormatCoordinate(angle);
}

void TDerivations::ShowAppendedRow(TTextTable &table, int row)
{
    table.SetRow(row);
    table.SetTopRow(row > kRowsAboveAppended ? row - kRowsAboveAppended : 1);
}

bool TDerivations::AppendDistanceRow()
{
    TTextTable &table = m_register.Distances();
    const int row = table.FirstFreeRow();
    if (row < 1)
        return false;
    const TDistanceResult &r = m_distanceResult;
    table.SetRowTexts(row,
                      {m_distanceSelection[0].number, m_distanceSelection[1].number, FormatCoordinate(r.dX),
                       FormatCoordinate(r.dY), FormatCoordinate(r.dZ), FormatCoordinate(r.dR)});
    ShowAppendedRow(table, row);
    return true;
}

bool TDerivations::AppendAngleRow()
{
    TTextTable &table = m_register.Angles();
    const int row = table.FirstFreeRow();
    if (row < 1)
        return false;
    const TAngleResult &r = m_angleResult;
    table.SetRowTexts(row, {m_angleSelection[0].number, m_angleSelection[1].number,
                            m_angleSelection[2].number, AngleText(r.theta3D), AngleText(r.thetaXY),
                            AngleText(r.thetaXZ), AngleText(r.thetaYZ)});
    ShowAppendedRow(table, row);
    return true;
}

void TDerivations::ClearSelections()
{
    m_distanceSelection = {};
    m_angleSelection = {};
}
