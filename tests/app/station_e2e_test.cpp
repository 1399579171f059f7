// The station's window against the device simulator on a pseudo-terminal: the real serial layer, the
// port manager, the polling cycle, the tables, the views and the project file, end to end.
#include "app/devicereply.h"
#include "app/qintarform.h"
#include "common/coordinatetext.h"
#include "plots/viewengine.h"
#include "plots/viewwidget.h"
#include "register/pointregister.h"
#include "register/texttable.h"
#include "scripteddialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// The simulator's path in thousandths of a millimetre, one position per poll: ten points on a bent
// curve, so that any three of them span an angle.
QList<std::array<int, 3>> PathCounts()
{
    QList<std::array<int, 3>> path;
    for (int i = 0; i < 10; ++i)
        path.append({10000 + 3000 * i, -5000 + 500 * i * i, 2500 * i});
    return path;
}

QStringList RowOfPathPoint(int number, int pathIndex)
{
    const auto counts = PathCounts().at(pathIndex);
    const TPoint3 point =
        StationMillimetres(TPositionReply{float(counts[0]), float(counts[1]), float(counts[2]), '1'});
    return {QString::number(number), FormatCoordinate(point.x), FormatCoordinate(point.y),
            FormatCoordinate(point.z)};
}

// The operator who leaves a message box open: the box runs an event loop until the window has shown
// the given number of further positions (or 20 s have passed), as a real box would while the
// operator reads it.
class TLingeringDialogs : public TScriptedDialogs
{
public:
    std::function<bool()> Closes;
    QList<bool> ClosedInTime;

    void ShowMessage(const QString &text) override
    {
        TScriptedDialogs::ShowMessage(text);
        ClosedInTime.append(!Closes || QTest::qWaitFor(Closes, 20000));
    }
};

} // namespace

class TStationEndToEndTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;
    QTemporaryDir m_work;
    QString m_startDirectory = QDir::currentPath();
    std::unique_ptr<QProcess> m_devsim;
    std::unique_ptr<TLingeringDialogs> m_dialogs;
    std::unique_ptr<TQintarForm> m_form;
    // Positions the window has shown in its readouts.
    int m_shown = 0;

    template <typename T> T *Find(const char *name)
    {
        T *widget = m_form->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control named %s", name);
        return widget;
    }

    TTextTable *Table(const char *name)
    {
        return qobject_cast<TTextTable *>(Find<QTableView>(name)->model());
    }

    // Runs control lines in the simulator, in one write so that no poll comes between them, and waits
    // until it has taken them.
    void Control(const QByteArray &line, const QByteArray &next = {})
    {
        m_devsim->readAllStandardOutput();
        m_devsim->write(line + '\n' + (next.isEmpty() ? QByteArray() : next + '\n'));
        const QByteArray last = next.isEmpty() ? line : next;
        QByteArray output;
        while (!output.contains("ok " + last)) {
            QVERIFY2(m_devsim->waitForReadyRead(10000), last.constData());
            output += m_devsim->readAllStandardOutput();
        }
    }

    // The simulator with the path above; script lines run before the numbered command is answered.
    void StartSimulator(const QStringList &script)
    {
        QFile path(m_work.filePath(QStringLiteral("path.txt")));
        QVERIFY(path.open(QIODevice::WriteOnly | QIODevice::Text));
        for (const auto &counts : PathCounts())
            path.write(QStringLiteral("%1 %2 %3\n")
                           .arg(counts[0] / 1000.0)
                           .arg(counts[1] / 1000.0)
                           .arg(counts[2] / 1000.0)
                           .toLatin1());
        path.close();
        QFile scriptFile(m_work.filePath(QStringLiteral("script.txt")));
        QVERIFY(scriptFile.open(QIODevice::WriteOnly | QIODevice::Text));
        scriptFile.write(script.join(QLatin1Char('\n')).toLatin1() + '\n');
        scriptFile.close();

        if (m_devsim) {
            m_devsim->kill();
            m_devsim->waitForFinished(10000);
        }
        m_devsim = std::make_unique<QProcess>();
        m_devsim->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_devsim->start(QStringLiteral(QINTAR_DEVSIM),
                        {QStringLiteral("--port"), QStringLiteral("99"), QStringLiteral("--force"),
                         QStringLiteral("--path"), path.fileName(), QStringLiteral("--script"),
                         scriptFile.fileName()});
        QVERIFY2(m_devsim->waitForStarted(10000), qPrintable(m_devsim->errorString()));
        QByteArray output;
        while (!output.contains("ready")) {
            QVERIFY2(m_devsim->waitForReadyRead(10000), "the simulator did not get ready");
            output += m_devsim->readAllStandardOutput();
        }
    }

    void StartStation()
    {
        m_dialogs = std::make_unique<TLingeringDialogs>();
        QDir::setCurrent(m_work.path());
        m_form = std::make_unique<TQintarForm>(m_dialogs.get());
        QDir::setCurrent(m_startDirectory);
        m_shown = 0;
        connect(m_form.get(), &TQintarForm::PositionShown, this, [this] { ++m_shown; });
        m_form->show();
    }

    void GoOnLine()
    {
        auto *onLine = Find<QAbstractButton>("sbOnLine");
        QVERIFY(!onLine->isChecked());
        onLine->click();
        QVERIFY(onLine->isChecked());
    }

    // Clicks the mark of recorded point index in the X-Y view.
    void PickInXYView(int index)
    {
        auto *engine = m_form->findChild<TViewEngine *>();
        QVERIFY(engine);
        const auto at = engine->MarkPosition(1, index);
        QVERIFY(at.has_value());
        QTest::mouseClick(engine->Chart(1), Qt::LeftButton, {}, at->toPoint());
    }

    QList<QStringList> Rows(const char *table)
    {
        QList<QStringList> rows;
        TTextTable *grid = Table(table);
        for (int row = 1; row < grid->RowCount() && !grid->IsRowFree(row); ++row)
            rows.append(grid->RowTexts(row));
        return rows;
    }

    // The recorded-point series of the four views, as coordinate texts.
    QStringList PlottedPoints()
    {
        auto *engine = m_form->findChild<TViewEngine *>();
        QStringList points;
        for (int series = 1; series <= 4; ++series)
            for (int index = 0; index < engine->SeriesCount(series); ++index) {
                const TSeriesPoint point = engine->SeriesPoint(series, index);
                points.append(QStringLiteral("%1:%2,%3,%4")
                                  .arg(series)
                                  .arg(FormatCoordinate(float(point.horizontal)),
                                       FormatCoordinate(float(point.vertical)),
                                       FormatCoordinate(float(point.depth))));
            }
        return points;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The simulator links its pseudo-terminal as COM99 in the configuration folder, where the
        // station looks for port 99 (its number when there is no settings file).
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    }

    void cleanup()
    {
        m_form.reset();
        if (m_devsim) {
            m_devsim->kill();
            m_devsim->waitForFinished(10000);
            m_devsim.reset();
        }
        m_dialogs.reset();
    }

    QColor ReadoutColour() { return Find<QLabel>("stReadX")->palette().color(QPalette::WindowText); }

    void PollsRecordsZeroesAndTellsUnreadableReplies()
    {
        // Commands 5 to 7 are plain polls, answered with path points 4 to 6.
        StartSimulator({QStringLiteral("5 record"), QStringLiteral("6 record"), QStringLiteral("7 record")});
        StartStation();
        auto *readX = Find<QLabel>("stReadX");
        auto *status = Find<QLabel>("stLinkStatus");
        GoOnLine();

        QTRY_COMPARE_WITH_TIMEOUT(m_form->PointCount(), 3, 20000);
        QCOMPARE(Rows("sgData"),
                 QList<QStringList>({RowOfPathPoint(1, 4), RowOfPathPoint(2, 5), RowOfPathPoint(3, 6)}));
        const QString name = Find<QLineEdit>("edProjectName")->text();
        QCOMPARE(name.size(), 16);
        QVERIFY2(name.startsWith(QString::number(QDate::currentDate().year())), qPrintable(name));
        QVERIFY(name.at(9) == QLatin1Char('_'));
        // Every poll shows one of the path's points in the coordinate text form.
        QStringList pathTexts;
        for (int i = 0; i < PathCounts().size(); ++i)
            pathTexts.append(RowOfPathPoint(0, i).at(1));
        QVERIFY2(pathTexts.contains(readX->text()), qPrintable(readX->text()));
        // On line, the strip names the port in use and the device it leads to.
        QVERIFY2(status->text().startsWith(QStringLiteral("On line: COM99 - /dev/")),
                 qPrintable(status->text()));
        // "Calibrated" is down: the logo panel turns green with the first reply.
        QCOMPARE(Find<QWidget>("pnLogo")->palette().color(QPalette::Window), QColor(0, 128, 0));
        QCOMPARE(Find<QWidget>("Image1")->toolTip(), QStringLiteral("Green: calibrated readings"));

        // With points in the table Zero asks first; No sends nothing.
        Find<QPushButton>("btnZero")->click();
        QCOMPARE(m_dialogs->Questions,
                 QStringList("Zero the device? Points recorded so far keep the old zero."));
        QCOMPARE(m_form->NextCommand(), QStringLiteral("BR00"));
        m_dialogs->Answers = {true};
        Find<QPushButton>("btnZero")->click();
        QCOMPARE(m_form->NextCommand(), QStringLiteral("BZ00"));
        QCOMPARE(m_dialogs->Sounds, QStringList("hello.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(m_form->NextCommand(), QStringLiteral("BR00"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(m_dialogs->Beeps >= 1, 20000);

        // The device's status characters 3, 4 and 6 reach the chime.
        for (const QByteArray status : {"3", "4", "6"}) {
            const qsizetype chimes = m_dialogs->Sounds.count(QStringLiteral("chimes.wav"));
            Control("status " + status);
            QTRY_COMPARE_WITH_TIMEOUT(m_dialogs->Sounds.count(QStringLiteral("chimes.wav")), chimes + 1,
                                      20000);
        }

        // A point signalled in a reply that cannot be read is lost: the chime and the status line say
        // so, and go on saying it after polling has recovered, until a point is recorded.
        Control("record", "badnumber");
        QTRY_COMPARE_WITH_TIMEOUT(m_dialogs->Sounds.count(QStringLiteral("chimes.wav")), 4, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(
            status->text(),
            QStringLiteral(
                "A point the device signalled could not be read and was not recorded - record it again"),
            20000);
        // No technical detail: the tooltip holds the whole text only.
        QCOMPARE(status->toolTip(), status->text());
        QCOMPARE(m_form->PointCount(), 3);
        QTRY_COMPARE_WITH_TIMEOUT(ReadoutColour(), QColor(0, 0, 160), 20000);
        Control("record");
        QTRY_COMPARE_WITH_TIMEOUT(m_form->PointCount(), 4, 20000);
        // The trouble gives way to the last event (the zeroing) and the port in use.
        QTRY_COMPARE_WITH_TIMEOUT(status->text().section(QStringLiteral(" - "), 0, 0),
                                  QStringLiteral("Zero requested   |   On line: COM99"), 20000);

        // With "Measure Point" up a signalled point is not recorded, and the operator is told so.
        Find<QAbstractButton>("sbMeasure")->click();
        Control("record");
        QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith(QStringLiteral("Point not recorded")), 20000);
        QCOMPARE(m_form->PointCount(), 4);
    }

    // Three seconds of silence, then the device answers again: the station goes on by itself, within
    // two seconds, and the point signalled with the first answer is recorded.
    // Open from its button, the large readout takes the readouts' texts after every reply, says the
    // link is on line, and names the last recorded point.
    void LargeReadoutFollowsEveryReply()
    {
        StartSimulator({QStringLiteral("4 record")});
        StartStation();
        Find<QAbstractButton>("btnLargeReadout")->click();
        auto *large = m_form->findChild<QWidget *>(QStringLiteral("LargeReadout"));
        QVERIFY(large && large->isVisible());
        int mismatches = 0;
        int compared = 0;
        connect(m_form.get(), &TQintarForm::PositionShown, this, [&] {
            ++compared;
            for (const char *axis : {"X", "Y", "Z"})
                if (Find<QLabel>((QByteArray("stLarge") + axis).constData())->text() !=
                    Find<QLabel>((QByteArray("stRead") + axis).constData())->text())
                    ++mismatches;
        });
        GoOnLine();
        QTRY_VERIFY_WITH_TIMEOUT(compared >= 6, 20000);
        QCOMPARE(mismatches, 0);
        QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>("stLargePoint")->text(), QStringLiteral("Last point: 1"),
                                  10000);
        QCOMPARE(Find<QLabel>("stLargeLink")->text(), QStringLiteral("On line"));
        Find<QAbstractButton>("sbOnLine")->click();
        QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>("stLargeLink")->text(), QStringLiteral("Off line"), 10000);
    }

    void SilentDeviceIsPolledAgainByItself()
    {
        StartSimulator({QStringLiteral("5 record"), QStringLiteral("6 record")});
        StartStation();
        auto *status = Find<QLabel>("stLinkStatus");
        GoOnLine();
        QTRY_COMPARE_WITH_TIMEOUT(m_form->PointCount(), 2, 20000);
        const QList<QStringList> before = Rows("sgData");

        Control("silent on");
        QElapsedTimer silence;
        silence.start();
        QTRY_COMPARE_WITH_TIMEOUT(
            status->text(), QStringLiteral("No reply from the device - trying again every second"), 20000);
        // Plain words in the strip; the whole text and the engine's code in the tooltip.
        QCOMPARE(status->toolTip(), status->text() + QStringLiteral("\nR: No Reply"));
        QCOMPARE(ReadoutColour(), QColor(150, 150, 150));
        QVERIFY(QTest::qWaitFor([&] { return silence.elapsed() >= 3000; }, 20000));
        Control("record");
        const int shown = m_shown;
        Control("silent off");
        QElapsedTimer resumed;
        resumed.start();
        QTRY_VERIFY_WITH_TIMEOUT(m_shown > shown, 20000);
        const qint64 took = resumed.elapsed();
        // The one-second retry pace is pinned down on a fake clock (pollinglink_core_test); here the
        // time is only reported, so a busy machine cannot make the run fail.
        qInfo("polling resumed %lld ms after the device answered again", took);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->PointCount(), 3, 20000);
        QCOMPARE(Rows("sgData").mid(0, 2), before);
        QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith(QStringLiteral("On line: COM99")), 20000);
        QCOMPARE(ReadoutColour(), QColor(0, 0, 160));
        QVERIFY(Find<QAbstractButton>("sbOnLine")->isChecked());
        QVERIFY(m_dialogs->Errors.isEmpty());
    }

    // The device unplugged, then plugged in again on the same port: the station opens it again by
    // itself and goes on polling.
    void VanishedDeviceIsOpenedAgainByItself()
    {
        StartSimulator({QStringLiteral("5 record")});
        StartStation();
        auto *status = Find<QLabel>("stLinkStatus");
        GoOnLine();
        QTRY_COMPARE_WITH_TIMEOUT(m_form->PointCount(), 1, 20000);

        Control("vanish 0");
        QTRY_COMPARE_WITH_TIMEOUT(
            status->text(), QStringLiteral("The device is not connected - trying again every 2 seconds"),
            20000);
        QVERIFY2(status->toolTip().contains(QStringLiteral("COM99")), qPrintable(status->toolTip()));
        QCOMPARE(ReadoutColour(), QColor(150, 150, 150));
        // The logo says the same as its tip: no device, no readings.
        QCOMPARE(Find<QWidget>("pnLogo")->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(Find<QWidget>("Image1")->toolTip(),
                 QStringLiteral("Red: no readings from the device (off line or not answering)"));

        StartSimulator({QStringLiteral("3 record")});
        const int shown = m_shown;
        QTRY_VERIFY_WITH_TIMEOUT(m_shown > shown, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith(QStringLiteral("On line: COM99")), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(m_form->PointCount(), 2, 20000);
        QVERIFY(m_dialogs->Errors.isEmpty());
    }

    // The point table is full: the box that says so leaves polling going while it is open.
    void TableFullBoxDoesNotStopPolling()
    {
        QFile table(m_work.filePath(QStringLiteral("full.txt")));
        QVERIFY(table.open(QIODevice::WriteOnly));
        for (int row = 1; row <= 999; ++row)
            table.write(QStringLiteral("%1,1.000,2.000,3.000\r\n").arg(row).toLatin1());
        table.close();
        StartSimulator({});
        StartStation();
        m_dialogs->FileNames = {table.fileName()};
        Find<QTableView>("sgData")->findChild<QAction *>(QStringLiteral("sgDataLoadFromFile"))->trigger();
        QCOMPARE(m_form->PointCount(), 999);
        GoOnLine();
        QTRY_VERIFY_WITH_TIMEOUT(m_shown > 0, 20000);

        int shownWhenOpened = 0;
        m_dialogs->Closes = [&] { return m_shown >= shownWhenOpened + 5; };
        connect(m_form.get(), &TQintarForm::PositionShown, this, [&] {
            if (m_dialogs->Messages.isEmpty())
                shownWhenOpened = m_shown;
        });
        Control("record");
        QTRY_COMPARE_WITH_TIMEOUT(m_dialogs->ClosedInTime.size(), 1, 30000);
        QCOMPARE(m_dialogs->Messages, QStringList(TPointRegister::TableFullMessage()));
        QVERIFY2(m_dialogs->ClosedInTime.at(0), "no position was shown while the box was open");
        QCOMPARE(m_form->PointCount(), 999);
    }

    void RecordDeriveSaveNewLoad()
    {
        StartSimulator({QStringLiteral("5 record"), QStringLiteral("6 record"), QStringLiteral("7 record")});
        StartStation();
        GoOnLine();
        QTRY_COMPARE_WITH_TIMEOUT(m_form->PointCount(), 3, 20000);
        Find<QAbstractButton>("sbOnLine")->click();

        Find<QAbstractButton>("sbDistance")->click();
        PickInXYView(0);
        PickInXYView(2);
        QTRY_COMPARE_WITH_TIMEOUT(Rows("sgDistance").size(), 1, 10000);
        QCOMPARE(Rows("sgDistance").at(0).mid(0, 2), QStringList({"1", "3"}));
        QVERIFY(Find<QLabel>("stLinkStatus")
                    ->text()
                    .startsWith(QStringLiteral("Distance added: point 1 to point 3")));

        Find<QAbstractButton>("sbAngle")->click();
        PickInXYView(0);
        PickInXYView(1);
        PickInXYView(2);
        QTRY_COMPARE_WITH_TIMEOUT(Rows("sgAngles").size(), 1, 10000);
        QCOMPARE(Rows("sgAngles").at(0).mid(0, 3), QStringList({"1", "2", "3"}));

        const QList<QStringList> data = Rows("sgData");
        const QList<QStringList> distances = Rows("sgDistance");
        const QList<QStringList> angles = Rows("sgAngles");
        const QString name = Find<QLineEdit>("edProjectName")->text();
        const QStringList plotted = PlottedPoints();
        QCOMPARE(plotted.size(), 12);

        Find<QPushButton>("btnSaveAll")->click();
        const QString file = m_work.filePath(QStringLiteral("Data/") + name + QStringLiteral(".prj"));
        QVERIFY2(QFileInfo::exists(file), qPrintable(file));

        Find<QPushButton>("btnNew")->click();
        QCOMPARE(m_form->PointCount(), 0);
        QVERIFY(Rows("sgData").isEmpty());
        QVERIFY(PlottedPoints().isEmpty());

        m_dialogs->FileNames = {file};
        Find<QPushButton>("btnLoadAll")->click();
        QCOMPARE(Rows("sgData"), data);
        QCOMPARE(Rows("sgDistance"), distances);
        QCOMPARE(Rows("sgAngles"), angles);
        QCOMPARE(Find<QLineEdit>("edProjectName")->text(), name);
        QCOMPARE(m_form->PointCount(), 3);
        QCOMPARE(PlottedPoints(), plotted);
    }
};

QTEST_MAIN(TStationEndToEndTest)
#include "station_e2e_test.moc"
