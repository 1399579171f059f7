#pragma once

#include "common/calibration.h"
#include "files/fileresult.h"
#include "files/qualitysection.h"
#include "register/texttable.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <array>

class QPdfWriter;

// What the report states besides the tables.
struct TReportContent
{
    QString projectName;
    QDateTime createdAt;
    // Whether readings were being corrected ("Calibrated" down), and the calibration in force.
    bool calibrated = true;
    bool offLineCalibrationTest = false;
    TCalibration calibration;
    // Pictures of the X-Y, X-Z, Y-Z and 3D views; a null picture leaves its frame empty.
    std::array<QImage, 4> views;
    // The inspection: the characteristics table with its results (none leaves it out), its summary
    // line ("12 characteristics, 11 OK, 1 NOK"), the overall result and the part's fields.
    const TTextTable *characteristics = nullptr;
    QString summary;
    QString overall;
    TPartFields part;
};

// The measurement report that goes with a part: an A4 PDF with the project name, the date and time,
// the calibration state and its six values, the part's fields, the overall result and the
// characteristics with their results where there are any, a picture of each of the four views, then the
// point, distance and angle tables (filled rows only, the column headings repeated on every page), and the
// features table when one is given and holds a row. Every page carries the project in its head and
// "Page n of m" at its foot. All text is written as text, so the file can be searched and copied from.
class TMeasurementReport
{
public:
    TMeasurementReport(TReportContent content, const TTextTable &data, const TTextTable &distances,
                       const TTextTable &angles, const TTextTable *features = nullptr);

    // Writes the file whole or not at all; an older file of that name stays when writing fails.
    TFileResult Save(const QString &fileName) const;
    // Paints the report on the writer, which it sets to A4; returns the number of pages, 0 when the
    // writer cannot be painted on.
    int Paint(QPdfWriter &writer) const;

    static QString CalibrationValue(float value);

private:
    TReportContent m_content;
    const TTextTable &m_data;
    const TTextTable &m_distances;
    const TTextTable &m_angles;
    const TTextTable *m_features;
};
