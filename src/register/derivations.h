#pragma once

#include "common/calibration.h"
#include "common/stationtypes.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

class TPickPlots;
class TPointRegister;
class TTextTable;

// One chosen point: the four texts copied from its row of the point table.
struct TSelectionEntry
{
    QString number;
    QString x;
    QString y;
    QString z;

    bool IsEmpty() const { return number.isEmpty(); }
};

// Second point minus first point, and the straight-line distance, in millimetres.
struct TDistanceResult
{
    float dX = 0.0f;
    float dY = 0.0f;
    float dZ = 0.0f;
    float dR = 0.0f;
};

// The angle at the vertex in space and in each coordinate-plane projection, in degrees;
// UndefinedAngle where it has no value.
struct TAngleResult
{
    float thetaXY = 0.0f;
    float thetaXZ = 0.0f;
    float thetaYZ = 0.0f;
    float theta3D = 0.0f;
};

// What a pick step did with the picked row.
enum class TPickOutcome
{
    // Taken into the selection; more points are needed.
    Selected,
    // The selection was complete and its row was appended.
    RowAppended,
    // The selection was complete but its table has no free row: nothing appended, selections emptied.
    TableFull,
    // The selection was complete but a coordinate text is not a number: nothing appended, selections
    // emptied.
    BadTexts,
};

// Distances between two picked points and angles among three: the selections that collect the
// picks, the formulas, and the rows they append to the distances and angles tables.
class TDerivations
{
public:
    static constexpr float UndefinedAngle = 999.0f;

    // offLineCalibrationTest tells whether "Off Line Calibration Test" is down: the picked points are
    // then corrected with the calibration before the formulas, as if they had been recorded raw.
    TDerivations(TPointRegister &pointRegister, const TCalibration &calibration,
                 std::function<bool()> offLineCalibrationTest, TPickPlots &plots);

    const std::array<TSelectionEntry, 2> &DistanceSelection() const { return m_distanceSelection; }
    const std::array<TSelectionEntry, 3> &AngleSelection() const { return m_angleSelection; }
    // Entries of the angle selection already filled when the latest angle pick was taken (0, 1, 2).
    int AnglePickStage() const { return m_anglePickStage; }
    const TDistanceResult &DistanceResult() const { return m_distanceResult; }
    const TAngleResult &AngleResult() const { return m_angleResult; }

    // Takes row of the point table into the distance selection; the first point of a pair empties the
    // line series, the second derives and appends a distance row, and then both selections are emptied.
    TPickOutcome DistancePickStep(int row);
    // Takes row into the angle selection after setting AnglePickStage; the first point empties the line
    // series, the third derives and appends an angle row, and then both selections are emptied.
    TPickOutcome AnglePickStep(int row);

    // Derive from the full selections into the results; false, results untouched, when a text does
    // not parse.
    bool ComputeDistance();
    bool ComputeAngles();
    // Write the results as a row at the first free row, make it current and scroll it into view; false
    // when the table has no free row.
    bool AppendDistanceRow();
    bool AppendAngleRow();
    void ClearSelections();

    // The formulas on numbers, in the precisions the tables rely on.
    static TDistanceResult Distance(TPoint3 first, TPoint3 second);
    // The angle at vertex b between the legs towards a and c, 0 to 180 degrees, or UndefinedAngle.
    static float Angle(TPoint3 a, TPoint3 b, TPoint3 c);
    static TAngleResult Angles(TPoint3 first, TPoint3 vertex, TPoint3 third);
    static bool CosineInRange(float c);
    // "***.***" for an undefined angle (900 or more), else the coordinate text form.
    static QString AngleText(float angle);

private:
    std::optional<TPoint3> ReadEntry(const TSelectionEntry &entry) const;
    TSelectionEntry EntryFromRow(int row) const;
    // The appended row becomes current and the table scrolls to show it with up to nine rows above.
    static void ShowAppendedRow(TTextTable &table, int row);
    TPickOutcome Finish(bool computed, bool appended);

    TPointRegister &m_register;
    const TCalibration &m_calibration;
    std::function<bool()> m_offLineCalibrationTest;
    TPickPlots &m_plots;

    std::array<TSelectionEntry, 2> m_distanceSelection;
    std::array<TSelectionEntry, 3> m_angleSelection;
    int m_anglePickStage = 0;
    TDistanceResult m_distanceResult;
    TAngleResult m_angleResult;
};
