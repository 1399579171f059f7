#pragma once

#include "plots/viewwidget.h"

#include <QLinearGradient>

// One plane view (X-Y, X-Z or Y-Z): a framed plot with fixed horizontal and vertical axis ranges, a
// silver grid and labels at each label step, the recorded points as stars, the live position as a
// cross and the line series as red lines. The plot keeps 5 per cent of the view's width free on the
// right (where the zoom bar sits) and none on the other sides beyond its labels and titles.
class TPlaneView : public TViewWidget
{
    Q_OBJECT

public:
    struct TLook
    {
        QString title;
        QString horizontalTitle;
        QString verticalTitle;
        // The least distance between labels in mm; 0: automatic.
        double horizontalLeastStep = 0.0;
        double verticalLeastStep = 0.0;
        QColor backgroundFrom;
        QColor backgroundTo;
        QColor starFill;
    };

    TPlaneView(const TLook &look, const std::array<QString, 4> &seriesNames, QWidget *parent);

    // Horizontal is the bottom axis, vertical the left one; the depth axis has no place here.
    void SetAxisMaximum(TAxis axis, double value);
    void SetAxisMinimum(TAxis axis, double value);
    double AxisMaximum(TAxis axis) const;
    double AxisMinimum(TAxis axis) const;

    // The widget pixel of (horizontal, vertical) in mm: where a press picks that point's mark.
    Q_INVOKABLE QPointF mapToPosition(QPointF value) const;
    std::optional<QPointF> MarkPosition(const TSeriesPoint &point) const override;
    // The plot's rectangle inside the axes, in widget coordinates.
    QRectF PlotArea() const { return Layout().plot; }

protected:
    void PaintPicture(QPainter &painter) const override;
    std::optional<QPointF> LayerPlace(const TSeriesPoint &point) const override;
    QRectF PanArea() const override { return PlotArea(); }
    std::optional<QPointF> PanValues(QPointF pixels) const override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct TRange
    {
        double minimum = -50.0;
        double maximum = 50.0;
    };
    struct TLayout
    {
        QRectF plot;
        double horizontalStep = 1.0;
        double verticalStep = 1.0;
    };

    TRange &Range(TAxis axis) { return axis == TAxis::Bottom ? m_horizontal : m_vertical; }
    const TLayout &Layout() const;
    void RangesChanged();
    void PaintAxes(QPainter &painter, const TLayout &layout) const;

    TLook m_look;
    TRange m_horizontal;
    TRange m_vertical;
    mutable std::optional<TLayout> m_layout;
};
