// The window's actions on its views and its large readout, driven by objectName as automation does.
#include "app/largereadoutform.h"
#include "app/qintarform.h"
#include "common/coordinatetext.h"
#include "plots/viewengine.h"
#include "plots/viewseries.h"
#include "plots/viewwidget.h"
#include "register/texttable.h"
#include "stationundertest.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A point as a load leaves it: a row of the point table and a mark in the four views.
void AddPoint(TQintarForm &form, int number, float x, float y, float z)
{
    Table(form, "sgData")
        ->SetRowTexts(
            number, {QString::number(number), FormatCoordinate(x), FormatCoordinate(y), FormatCoordinate(z)});
    auto *engine = form.findChild<TViewEngine *>();
    engine->AddPlanePoint(1, x, y);
    engine->AddPlanePoint(2, x, z);
    engine->AddPlanePoint(3, y, z);
    engine->Add3DPoint(4, x, z, y);
}

} // namespace

class TViewWorkWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configFolder;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_configFolder.path().toLocal8Bit()); }

    void ActionsAreTheWindowsAndListedInEveryViewsMenu()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        const char *names[] = {"actFit", "actHome", "actPointNumbers", "actShowAll", "actLargeReadout"};
        auto *engine = form.findChild<TViewEngine *>();
        for (const char *name : names) {
            auto *action = form.findChild<QAction *>(QLatin1String(name));
            QVERIFY2(action, name);
            QVERIFY2(!action->shortcut().isEmpty(), name);
            for (int chart = 1; chart <= 4; ++chart)
                QVERIFY2(engine->Chart(chart)->actions().contains(action), name);
        }
        // The views' own entries come first; Export and Report stay.
        QCOMPARE(engine->Chart(2)->actions().first()->objectName(), QStringLiteral("actFit"));
        QVERIFY(form.findChild<QAction *>(QStringLiteral("actViewExport")));
        QVERIFY(form.actions().contains(form.findChild<QAction *>(QStringLiteral("actLargeReadout"))));
        QCOMPARE(Find<QAbstractButton>(form, "btnLargeReadout")->geometry(), QRect(512, 107, 100, 21));
    }

    // F over the view in front frames the part; Home brings back the designed ranges and zoom bar.
    void FitAndHomeActOnTheViewInFront()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        AddPoint(form, 1, 0.0f, 0.0f, 0.0f);
        AddPoint(form, 2, 70.0f, 30.0f, 10.0f);
        auto *engine = form.findChild<TViewEngine *>();
        Find<QAbstractButton>(form, "sbXZView")->click();
        engine->Chart(2)->setFocus();
        QTest::keyClick(engine->Chart(2), Qt::Key_F);
        QCOMPARE(engine->AxisMinimum(2, TAxis::Bottom), 35.0 - 39.0);
        QCOMPARE(engine->AxisMaximum(2, TAxis::Left), 5.0 + 39.0);
        QCOMPARE(Find<QScrollBar>(form, "scrlZoomXZ")->value(), 39);
        QCOMPARE(engine->AxisMinimum(1, TAxis::Bottom), -100.0);
        form.findChild<QAction *>(QStringLiteral("actHome"))->trigger();
        QCOMPARE(engine->AxisMinimum(2, TAxis::Bottom), -100.0);
        QCOMPARE(Find<QScrollBar>(form, "scrlZoomXZ")->value(), 100);
    }

    // The marks carry their rows' numbers, also after a row above was deleted; the tooltip names them.
    void PointNumbersAndTooltipFollowThePointTable()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        AddPoint(form, 1, 10.0f, 10.0f, 0.0f);
        AddPoint(form, 2, -20.0f, 40.0f, 5.0f);
        AddPoint(form, 3, 30.0f, -30.0f, 5.0f);
        form.findChild<QAction *>(QStringLiteral("actPointNumbers"))->trigger();
        auto *engine = form.findChild<TViewEngine *>();
        engine->Chart(1)->grab();
        QCOMPARE(engine->Chart(1)->PlacedLabels().size(), qsizetype(3));
        const QPointF second = *engine->MarkPosition(1, 1);
        QCOMPARE(engine->Chart(1)->MarkTip(second), QStringLiteral("Point 2: X -20.000  Y 40.000  Z 5.000"));

        Table(form, "sgData")->DeleteRow(1);
        QTRY_COMPARE(engine->Chart(3)->MarkTip(*engine->MarkPosition(3, 0)),
                     QStringLiteral("Deleted point: X 10.000  Y 10.000  Z 0.000"));
        engine->Chart(1)->grab();
        QCOMPARE(engine->Chart(1)->PlacedLabels().size(), qsizetype(2));
    }

    // A distance row selected in Distance mode is drawn strongly, a loaded one too; Delete Point mode
    // draws none; Show all draws every row.
    void SelectedDistanceRowDrawsItsSegment()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        form.show();
        AddPoint(form, 1, 0.0f, 0.0f, 0.0f);
        AddPoint(form, 2, 30.0f, 40.0f, 0.0f);
        AddPoint(form, 3, -30.0f, 40.0f, 0.0f);
        TTextTable *distances = Table(form, "sgDistance");
        distances->SetRowTexts(1, {"1", "2", "30.000", "40.000", "0.000", "50.000"});
        distances->SetRowTexts(2, {"1", "3", "-30.000", "40.000", "0.000", "50.000"});
        auto *xy = form.findChild<TViewEngine *>()->Chart(1);
        Find<QAbstractButton>(form, "sbDistance")->click();
        distances->SetRow(2);
        QTRY_COMPARE(xy->HighlightedSegments().size(), size_t(1));
        QCOMPARE(xy->HighlightedSegments()[0].second.horizontal, -30.0);

        Find<QAbstractButton>(form, "sbDelete")->click();
        QTRY_VERIFY(xy->HighlightedSegments().empty());
        Find<QAbstractButton>(form, "sbDelete")->click();
        form.findChild<QAction *>(QStringLiteral("actShowAll"))->trigger();
        // With all toggles up the distances table stays shown, its selected row too.
        auto *threeD = form.findChild<TViewEngine *>()->Chart(4);
        QTRY_COMPARE(threeD->ThinSegments().size(), size_t(2));
        QCOMPARE(threeD->HighlightedSegments().size(), size_t(1));
    }

    // Its place and size are kept for the next time the station opens it.
    void LargeReadoutOpensFromItsControlsAndKeepsItsPlace()
    {
        QRect kept;
        {
            auto station = Start();
            TQintarForm &form = *station->form;
            form.show();
            auto *large = form.findChild<TLargeReadoutForm *>(QStringLiteral("LargeReadout"));
            QVERIFY(large && !large->isVisible());
            QTest::mouseDClick(Find<QLabel>(form, "stReadY"), Qt::LeftButton);
            QVERIFY(large->isVisible());
            large->close();
            form.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            QTest::keyClick(&form, Qt::Key_L, Qt::ControlModifier);
            QVERIFY(large->isVisible());
            large->setGeometry(40, 50, 640, 400);
            QTest::qWait(50);
            kept = large->geometry();
            QCOMPARE(large->findChild<QLabel *>(QStringLiteral("stLargeX"))->text(), QStringLiteral("0.000"));
        }
        auto station = Start();
        auto *large = station->form->findChild<TLargeReadoutForm *>(QStringLiteral("LargeReadout"));
        large->Open();
        QCOMPARE(large->size(), kept.size());
    }
};

QTEST_MAIN(TViewWorkWindowTest)
#include "viewwork_window_test.moc"
