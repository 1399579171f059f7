#include "fakepickplots.h"
#include "register/pointpicker.h"
#include "register/pointregister.h"
#include "scripteddialogs.h"

#include <gtest/gtest.h>

namespace {

const QString kHello = QStringLiteral("sound: hello.wav");
const QString kChimes = QStringLiteral("sound: chimes.wav");

class PickerFixture
{
protected:
    PickerFixture()
    {
        m_register.SetHeaders();
        m_picker.SetOperationState([this] { return m_state; });
        m_picker.SetProcessEvents([this] { m_dialogs.Log.append("events"); });
        m_picker.SetGoToTargets([this](const QString &x, const QString &y, const QString &z) {
            m_goTo = {x, y, z};
        });
        m_picker.SetProgressReport([this](const QString &text) { m_progress.append(text); });
    }

    // Records a point as the measurement cycle does; returns its index in the recorded-point series.
    int Record(TPoint3 p)
    {
        m_register.AddPoint(p, false);
        m_plots.AddRecorded(p);
        return m_recorded++;
    }

    TPointRegister m_register;
    TCalibration m_calibration;
    TFakePickPlots m_plots;
    TScriptedDialogs m_dialogs;
    TDerivations m_derivations{m_register, m_calibration, [] { return false; }, m_plots};
    TPointPicker m_picker{m_register, m_derivations, m_plots, m_dialogs};
    TOperationState m_state;
    QStringList m_goTo;
    QStringList m_progress;
    int m_recorded = 0;
};

struct TMatchCase
{
    const char *name;
    QList<TPoint3> points;
    int series;
    int index;
    // The row found, or 0 with the message shown.
    int row;
    const char *message;
};

class PickMatchTest : public PickerFixture, public ::testing::TestWithParam<TMatchCase>
{
};

TEST_P(PickMatchTest, FindsTheRowByTheTextsTheViewShows)
{
    const TMatchCase &c = GetParam();
    for (const TPoint3 &p : c.points)
        Record(p);
    m_register.Data().SetRow(3);
    m_picker.Pick(c.series, c.index);
    if (c.row > 0) {
        EXPECT_EQ(m_register.Data().Row(), c.row);
        EXPECT_EQ(m_register.Data().TopRow(), c.row);
        EXPECT_EQ(m_dialogs.Log, QStringList({"events", kHello}));
    } else {
        EXPECT_EQ(m_register.Data().Row(), 3);
        EXPECT_EQ(m_dialogs.Log, QStringList({kChimes, QStringLiteral("message: ") + c.message}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Views, PickMatchTest,
    ::testing::Values(TMatchCase{"XYCannotTellZApart",
                                 {{1, 2, 3}, {1, 2, 4}},
                                 1,
                                 0,
                                 0,
                                 "More than one point fits these values\rTry another view"},
                      TMatchCase{"XZTellsZApart", {{1, 2, 3}, {1, 2, 4}}, 2, 1, 2, ""},
                      TMatchCase{"YZTellsZApart", {{1, 2, 3}, {1, 2, 4}}, 3, 0, 1, ""},
                      TMatchCase{"ThreeDTellsZApart", {{1, 2, 3}, {1, 2, 4}}, 4, 1, 2, ""},
                      TMatchCase{"XZCannotTellYApart",
                                 {{1, 2, 3}, {1, 5, 3}},
                                 2,
                                 0,
                                 0,
                                 "More than one point fits these x and z values\rTry another view"},
                      TMatchCase{"XYTellsYApart", {{1, 2, 3}, {1, 5, 3}}, 1, 1, 2, ""},
                      TMatchCase{"YZCannotTellXApart",
                                 {{1, 2, 3}, {7, 2, 3}},
                                 3,
                                 1,
                                 0,
                                 "More than one point fits these y and z values\rTry another view"},
                      TMatchCase{"ThreeDCannotTellTwins",
                                 {{1, 2, 3}, {1, 2, 3}},
                                 4,
                                 0,
                                 0,
                                 "More than one point fits these x, y and z values\rTry another view"},
                      // Equal to three decimals is equal; one unit in the third decimal is not.
                      TMatchCase{"SameToThreeDecimals",
                                 {{1.0004f, 2, 3}, {1, 2, 3}},
                                 1,
                                 0,
                                 0,
                                 "More than one point fits these values\rTry another view"},
                      TMatchCase{"ThirdDecimalDiffers", {{1.0006f, 2, 3}, {1, 2, 3}}, 1, 0, 1, ""},
                      TMatchCase{"NegativeZeroMatchesZero", {{-0.0001f, 2, 3}, {5, 5, 5}}, 4, 0, 1, ""}),
    [](const auto &info) { return std::string(info.param.name); });

class PickerTest : public PickerFixture, public ::testing::Test
{
};

TEST_F(PickerTest, PointWithoutRowIsReportedAndChangesNothing)
{
    const int index = Record({1, 2, 3});
    m_register.Data().SetRowTexts(1, {});
    m_picker.Pick(1, index);
    EXPECT_EQ(m_dialogs.Log,
              QStringList({kChimes, "message: No point fits these values\rPoint probably deleted"}));
    EXPECT_TRUE(m_goTo.isEmpty());
}

TEST_F(PickerTest, OnlyTheXYViewFillsTheGoToTargets)
{
    const int index = Record({1, 2, 3});
    m_picker.Pick(2, index);
    m_picker.Pick(3, index);
    m_picker.Pick(4, index);
    EXPECT_TRUE(m_goTo.isEmpty());
    m_picker.Pick(1, index);
    EXPECT_EQ(m_goTo, QStringList({"1.000", "2.000", "3.000"}));
}

TEST_F(PickerTest, DistanceModeDrawsTheSegmentInThePickedView)
{
    m_state.distance = true;
    const int p = Record({0, 0, 0});
    const int q = Record({3, 4, 0});

    m_picker.Pick(1, p);
    EXPECT_EQ(m_plots.LineClears, 1);
    EXPECT_EQ(m_plots.Line(1, 1), QList<TPoint3>({{0, 0, 0}}));
    m_picker.Pick(1, q);
    EXPECT_EQ(m_plots.LineClears, 1);
    EXPECT_EQ(m_plots.Line(1, 1), QList<TPoint3>({{0, 0, 0}, {3, 4, 0}}));
    EXPECT_EQ(m_register.Distances().RowTexts(1),
              QStringList({"1", "2", "3.000", "4.000", "0.000", "5.000"}));
    EXPECT_EQ(m_plots.Lines.size(), 1u);
    EXPECT_EQ(m_progress, QStringList({"Distance: point 1 chosen - pick the second point",
                                       "Distance added: point 1 to point 2, 5.000 mm"}));

    // A new distance in the 3D view starts over and draws there with all three values.
    const int r = Record({1, 2, 3});
    m_picker.Pick(4, r);
    EXPECT_EQ(m_plots.LineClears, 2);
    EXPECT_EQ(m_plots.Line(4, 1), QList<TPoint3>({{1, 2, 3}}));
}

struct TAngleViewCase
{
    int series;
    QList<TPoint3> firstLine;
    QList<TPoint3> secondLine;
};

class PickAngleTest : public PickerFixture, public ::testing::TestWithParam<TAngleViewCase>
{
};

// The first point starts the first leg, the vertex ends both, the third ends the second leg. The 3D
// view builds angles as the plane views do.
TEST_P(PickAngleTest, LegsFollowThePickStage)
{
    m_state.angle = true;
    const int series = GetParam().series;
    for (const TPoint3 &p : {TPoint3{1, 0, 1}, TPoint3{0, 0, 0}, TPoint3{0, 1, 1}})
        m_picker.Pick(series, Record(p));
    EXPECT_EQ(m_plots.Line(series, 1), GetParam().firstLine);
    EXPECT_EQ(m_plots.Line(series, 2), GetParam().secondLine);
    EXPECT_EQ(m_plots.Lines.size(), 2u);
    EXPECT_EQ(m_register.Angles().FilledRowCount(), 1);
    EXPECT_EQ(m_plots.Log.first(), "clear lines");
    EXPECT_EQ(m_dialogs.Sounds, QStringList({"hello.wav", "hello.wav", "hello.wav"}));
    EXPECT_EQ(m_progress,
              QStringList({"Angle: pick the vertex", "Angle: pick the third point",
                           "Angle added: points 1, 2, 3, " + m_register.Angles().Cell(3, 1) + " degrees"}));
}

INSTANTIATE_TEST_SUITE_P(Views, PickAngleTest,
                         ::testing::Values(TAngleViewCase{1, {{1, 0, 0}, {0, 0, 0}}, {{0, 0, 0}, {0, 1, 0}}},
                                           TAngleViewCase{2, {{1, 0, 1}, {0, 0, 0}}, {{0, 0, 0}, {0, 0, 1}}},
                                           TAngleViewCase{3, {{0, 0, 1}, {0, 0, 0}}, {{0, 0, 0}, {0, 1, 1}}},
                                           TAngleViewCase{
                                               4, {{1, 0, 1}, {0, 0, 0}}, {{0, 0, 0}, {0, 1, 1}}}));

TEST_F(PickerTest, DeletePickAsksRemovesAndTheMarkThenFindsNoRow)
{
    m_state.deletePoint = true;
    Record({1, 2, 3});
    const int second = Record({4, 5, 6});
    Record({7, 8, 9});
    m_dialogs.Answers = {true};

    m_picker.Pick(1, second);
    EXPECT_EQ(m_dialogs.Questions, QStringList({"Delete Coordinate 2, 4.000, 5.000, 6.000,  ?"}));
    EXPECT_EQ(m_dialogs.QuestionStyles.value(0), TOperatorDialogs::TStyle::Warning);
    EXPECT_EQ(m_register.Data().RowTexts(2), QStringList({"3", "7.000", "8.000", "9.000"}));
    EXPECT_TRUE(m_register.Data().IsRowFree(3));
    EXPECT_EQ(m_register.PointCount(), 3);
    EXPECT_EQ(m_goTo, QStringList({"4.000", "5.000", "6.000"})) << "the go-to names the clicked point";
    EXPECT_EQ(m_dialogs.Log.last(), kHello);

    m_dialogs.Log.clear();
    m_picker.Pick(1, second);
    EXPECT_EQ(m_dialogs.Log,
              QStringList({kChimes, "message: No point fits these values\rPoint probably deleted"}));
}

TEST_F(PickerTest, DeleteModeAsksNothingForTheCurrentRowAndKeepsTheRowOnNo)
{
    m_state.deletePoint = true;
    const int first = Record({1, 2, 3});
    const int second = Record({4, 5, 6});
    m_picker.Pick(1, first);
    EXPECT_TRUE(m_dialogs.Questions.isEmpty()) << "row 1 is current from the start";

    m_dialogs.Answers = {false};
    m_picker.Pick(3, second);
    EXPECT_EQ(m_dialogs.Questions.size(), 1);
    EXPECT_EQ(m_register.Data().FilledRowCount(), 2);
    EXPECT_EQ(m_register.Data().Row(), 2);
}

TEST_F(PickerTest, SelectingRowsOutsideDeleteModeAsksNothing)
{
    Record({1, 2, 3});
    m_state.distance = true;
    m_register.Data().SetRow(5);
    m_register.Distances().SetRow(5);
    m_register.Angles().SetRow(5);
    EXPECT_TRUE(m_dialogs.Questions.isEmpty());
}

TEST_F(PickerTest, EachTableAsksWithItsPrefixAndEveryCell)
{
    m_state.deletePoint = true;
    Record({1, 2, 3});
    m_register.Distances().SetRowTexts(2, {"1", "2", "3.000", "4.000", "0.000", "5.000"});
    m_register.Angles().SetRowTexts(2, {"1", "2", "3", "90.000", "90.000", "***.***", "***.***"});
    m_dialogs.Answers = {false, false, true};

    m_register.Distances().SetRow(2);
    m_register.Angles().SetRow(2);
    // An empty row below the last entry still asks, with empty texts; Yes then changes nothing.
    m_register.Data().SetRow(4);
    EXPECT_EQ(m_dialogs.Questions, QStringList({"Delete Distance 1, 2, 3.000, 4.000, 0.000, 5.000,  ?",
                                                "Delete Angle 1, 2, 3, 90.000, 90.000, ***.***, ***.***,  ?",
                                                "Delete Coordinate , , , ,  ?"}));
    EXPECT_EQ(m_register.Data().FilledRowCount(), 1);
    EXPECT_EQ(m_register.Distances().Cell(5, 2), "5.000");
}

TEST_F(PickerTest, DeletingFromAFullTableEmptiesTheLastRow)
{
    m_state.deletePoint = true;
    TTextTable &distances = m_register.Distances();
    for (int row = 1; row < distances.RowCount(); ++row)
        distances.SetRowTexts(row, {QString::number(row), "1", "0.000", "0.000", "0.000", "0.000"});
    m_dialogs.Answers = {true};
    distances.SetRow(10);
    EXPECT_EQ(distances.Cell(0, 10), "11");
    EXPECT_EQ(distances.Cell(0, 998), "999");
    EXPECT_TRUE(distances.IsRowFree(999));
    EXPECT_EQ(distances.Cell(0, 0), "Pt 1");
}

TEST_F(PickerTest, FullDistanceTableIsReportedInsteadOfTheSuccessSound)
{
    m_state.distance = true;
    for (int row = 1; row < m_register.Distances().RowCount(); ++row)
        m_register.Distances().SetRowTexts(row, {"1", "1", "0.000", "0.000", "0.000", "0.000"});
    const int p = Record({0, 0, 0});
    const int q = Record({1, 0, 0});
    m_picker.Pick(1, p);
    m_dialogs.Log.clear();
    m_picker.Pick(1, q);
    ASSERT_EQ(m_dialogs.Log.size(), 3);
    EXPECT_EQ(m_dialogs.Log[1], kChimes);
    EXPECT_TRUE(m_dialogs.Log[2].startsWith("message: The distances table is full (999 rows)\r"));
    EXPECT_EQ(m_plots.Line(1, 1).size(), 1) << "no segment for a distance that was not added";
    EXPECT_TRUE(m_derivations.DistanceSelection()[0].IsEmpty());
}

TEST_F(PickerTest, UnreadableTextsAreReportedAndAddNoAngle)
{
    m_state.angle = true;
    const int p = Record({0, 0, 0});
    const int q = Record({1, 0, 0});
    // A row loaded from a file: its X and Y match the view, its Z is no number.
    m_register.Data().SetCell(3, 2, "zz");
    m_picker.Pick(1, p);
    m_picker.Pick(1, q);
    m_picker.Pick(1, p);
    EXPECT_EQ(m_dialogs.Messages, QStringList({"A coordinate of these points is not a number\r"
                                               "This angle was not added"}));
    EXPECT_EQ(m_register.Angles().FilledRowCount(), 0);
    EXPECT_EQ(m_dialogs.Sounds, QStringList({"hello.wav", "hello.wav", "chimes.wav"}));
}

} // namespace
