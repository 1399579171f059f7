#pragma once

#include "register/pickplots.h"

class TPlotViews;

// Picking and the derivations working on the station's plot views.
class TViewPickPlots : public TPickPlots
{
public:
    explicit TViewPickPlots(TPlotViews &views) : m_views(views) {}

    void ClearLineSeries() override;
    void AddLinePoint(int chart, int line, TPoint3 point) override;
    TPoint3 ClickedPoint(int series, int index) const override;

private:
    TPlotViews &m_views;
};
