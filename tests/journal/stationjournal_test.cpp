#include "app/stationjournal.h"
#include "journal/journalline.h"
#include "plots/plotviews.h"
#include "plots/seriesstore.h"
#include "register/pointregister.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

QByteArray ReadAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A station's register, views and name, journalled into the Data folder.
struct TStationParts
{
    TPointRegister pointRegister;
    TSeriesStore engine;
    TPlotViews views{engine};
    QString name;
    std::unique_ptr<TStationJournal> journal;

    TStationParts(TScriptedDialogs &dialogs, const QString &data)
    {
        pointRegister.SetHeaders();
        journal = std::make_unique<TStationJournal>(dialogs, data);
        journal->Watch(
            pointRegister, views, [this] { return name; }, [this](const QString &text) { name = text; });
    }
    void Record(TPoint3 point)
    {
        TJournal::TBatch batch(&journal->Journal());
        views.AddRecordedPoint(point);
        pointRegister.AddPoint(point, false);
    }
};

class LeftOverJournal : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString data = QDir(dir.path()).filePath(QStringLiteral("Data"));
    QString earlier;
    TScriptedDialogs dialogs;

    void SetUp() override
    {
        QDir().mkpath(data);
        earlier = QDir(data).filePath(TStationJournal::FilePrefix + QStringLiteral("earlier") +
                                      TStationJournal::FileSuffix);
    }

    // A run that recorded three points, deleted the second and derived a distance, then died.
    void EarlierRunDies()
    {
        TScriptedDialogs quiet;
        TStationParts run(quiet, data);
        run.journal->Journal().SetFileName(earlier);
        run.name = QStringLiteral("bracket A");
        run.Record({1.0f, 2.0f, 3.0f});
        run.Record({4.0f, 5.0f, 6.0f});
        run.Record({7.0f, 8.0f, 9.0f});
        run.pointRegister.Distances().SetRowTexts(1, {"1", "3", "6.000", "6.000", "6.000", "10.392"});
        run.pointRegister.Data().DeleteRow(2);
    }

    QStringList KeptAside() const
    {
        return QDir(data).entryList({QStringLiteral("Journal *") + TStationJournal::AsideSuffix},
                                    QDir::Files);
    }
};

TEST_F(LeftOverJournal, YesRebuildsTheWorkAndNumberingGoesOn)
{
    EarlierRunDies();
    dialogs.Answers = {true};
    TStationParts next(dialogs, data);
    next.journal->OfferLeftOvers();

    ASSERT_EQ(dialogs.Questions.size(), 1);
    EXPECT_TRUE(dialogs.Questions[0].startsWith(
        QStringLiteral("The station was not closed normally. Restore the work of ")));
    EXPECT_TRUE(dialogs.Questions[0].endsWith(QStringLiteral(" (2 points, 1 distance, 0 angles)?")))
        << dialogs.Questions[0].toStdString();
    const TTextTable &points = next.pointRegister.Data();
    EXPECT_EQ(points.RowTexts(1), QStringList({"1", "1.000", "2.000", "3.000"}));
    EXPECT_EQ(points.RowTexts(2), QStringList({"3", "7.000", "8.000", "9.000"}));
    EXPECT_TRUE(points.IsRowFree(3));
    EXPECT_EQ(next.pointRegister.Distances().Cell(5, 1), QStringLiteral("10.392"));
    EXPECT_EQ(next.name, QStringLiteral("bracket A"));
    EXPECT_EQ(next.pointRegister.PointCount(), 3);
    // The deleted point's mark is back, hollow.
    ASSERT_EQ(next.engine.SeriesCount(1), 3);
    for (int series = 1; series <= 4; ++series) {
        EXPECT_FALSE(next.engine.IsMarkDeleted(series, 0));
        EXPECT_TRUE(next.engine.IsMarkDeleted(series, 1));
        EXPECT_FALSE(next.engine.IsMarkDeleted(series, 2));
    }
    next.Record({0.5f, 0.5f, 0.5f});
    EXPECT_EQ(points.Cell(0, 3), QStringLiteral("4"));
    // The earlier journal is gone; this run's own holds the restored work.
    EXPECT_FALSE(QFile::exists(earlier));
    EXPECT_TRUE(next.journal->Journal().IsOpen());
    EXPECT_TRUE(KeptAside().isEmpty());
}

TEST_F(LeftOverJournal, NoKeepsTheJournalAsideUnderItsDate)
{
    EarlierRunDies();
    const QByteArray bytes = ReadAll(earlier);
    TStationParts next(dialogs, data);
    QString told;
    next.journal->SetStatusReport([&](const QString &text) { told = text; });
    next.journal->OfferLeftOvers();

    EXPECT_EQ(dialogs.Questions.size(), 1);
    EXPECT_TRUE(next.pointRegister.Data().IsRowFree(1));
    const QStringList aside = KeptAside();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(ReadAll(QDir(data).filePath(aside[0])), bytes);
    EXPECT_TRUE(told.contains(aside[0])) << told.toStdString();
    EXPECT_FALSE(QFile::exists(earlier));
    // Asked once: the next start finds nothing to offer.
    TScriptedDialogs later;
    TStationParts third(later, data);
    third.journal->OfferLeftOvers();
    EXPECT_TRUE(later.Questions.isEmpty());
}

TEST_F(LeftOverJournal, GarbageIsKeptAsideWithAMessage)
{
    // Bytes of every kind, a NUL among them: sizeof counts the literal's own bytes, its closing NUL left out.
    static const char bytes[] = "\x7f"
                                "ELF this is no journal\n\x00\x01\x02";
    const QByteArray garbage(bytes, sizeof bytes - 1);
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(garbage);
    file.close();
    TStationParts next(dialogs, data);
    next.journal->OfferLeftOvers();

    EXPECT_TRUE(dialogs.Questions.isEmpty());
    ASSERT_EQ(dialogs.Messages.size(), 1);
    const QStringList aside = KeptAside();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains(aside[0])) << dialogs.Messages[0].toStdString();
    EXPECT_EQ(ReadAll(QDir(data).filePath(aside[0])), garbage);
}

// A damaged line in the middle: the work before it comes back, and the whole file is kept.
TEST_F(LeftOverJournal, DamagedJournalRestoresWhatItCanAndIsKept)
{
    EarlierRunDies();
    QByteArray bytes = ReadAll(earlier);
    const qsizetype distance = bytes.indexOf("\tdistances\t1\t");
    ASSERT_GT(distance, 0);
    bytes[distance + 1] = 'D';
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    dialogs.Answers = {true};
    TStationParts next(dialogs, data);
    next.journal->OfferLeftOvers();
    EXPECT_TRUE(dialogs.Questions.value(0).endsWith(QStringLiteral("(3 points, 0 distances, 0 angles)?")));
    EXPECT_EQ(next.pointRegister.Data().FilledRowCount(), 3);
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].startsWith(QStringLiteral("Part of the journal was damaged")));
    ASSERT_EQ(KeptAside().size(), 1);
    EXPECT_EQ(ReadAll(QDir(data).filePath(KeptAside()[0])), bytes);
}

TEST_F(LeftOverJournal, AJournalOfARunningStationIsLeftAlone)
{
    TScriptedDialogs quiet;
    TStationParts running(quiet, data);
    running.journal->Journal().SetFileName(earlier);
    running.Record({1.0f, 2.0f, 3.0f});
    ASSERT_TRUE(running.journal->Journal().IsOpen());

    TStationParts next(dialogs, data);
    next.journal->OfferLeftOvers();
    EXPECT_TRUE(dialogs.Questions.isEmpty());
    EXPECT_TRUE(QFile::exists(earlier));
}

TEST(StationJournalNames, RunsKeepApartAndAsideNamesNeverClash)
{
    QTemporaryDir dir;
    const QDateTime start(QDate(2026, 12, 10), QTime(0, 15, 40));
    EXPECT_NE(TStationJournal::RunFileName(dir.path(), start, 100),
              TStationJournal::RunFileName(dir.path(), start, 101));
    EXPECT_TRUE(QFileInfo(TStationJournal::RunFileName(dir.path(), start, 100))
                    .fileName()
                    .startsWith(QLatin1Char('.')));
    const QString first = TStationJournal::AsideFileName(dir.path(), start);
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("Journal 2026-12-10 00.15.40.qjl"));
    QFile(first).open(QIODevice::WriteOnly);
    EXPECT_EQ(QFileInfo(TStationJournal::AsideFileName(dir.path(), start)).fileName(),
              QStringLiteral("Journal 2026-12-10 00.15.40 (2).qjl"));
}

} // namespace
