#pragma once

#include "register/pickplots.h"

#include <QList>
#include <QStringList>
#include <map>
#include <utility>

// The views as data: the recorded points of Series1 to Series4 and what was drawn in the line series.
class TFakePickPlots : public TPickPlots
{
public:
    // Adds a recorded point to the four recorded-point series, as the measurement cycle does.
    void AddRecorded(TPoint3 point) { m_recorded.append(point); }

    void ClearLineSeries() override
    {
        Lines.clear();
        ++LineClears;
        Log.append(QStringLiteral("clear lines"));
    }
    void AddLinePoint(int chart, int line, TPoint3 point) override
    {
        Lines[{chart, line}].append(point);
        Log.append(QStringLiteral("line %1.%2").arg(chart).arg(line));
    }
    TPoint3 ClickedPoint(int series, int index) const override
    {
        const TPoint3 p = m_recorded.value(index);
        switch (series) {
        case 1:
            return {p.x, p.y, 0.0f};
        case 2:
            return {p.x, 0.0f, p.z};
        case 3:
            return {0.0f, p.y, p.z};
        default:
            return p;
        }
    }

    QList<TPoint3> Line(int chart, int line) const
    {
        const auto it = Lines.find({chart, line});
        return it == Lines.end() ? QList<TPoint3>{} : it->second;
    }

    std::map<std::pair<int, int>, QList<TPoint3>> Lines;
    int LineClears = 0;
    QStringList Log;

private:
    QList<TPoint3> m_recorded;
};
