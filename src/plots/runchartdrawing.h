#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <optional>

class QPainter;

// The run chart of one characteristic: every part's value in the order measured, joined by a line and
// marked green inside its limits and red outside, with the nominal (dotted) and the limits (dashed)
// across the chart and the parts' numbers below it. A part without a value leaves a gap. The same
// drawing goes on the screen and on a report's page.
class TRunChartDrawing
{
public:
    struct TSeries
    {
        QString title;
        QList<std::optional<double>> values;
        double nominal = 0.0;
        double upperLimit = 0.0;
        // None for a characteristic with an upper tolerance only.
        std::optional<double> lowerLimit;
    };

    void SetSeries(TSeries series) { m_series = std::move(series); }
    const TSeries &Series() const { return m_series; }

    // Paints the chart into area with the painter's font; pixel is the size of a screen pixel in the
    // painter's units, for the lines and the marks. Without a title, area shows emptyText alone.
    void Paint(QPainter &painter, const QRectF &area, double pixel, const QString &emptyText) const;

    // The centre of the part at index (from 0) across a plot, and a value's height in it: the parts
    // stand at the middle of equal slots, so that one part alone stands in the middle.
    static double PartX(const QRectF &plot, qsizetype index, qsizetype count);

private:
    TSeries m_series;
};
