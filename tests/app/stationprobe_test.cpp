// The probe's ball in the features window: the diameter kept in the settings file, the approach
// direction of each recorded point taken from the polled positions, and qualification.
#include "app/qintarform.h"
#include "app/stationprobe.h"
#include "stationundertest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TStationProbeTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configFolder;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_configFolder.path().toLocal8Bit()); }

    void BallDiameterIsKeptForTheNextStartAndBadTextIsTold()
    {
        {
            auto station = Start();
            auto *ball = Find<QLineEdit>(*station->form, "edProbeDiameter");
            QCOMPARE(ball->text(), QStringLiteral("0.000"));
            ball->setText(QStringLiteral("2"));
            Q_EMIT ball->editingFinished();
            QCOMPARE(ball->text(), QStringLiteral("2.000"));
            ball->setText(QStringLiteral("-1"));
            Q_EMIT ball->editingFinished();
            QCOMPARE(station->dialogs.Messages.size(), 1);
            QVERIFY(station->dialogs.Messages.front().contains(QStringLiteral("not a ball diameter")));
            QCOMPARE(ball->text(), QStringLiteral("2.000"));
        }
        auto again = Start();
        QCOMPARE(Find<QLineEdit>(*again->form, "edProbeDiameter")->text(), QStringLiteral("2.000"));
        QCOMPARE(again->form->StationProbe()->BallDiameter(), 2.0);
        Find<QLineEdit>(*again->form, "edProbeDiameter")->setText(QStringLiteral("0"));
        Q_EMIT Find<QLineEdit>(*again->form, "edProbeDiameter")->editingFinished();
    }

    void RecordedPointsTakeTheirApproachFromThePolledPositions()
    {
        auto station = Start();
        TStationProbe &probe = *station->form->StationProbe();
        std::int64_t now = 0;
        probe.SetClock([&now] { return now; });
        // Down onto a face at Z 0, 150 ms a poll; the record's own reply is the last position shown.
        for (float z : {5.0f, 2.0f, 0.5f, 0.01f, 0.0f}) {
            probe.PositionShown({10.0f, 20.0f, z});
            now += 150;
        }
        probe.PointRecorded(1);
        QVERIFY(probe.Approach(1).has_value());
        QVERIFY((*probe.Approach(1) - Eigen::Vector3d(0, 0, -1)).norm() < 1e-9);
        // Recorded again without moving, three seconds later: no direction.
        now += 3000;
        probe.PositionShown({10.0f, 20.0f, 0.0f});
        probe.PointRecorded(2);
        QVERIFY(!probe.Approach(2).has_value());
    }

    // One recorded point can be a feature of its own (moved by the ball along its approach).
    void PointToggleJoinsTheTypeGroup()
    {
        auto station = Start();
        auto *circle = Find<QPushButton>(*station->form, "sbFeatCircle");
        auto *point = Find<QPushButton>(*station->form, "sbFeatPoint");
        QCOMPARE(point->text(), QStringLiteral("Point"));
        circle->click();
        point->click();
        QVERIFY(!circle->isChecked());
        QCOMPARE(Find<QLabel>(*station->form, "stFeatureProgress")->text(),
                 QStringLiteral("Point: 0 points (needs 1)"));
    }
};

QTEST_MAIN(TStationProbeTest)
#include "stationprobe_test.moc"
