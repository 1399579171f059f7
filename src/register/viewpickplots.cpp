#include "register/viewpickplots.h"

#include "plots/plotviews.h"

void TViewPickPlots::ClearLineSeries()
{
    m_views.ClearLineSeries();
}

void TViewPickPlots::AddLinePoint(int chart, int line, TPoint3 point)
{
    m_views.AddLinePoint(chart, line, point);
}

TPoint3 TViewPickPlots::ClickedPoint(int series, int index) const
{
    return m_views.ClickedPoint(series, index);
}
