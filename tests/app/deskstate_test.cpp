// The window protects the operator's work and shows its state: the question before work is discarded,
// the status line, the tooltips, the look of disabled controls, texts that fit.
#include "app/desklook.h"
#include "app/heartbeatbutton.h"
#include "app/qintarform.h"
#include "app/readoutlabel.h"
#include "register/texttable.h"
#include "stationundertest.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(TOperatorDialogs::TAnswer)

class TDeskStateTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configFolder;

private Q_SLOTS:
    void initTestCase()
    {
        // The settings file lives in the configuration folder; keep the tests' one to themselves.
        qputenv("XDG_CONFIG_HOME", m_configFolder.path().toLocal8Bit());
    }

    // New, Clear and Load ask before they discard work; Yes saves first and goes on only when the
    // file was written, Cancel keeps everything.
    void DiscardingWorkAsksFirst_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("projectName");
        QTest::addColumn<TOperatorDialogs::TAnswer>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("saved");
        using TAnswer = TOperatorDialogs::TAnswer;
        for (const char *button : {"btnNew", "btnClear", "btnLoadAll"}) {
            const QString name = QLatin1String(button);
            QTest::addRow("%s, unchanged", button)
                << name << false << "Bracket" << TAnswer::Cancel << false << true << false;
            QTest::addRow("%s, Cancel", button)
                << name << true << "Bracket" << TAnswer::Cancel << true << false << false;
            QTest::addRow("%s, No", button)
                << name << true << "Bracket" << TAnswer::No << true << true << false;
            QTest::addRow("%s, Yes", button)
                << name << true << "Bracket" << TAnswer::Yes << true << true << true;
        }
        QTest::newRow("Yes, save refused")
            << "btnNew" << true << "" << TAnswer::Yes << true << false << false;
    }

    void DiscardingWorkAsksFirst()
    {
        QFETCH(QString, button);
        QFETCH(bool, changed);
        QFETCH(QString, projectName);
        QFETCH(TOperatorDialogs::TAnswer, answer);
        QFETCH(bool, asked);
        QFETCH(bool, goesOn);
        QFETCH(bool, saved);
        auto station = Start();
        TQintarForm &form = *station->form;
        const QString project = station->folder.filePath(QStringLiteral("Data/Bracket.prj"));
        PutPoint(form);
        Table(form, "sgData")->SetRow(2);
        Find<QLineEdit>(form, "edProjectName")->setText(projectName);
        if (!changed) {
            Find<QPushButton>(form, "btnSaveAll")->click();
            QVERIFY(QFile::remove(project));
        }
        station->dialogs.ThreeWayAnswers = {answer};
        Find<QPushButton>(form, button.toLatin1().constData())->click();

        QCOMPARE(station->dialogs.Questions, asked ? QStringList("Save current data?") : QStringList());
        for (TOperatorDialogs::TStyle style : station->dialogs.QuestionStyles)
            QCOMPARE(style, TOperatorDialogs::TStyle::Information);
        QCOMPARE(QFileInfo::exists(project), saved);
        // Load goes on to its file dialog (cancelled here, so the tables stay); New and Clear empty them.
        if (button == QLatin1String("btnLoadAll"))
            QCOMPARE(station->dialogs.FileDialogTitles.size(), goesOn ? 1 : 0);
        else
            QCOMPARE(form.HasMeasuredData(), !goesOn);
        // Emptied tables start over at row 1, and the strip tells of the clearing.
        const bool cleared = goesOn && button != QLatin1String("btnLoadAll");
        QCOMPARE(Table(form, "sgData")->Row(), cleared ? 1 : 2);
        QCOMPARE(Find<QTableView>(form, "sgData")->currentIndex().row(), cleared ? 0 : 1);
        if (cleared)
            QCOMPARE(Find<QLabel>(form, "stLinkStatus")->text(), QStringLiteral("Cleared"));
    }

    void WindowShowsItsState()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        // Row 1 of each table is current and highlighted from the start.
        for (const char *name : {"sgData", "sgDistance", "sgAngles"}) {
            auto *view = Find<QTableView>(form, name);
            QVERIFY2(view->selectionModel()->isRowSelected(0, {}), name);
            QCOMPARE(view->currentIndex().row(), 0);
        }
        // The access code shows a star per character.
        auto *password = Find<QLineEdit>(form, "edPassword");
        password->setText(QStringLiteral("abc"));
        QCOMPARE(password->displayText(), QStringLiteral("***"));
        // A disabled button's caption looks different from an enabled one's.
        auto *save = Find<QPushButton>(form, "btnSaveAlphaX");
        QVERIFY(!save->isEnabled());
        QVERIFY(save->palette().color(QPalette::Disabled, QPalette::ButtonText) !=
                save->palette().color(QPalette::Active, QPalette::ButtonText));
        // The access-code labels end inside the maintenance area, at their designed places.
        for (const char *name : {"Label14", "Label15"}) {
            auto *label = Find<QLabel>(form, name);
            QVERIFY2(label->x() + label->fontMetrics().horizontalAdvance(label->text()) <= 1209, name);
        }
        QCOMPARE(Find<QLabel>(form, "Label14")->pos(), QPoint(986, 609));
        // Every control of the window says what it does (the hidden port panel's own controls aside).
        const QWidget *usb = Find<QWidget>(form, "USB");
        for (QWidget *control : form.findChildren<QWidget *>()) {
            const bool isControl = qobject_cast<QAbstractButton *>(control) ||
                                   qobject_cast<QLineEdit *>(control) ||
                                   qobject_cast<QTableView *>(control) || qobject_cast<QScrollBar *>(control);
            if (!isControl || control->objectName().isEmpty() || usb->isAncestorOf(control))
                continue;
            QVERIFY2(!control->toolTip().isEmpty(), qPrintable(control->objectName()));
        }
    }

    void StatusLineSpeaksPlainly()
    {
        auto station = Start();
        TQintarForm &form = *station->form;
        auto *strip = Find<QLabel>(form, "stLinkStatus");
        Find<QPushButton>(form, "sbAngle")->click();
        QCOMPARE(strip->text(), QStringLiteral("Angle: pick the first point"));
        Find<QPushButton>(form, "btnZero")->click();
        QCOMPARE(strip->text(), QStringLiteral("Zero requested"));
        // A project name long enough to overflow the strip: the strip elides, the tooltip has it all.
        const QString name = QString(150, QLatin1Char('n'));
        PutPoint(form);
        Find<QLineEdit>(form, "edProjectName")->setText(name);
        Find<QPushButton>(form, "btnSaveAll")->click();
        const QString whole = QDir::toNativeSeparators(QStringLiteral("Saved to Data/") + name + ".prj");
        QVERIFY(strip->toolTip().startsWith(whole));
        QVERIFY(strip->text().endsWith(QChar(0x2026)));
        QVERIFY(strip->fontMetrics().horizontalAdvance(strip->text()) <= strip->width());
    }

    void WideningKeepsTheWindowOnScreen_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("expected");
        // An available area 1400 wide from x 0: a 1225-wide window may start at 175 at most.
        QTest::newRow("fits where it is") << 100 << 100;
        QTest::newRow("moved left") << 400 << 175;
        QTest::newRow("never off the left edge") << -50 << 0;
    }

    void WideningKeepsTheWindowOnScreen()
    {
        QFETCH(int, left);
        QFETCH(int, expected);
        QCOMPARE(TDeskLook::LeftKeepingOnScreen(left, 1225, QRect(0, 0, 1400, 900)), expected);
        // A screen narrower than the window keeps its left edge in view.
        QCOMPARE(TDeskLook::LeftKeepingOnScreen(left, 1225, QRect(0, 0, 1024, 768)), 0);
    }

    // The readouts draw their numbers themselves, pixel for pixel where and how a label draws them.
    void ReadoutLooksAsALabel_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("enabled");
        const int left = Qt::AlignLeft | Qt::AlignVCenter;
        QTest::newRow("zero") << "0.000" << left << QColor(0, 0, 160) << true;
        QTest::newRow("negative") << "-123.456" << left << QColor(0, 0, 160) << true;
        QTest::newRow("stale grey") << "-1.005" << left << QColor(150, 150, 150) << true;
        QTest::newRow("right") << "999.999" << int(Qt::AlignRight | Qt::AlignVCenter) << QColor(0, 0, 160)
                               << true;
        QTest::newRow("centred") << "+12.5 " << int(Qt::AlignCenter) << QColor(0, 0, 160) << true;
        QTest::newRow("top") << "7.25" << int(Qt::AlignLeft | Qt::AlignTop) << QColor(0, 0, 160) << true;
        QTest::newRow("disabled") << "12.345" << left << QColor(0, 0, 160) << false;
        QTest::newRow("not a number") << "X= 1.5" << left << QColor(0, 0, 160) << true;
    }

    void ReadoutLooksAsALabel()
    {
        QFETCH(QString, text);
        QFETCH(int, alignment);
        QFETCH(QColor, colour);
        QFETCH(bool, enabled);
        TReadoutLabel readout;
        QLabel label;
        for (QLabel *shown : {static_cast<QLabel *>(&readout), &label}) {
            QFont font = shown->font();
            font.setPointSize(12);
            font.setBold(true);
            shown->setFont(font);
            shown->setAutoFillBackground(true);
            shown->setAlignment(Qt::Alignment(alignment));
            QPalette palette = shown->palette();
            palette.setColor(QPalette::WindowText, colour);
            palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
            shown->setPalette(palette);
            shown->resize(84, 24);
            shown->setText(text);
            shown->setEnabled(enabled);
        }
        QCOMPARE(readout.grab().toImage(), label.grab().toImage());
    }

    // The On Line button shows each caption colour and state as a plain button draws it, however
    // often the colour flips.
    void HeartbeatLooksAsAButton()
    {
        THeartbeatButton heartbeat;
        QPushButton button;
        const auto set = [&](const std::function<void(QPushButton &)> &change) {
            change(heartbeat);
            change(button);
        };
        set([](QPushButton &b) {
            b.setText(QStringLiteral("On Line"));
            b.setCheckable(true);
            b.resize(100, 25);
            b.show();
        });
        const auto caption = [&](const QColor &colour) {
            set([&](QPushButton &b) {
                QPalette palette = b.palette();
                palette.setColor(QPalette::ButtonText, colour);
                b.setPalette(palette);
            });
        };
        const QColor navy(0, 0, 128);
        const QColor red(255, 0, 0);
        for (const bool checked : {false, true, false}) {
            set([&](QPushButton &b) { b.setChecked(checked); });
            for (const QColor &colour : {red, navy, red, navy}) {
                caption(colour);
                QCOMPARE(heartbeat.grab().toImage(), button.grab().toImage());
            }
        }
        set([](QPushButton &b) { b.resize(120, 30); });
        QCOMPARE(heartbeat.grab().toImage(), button.grab().toImage());
    }
};

QTEST_MAIN(TDeskStateTest)
#include "deskstate_test.moc"
