#pragma once

#include <QChartView>
#include <QPointF>
#include <functional>

class QScatterSeries;
class QValueAxis;

// One plane view (X-Y, X-Z or Y-Z): a chart with fixed value axes whose label steps follow the
// view's least step, and a hit-test on the marks of its recorded-point series. A press on a mark is
// a pick and starts no rubber band; anywhere else the press goes on to the chart view (mouse zoom
// where it is switched on).
class TPlaneChartView : public QChartView
{
    Q_OBJECT

public:
    // leastStep 0: the labels' step is automatic on that axis.
    TPlaneChartView(const QString &title, const QString &horizontalTitle, const QString &verticalTitle,
                    double horizontalLeastStep, double verticalLeastStep, QWidget *parent);

    QValueAxis *HorizontalAxis() const { return m_horizontal; }
    QValueAxis *VerticalAxis() const { return m_vertical; }

    // The series whose marks report clicks (the recorded points).
    void SetPickSeries(QScatterSeries *series) { m_pickSeries = series; }
    // Called before the view paints or hit-tests, so that points still held back reach the series.
    void SetBeforeUse(std::function<void()> beforeUse) { m_beforeUse = std::move(beforeUse); }

    // Where the mark of (horizontal, vertical) lies in this widget's coordinates.
    QPointF MarkPosition(QPointF value) const;
    // The index of the pick series' mark under position (widget coordinates), nearest first and the
    // series' own order among equals; -1 when no mark is within a few pixels or the place is
    // outside the plot area.
    int MarkAt(QPointF position) const;

Q_SIGNALS:
    void MarkClicked(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void UpdateLabelSteps();

    QValueAxis *m_horizontal = nullptr;
    QValueAxis *m_vertical = nullptr;
    double m_horizontalLeastStep = 0.0;
    double m_verticalLeastStep = 0.0;
    QScatterSeries *m_pickSeries = nullptr;
    std::function<void()> m_beforeUse;
};
