#include "app/qtoperatordialogs.h"
#include "app/soundplayer.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct TFilterCase
{
    const char *Name;
    const char *Station;
    Qt::CaseSensitivity FileNames;
    const char *Qt;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TFilterCase &c, std::ostream *os)
{
    *os << c.Name;
}

class FilterText : public testing::TestWithParam<TFilterCase>
{
};

TEST_P(FilterText, BecomesQtForm)
{
    const TFilterCase &c = GetParam();
    EXPECT_EQ(TQtOperatorDialogs::QtFilter(QString::fromLatin1(c.Station), c.FileNames),
              QString::fromLatin1(c.Qt));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterText,
    testing::Values(
        TFilterCase{"ProjectCaseSensitive", "Qintar Project Files (*.prj)|*.PRJ", Qt::CaseSensitive,
                    "Qintar Project Files (*.PRJ *.prj)"},
        TFilterCase{"ProjectCaseInsensitive", "Qintar Project Files (*.prj)|*.PRJ", Qt::CaseInsensitive,
                    "Qintar Project Files (*.PRJ)"},
        TFilterCase{"TableFilesAlsoOfferAllFiles", "Qintar Project Files (*.prj)|*.PRJ|All files (*)|*",
                    Qt::CaseSensitive, "Qintar Project Files (*.PRJ *.prj);;All files (*)"},
        TFilterCase{"SeveralEntries", "Text|*.txt;*.Csv|All|*.*", Qt::CaseSensitive,
                    "Text (*.txt *.TXT *.Csv *.csv *.CSV);;All (*.*)"},
        TFilterCase{"MissingPattern", "Anything|", Qt::CaseSensitive, "Anything (*)"},
        TFilterCase{"AlreadyQtForm", "Tables (*.txt *.TXT)", Qt::CaseSensitive, "Tables (*.txt *.TXT)"}),
    [](const auto &info) { return std::string(info.param.Name); });

// Runs the test body with the working directory moved to a fresh temporary folder.
class Sounds : public testing::Test
{
protected:
    void SetUp() override
    {
        m_oldDirectory = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    }
    void TearDown() override { QDir::setCurrent(m_oldDirectory); }

    QTemporaryDir m_dir;
    QString m_oldDirectory;
};

TEST_F(Sounds, BundledSoundsMatchWithoutCase)
{
    EXPECT_EQ(TSoundPlayer::Locate(QStringLiteral("chimes.wav")), QStringLiteral(":/sounds/chimes.wav"));
    EXPECT_EQ(TSoundPlayer::Locate(QStringLiteral("Chimes.wav")), QStringLiteral(":/sounds/chimes.wav"));
    EXPECT_EQ(TSoundPlayer::Locate(QStringLiteral("HELLO.WAV")), QStringLiteral(":/sounds/hello.wav"));
    EXPECT_EQ(TSoundPlayer::Locate(QStringLiteral("missing.wav")), QString());
    EXPECT_EQ(TSoundPlayer::Locate(QString()), QString());
}

TEST_F(Sounds, WorkingDirectoryComesFirst)
{
    QFile own(QDir(m_dir.path()).filePath(QStringLiteral("hello.wav")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(":/sounds/hello.wav"), own.fileName()));
    EXPECT_EQ(TSoundPlayer::Locate(QStringLiteral("hello.wav")), QFileInfo(own).absoluteFilePath());
}

TEST_F(Sounds, DurationComesFromTheWaveHeader)
{
    EXPECT_EQ(TSoundPlayer::WaveDuration(QStringLiteral(":/sounds/chimes.wav")), 299);
    EXPECT_EQ(TSoundPlayer::WaveDuration(QStringLiteral(":/sounds/hello.wav")), 200);

    QFile bogus(QStringLiteral("bogus.wav"));
    ASSERT_TRUE(bogus.open(QIODevice::WriteOnly));
    bogus.write("RIFF\x10\0\0\0WAVEdata\xff\xff\xff\xff", 20);
    bogus.close();
    EXPECT_FALSE(TSoundPlayer::WaveDuration(QStringLiteral("bogus.wav")));
    EXPECT_FALSE(TSoundPlayer::WaveDuration(QStringLiteral("none.wav")));
}

// Neither a missing nor a broken sound shows anything or stays waiting; a real one returns as well,
// whether or not this machine has an audio output.
TEST_F(Sounds, PlayingNeverHangsOrComplains)
{
    QFile broken(QStringLiteral("chimes.wav"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a wave file");
    broken.close();

    TQtOperatorDialogs dialogs;
    dialogs.PlaySound(QStringLiteral("missing.wav"));
    dialogs.PlaySound(QStringLiteral("chimes.wav"));
    dialogs.PlaySound(QStringLiteral("hello.wav"));
    EXPECT_EQ(QApplication::topLevelWidgets().count(), 0);
}

// Answers the next message box with the given button and records its caption, text and icon.
void AnswerNextBox(QMessageBox::StandardButton button, QString &caption, QString &text,
                   QMessageBox::Icon *icon = nullptr)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [button, &caption, &text, icon, poll] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, *poll);
            return;
        }
        caption = box->windowTitle();
        text = box->text();
        if (icon)
            *icon = box->icon();
        box->button(button)->click();
    };
    QTimer::singleShot(0, *poll);
}

TEST(OperatorDialogs, BoxesCarryTheCaptionAndAnswerYesOrNo)
{
    TQtOperatorDialogs dialogs;
    QString caption, text;

    AnswerNextBox(QMessageBox::Ok, caption, text);
    dialogs.ShowMessage(QStringLiteral("first\rsecond"));
    EXPECT_EQ(caption, QStringLiteral("QintarSoft"));
    EXPECT_EQ(text, QStringLiteral("first\nsecond"));

    AnswerNextBox(QMessageBox::Yes, caption, text);
    EXPECT_TRUE(dialogs.AskYesNo(QStringLiteral("Are you sure?"), TOperatorDialogs::TStyle::Warning));
    EXPECT_EQ(text, QStringLiteral("Are you sure?"));

    QMessageBox::Icon icon = QMessageBox::NoIcon;
    AnswerNextBox(QMessageBox::No, caption, text, &icon);
    EXPECT_FALSE(
        dialogs.AskYesNo(QStringLiteral("Save current data?"), TOperatorDialogs::TStyle::Information));
    EXPECT_EQ(icon, QMessageBox::Information);

    // The three-way question before work is discarded: each button gives its own answer.
    using TAnswer = TOperatorDialogs::TAnswer;
    for (const auto &[button, answer] :
         {std::pair{QMessageBox::Yes, TAnswer::Yes}, std::pair{QMessageBox::No, TAnswer::No},
          std::pair{QMessageBox::Cancel, TAnswer::Cancel}}) {
        icon = QMessageBox::NoIcon;
        AnswerNextBox(button, caption, text, &icon);
        EXPECT_EQ(dialogs.AskYesNoCancel(QStringLiteral("Save current data?"),
                                         TOperatorDialogs::TStyle::Information),
                  answer);
        EXPECT_EQ(icon, QMessageBox::Information);
    }

    AnswerNextBox(QMessageBox::Ok, caption, text);
    dialogs.ShowError(QStringLiteral("Unable to write to Qintar_54_Setup.ini"));
    EXPECT_EQ(caption, QStringLiteral("QintarSoft"));
}

} // namespace

namespace {

// The save dialog proposes the file, and a name typed without an extension takes the one of the filter
// the operator chose, as the operator would do it: choosing from the type list, typing, pressing Save.
TEST(OperatorDialogs, SaveDialogProposesTheFileAndAddsTheChosenExtension)
{
    QTemporaryDir dir;
    const QStringList filters = {QStringLiteral("Point table as CSV (*.csv)"),
                                 QStringLiteral("Drawing for CAD as DXF (*.dxf)")};
    QString proposed;
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [&proposed, poll] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(10, *poll);
            return;
        }
        proposed = dialog->selectedFiles().value(0);
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!types || !name) {
            dialog->reject();
            return;
        }
        types->setCurrentIndex(1);
        Q_EMIT types->textActivated(types->currentText());
        name->setText(QStringLiteral("part"));
        QMetaObject::invokeMethod(dialog, "accept");
    };
    QTimer::singleShot(0, *poll);

    TQtOperatorDialogs dialogs;
    const auto choice = dialogs.SaveFileChoice(QStringLiteral("Export"),
                                               QDir(dir.path()).filePath("Bracket.csv"), filters, 0);
    EXPECT_EQ(proposed, QDir(dir.path()).filePath("Bracket.csv"));
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->fileName, QDir(dir.path()).filePath("part.dxf"));
    EXPECT_EQ(choice->filter, 1);
}

} // namespace
