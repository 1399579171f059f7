#pragma once

#include "plots/runchartdrawing.h"

#include <QWidget>

// The run chart of the characteristic selected in the characteristics table, over the parts of the
// results history.
class TRunChart : public QWidget
{
    Q_OBJECT

public:
    explicit TRunChart(QWidget *parent);

    void SetSeries(TRunChartDrawing::TSeries series);
    void Clear();
    const TRunChartDrawing::TSeries &Series() const { return m_drawing.Series(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TRunChartDrawing m_drawing;
};
