// The station's window against the device simulator on a pseudo-terminal: the real serial layer, the
// port manager, the polling cycle, the tables, the views and the project file, end to end.
#include "app/devicereply.h"
#include "app/qintarform.h"
#include "common/coordinatetext.h"
#include "plots/viewengine.h"
#include "plots/viewwidget.h"
#include "register/texttable.h"
#include "scripteddialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

} // namespace

class TStationEndToEndTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;
    QTemporaryDir m_work;
    QString m_startDirectory = QDir::currentPath();
    std::unique_ptr<QProcess> m_devsim;
    std::unique_ptr<TScriptedDialogs> m_dialogs;
    std::unique_ptr<TQintarForm> m_form;

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

    // Runs a control line in the simulator and waits until it has taken it.
    void Control(const QByteArray &line)
    {
        m_devsim->readAllStandardOutput();
        m_devsim->write(line + '\n');
        QByteArray output;
        while (!output.contains("ok " + line)) {
            QVERIFY2(m_devsim->waitForReadyRead(10000), line.constData());
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
        m_dialogs = std::make_unique<TScriptedDialogs>();
        QDir::setCurrent(m_work.path());
        m_form = std::make_unique<TQintarForm>(m_dialogs.get());
        QDir::setCurrent(m_startDirectory);
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

    void PollsRecordsZeroesStallsAndRestarts()
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
        QVERIFY(status->text().isEmpty());
        // "Calibrated" is down: the logo panel turns green with the first reply.
        QCOMPARE(Find<QWidget>("pnLogo")->palette().color(QPalette::Window), QColor(0, 128, 0));

        Find<QPushButton>("btnZero")->click();
        QCOMPARE(m_form->NextCommand(), QStringLiteral("BZ00"));
        QCOMPARE(m_dialogs->Sounds, QStringList("hello.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(m_form->NextCommand(), QStringLiteral("BR00"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(m_dialogs->Beeps >= 1, 20000);

        // A silent device stalls the cycle, and the operator sees it.
        Control("silent on");
        QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith(QStringLiteral("No reply from the device")),
                                 20000);
        QCOMPARE(readX->palette().color(QPalette::WindowText), QColor(150, 150, 150));
        QVERIFY(!Find<QTimer>("tCommsDelay")->isActive());
        QVERIFY(Find<QAbstractButton>("sbOnLine")->isChecked());

        // Off line and on line again starts the cycle anew.
        Control("silent off");
        Find<QAbstractButton>("sbOnLine")->click();
        GoOnLine();
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), QString(), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(readX->palette().color(QPalette::WindowText), QColor(0, 0, 160), 20000);
        QCOMPARE(m_form->PointCount(), 3);
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
