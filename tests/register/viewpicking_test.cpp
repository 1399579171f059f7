#include "plots/plotviews.h"
#include "plots/seriesstore.h"
#include "register/pointpicker.h"
#include "register/pointregister.h"
#include "register/viewpickplots.h"
#include "scripteddialogs.h"

#include <gtest/gtest.h>

namespace {

// The picker on the real plot views over the data-only engine: a click on a mark travels from the
// engine to the row and back into the line series as the views place points.
class ViewPickingTest : public ::testing::Test
{
protected:
    ViewPickingTest()
    {
        m_views.StartUp();
        m_store.SetPointClickHandler([this](int series, int index) { m_picker.Pick(series, index); });
        m_picker.SetOperationState([this] { return m_state; });
    }

    void Record(TPoint3 p)
    {
        m_views.AddRecordedPoint(p);
        m_register.AddPoint(p, true);
    }

    TSeriesStore m_store;
    TPlotViews m_views{m_store};
    TViewPickPlots m_plots{m_views};
    TPointRegister m_register;
    TCalibration m_calibration;
    TScriptedDialogs m_dialogs;
    TDerivations m_derivations{m_register, m_calibration, [] { return false; }, m_plots};
    TPointPicker m_picker{m_register, m_derivations, m_plots, m_dialogs};
    TOperationState m_state;
};

TEST_F(ViewPickingTest, ThreeDPickDrawsWithZUpAndYInDepth)
{
    m_state.distance = true;
    Record({5, 5, 5});
    Record({1, 2, 3});
    ASSERT_TRUE(m_store.ClickMark(4, 1));
    EXPECT_EQ(m_register.Data().Row(), 2);
    ASSERT_EQ(m_store.SeriesCount(12), 1);
    const TSeriesPoint drawn = m_store.SeriesPoint(12, 0);
    EXPECT_EQ(drawn.horizontal, 1.0);
    EXPECT_EQ(drawn.vertical, 3.0);
    EXPECT_EQ(drawn.depth, 2.0);
}

TEST_F(ViewPickingTest, PlaneViewsTellApartWhatTheXYViewCannot)
{
    m_state.angle = true;
    Record({1, 2, 3});
    Record({1, 2, 4});
    Record({0.1f, -7.25f, 12.5f});

    ASSERT_TRUE(m_store.ClickMark(1, 0));
    EXPECT_EQ(m_dialogs.Messages, QStringList({"More than one point fits these values\rTry another view"}));
    ASSERT_TRUE(m_store.ClickMark(2, 0));
    ASSERT_TRUE(m_store.ClickMark(2, 2));
    ASSERT_TRUE(m_store.ClickMark(2, 1));
    EXPECT_EQ(m_register.Angles().FilledRowCount(), 1);
    EXPECT_EQ(m_register.Angles().RowTexts(1).mid(0, 3), QStringList({"1", "3", "2"}));
    EXPECT_EQ(m_store.SeriesCount(10), 2);
    EXPECT_EQ(m_store.SeriesCount(14), 2);
}

} // namespace
