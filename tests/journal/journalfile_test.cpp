#include "journal/journal.h"
#include "journal/journalline.h"
#include "journal/journalreader.h"
#include "register/texttable.h"

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

class JournalLineFields : public ::testing::TestWithParam<QStringList>
{
};

// Whatever a field holds (line ends, tabs, backslashes, accents, nothing), it comes back as it was and
// the line holds a single line end, its last byte.
TEST_P(JournalLineFields, ComeBackAsWritten)
{
    const QByteArray line = TJournalLine::Encode(GetParam());
    EXPECT_EQ(line.count('\n'), 1);
    EXPECT_TRUE(line.endsWith('\n'));
    EXPECT_EQ(TJournalLine::Decode(QByteArrayView(line).chopped(1)), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, JournalLineFields,
    ::testing::Values(QStringList{"T", "points", "1", "1", "12.500", "-3.250", "0.000"}, QStringList{"E"},
                      QStringList{"V", "name", ""}, QStringList{"V", "name", "a\tb\\nc\r\nd\\"},
                      QStringList{"V", "name", QString::fromUtf16(u"Pi\u00e8ce \u20ac")}));

// Any changed byte, or a line cut anywhere, fails the checksum or the layout.
TEST(JournalLine, ChangedOrCutLinesAreRefused)
{
    const QByteArray line =
        TJournalLine::Encode({"T", "points", "3", "3", "1.000", "2.000", "3.000"}).chopped(1);
    for (qsizetype at = 0; at < line.size(); ++at) {
        QByteArray changed = line;
        changed[at] = char(changed[at] ^ 0x01);
        EXPECT_FALSE(TJournalLine::Decode(changed)) << "byte " << at;
        EXPECT_FALSE(TJournalLine::Decode(line.first(at))) << "cut at " << at;
    }
}

struct TTables
{
    TTextTable data{4, 1000};
    TTextTable distances{6, 1000};
    QList<TPoint3> marks;
    QString name;

    void Register(TJournal &journal)
    {
        journal.AddTable(QStringLiteral("points"), data);
        journal.AddTable(QStringLiteral("distances"), distances);
        journal.AddValue(
            QStringLiteral("name"), [this] { return name; }, [this](const QString &text) { name = text; });
        journal.SetMarks({[this] { return marks; }, [this](TPoint3 mark) { marks.append(mark); },
                          [this] { marks.clear(); }});
    }
    void Record(TJournal &journal, int number, TPoint3 point)
    {
        TJournal::TBatch batch(&journal);
        marks.append(point);
        journal.MarkAdded(point);
        data.SetRowTexts(data.FilledRowCount() + 1,
                         {QString::number(number), QString::number(point.x, 'f', 3),
                          QString::number(point.y, 'f', 3), QString::number(point.z, 'f', 3)});
    }
    QList<QStringList> Rows(const TTextTable &table) const
    {
        QList<QStringList> rows;
        for (int row = 1; row <= table.LastUsedRow(); ++row)
            rows.append(table.RowTexts(row));
        return rows;
    }
};

class JournalWriter : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString fileName = QDir(dir.path()).filePath(QStringLiteral(".run.journal"));
    TTables tables;
    TJournal journal;

    void SetUp() override
    {
        tables.Register(journal);
        journal.SetFileName(fileName);
    }

    // What a second station makes of the file: the tables, marks and name rebuilt.
    std::unique_ptr<TTables> Restored(const QByteArray &bytes)
    {
        auto restored = std::make_unique<TTables>();
        TJournal other;
        restored->Register(other);
        other.Restore(TJournalReader::Read(bytes));
        return restored;
    }
};

TEST_F(JournalWriter, RebuildsEveryChangeAsShown)
{
    tables.name = QStringLiteral("bracket A");
    tables.Record(journal, 1, {1.0f, 2.0f, 3.0f});
    tables.Record(journal, 2, {4.5f, -1.25f, 0.0f});
    tables.Record(journal, 3, {7.0f, 8.0f, 9.0f});
    tables.distances.SetRowTexts(1, {"1", "3", "6.000", "6.000", "6.000", "10.392"});
    tables.data.DeleteRow(2);

    const auto restored = Restored(ReadAll(fileName));
    EXPECT_EQ(restored->Rows(restored->data), tables.Rows(tables.data));
    EXPECT_EQ(restored->Rows(restored->distances), tables.Rows(tables.distances));
    // The deleted point's mark stays, as in the views.
    EXPECT_EQ(restored->marks, tables.marks);
    EXPECT_EQ(restored->marks.size(), 3);
    EXPECT_EQ(restored->name, QStringLiteral("bracket A"));
}

// One write of lines per change: a batch closes with a single "S" line however many edits it held.
TEST_F(JournalWriter, ABatchIsOneChangeAndAnEmptyStationWritesNothing)
{
    tables.data.ClearDataRows();
    EXPECT_FALSE(QFile::exists(fileName));
    tables.Record(journal, 1, {1.0f, 2.0f, 3.0f});
    {
        TJournal::TBatch batch(&journal);
        for (int row = 1; row <= 5; ++row)
            tables.distances.SetRowTexts(row, {"1", "1", "0.000", "0.000", "0.000", "0.000"});
    }
    const TJournalContents contents = TJournalReader::Read(ReadAll(fileName));
    EXPECT_EQ(contents.state, TJournalContents::TState::Complete);
    ASSERT_EQ(contents.changes.size(), 2);
    EXPECT_EQ(contents.changes[1].ops.size(), 5);
}

// After a save the file goes; the next change starts a new one that holds the whole work, marks of
// deleted points included, so it alone rebuilds the station.
TEST_F(JournalWriter, ASettledJournalStartsAgainWithTheWholeWork)
{
    tables.Record(journal, 1, {1.0f, 2.0f, 3.0f});
    tables.Record(journal, 2, {4.0f, 5.0f, 6.0f});
    tables.data.DeleteRow(1);
    journal.Settled();
    EXPECT_FALSE(QFile::exists(fileName));
    EXPECT_FALSE(QFile::exists(TJournalFile::LockName(fileName)));
    tables.name = QStringLiteral("renamed");
    tables.Record(journal, 3, {7.0f, 8.0f, 9.0f});

    const TJournalContents contents = TJournalReader::Read(ReadAll(fileName));
    ASSERT_EQ(contents.changes.size(), 1);
    const auto restored = Restored(ReadAll(fileName));
    EXPECT_EQ(restored->Rows(restored->data), tables.Rows(tables.data));
    EXPECT_EQ(restored->marks.size(), 3);
    EXPECT_EQ(restored->name, QStringLiteral("renamed"));
}

TEST_F(JournalWriter, APauseKeepsALoadOutOfTheJournal)
{
    {
        TJournal::TPause pause(&journal);
        tables.Record(journal, 1, {1.0f, 2.0f, 3.0f});
    }
    EXPECT_FALSE(QFile::exists(fileName));
}

// A crash in the middle of a write leaves a line without its end, or a change without its "S": what
// was shown before comes back, the cut change does not.
TEST_F(JournalWriter, ATornTailLosesOnlyTheChangeBeingWritten)
{
    tables.Record(journal, 1, {1.0f, 2.0f, 3.0f});
    tables.Record(journal, 2, {4.0f, 5.0f, 6.0f});
    const QByteArray whole = ReadAll(fileName);
    const qsizetype lastChange = whole.lastIndexOf("\n", whole.size() - 2);
    const qsizetype secondChange = whole.indexOf(TJournalLine::Encode({"M", "4", "5", "6"}));
    ASSERT_GT(secondChange, 0);
    for (const qsizetype cut : {whole.size() - 1, lastChange + 5, secondChange + 3}) {
        const TJournalContents contents = TJournalReader::Read(whole.first(cut));
        EXPECT_EQ(contents.state, TJournalContents::TState::TornTail) << cut;
        const auto restored = Restored(whole.first(cut));
        EXPECT_EQ(restored->Rows(restored->data).size(), 1) << cut;
        EXPECT_EQ(restored->marks.size(), 1) << cut;
    }
    EXPECT_EQ(TJournalReader::Read(whole).state, TJournalContents::TState::Complete);
}

TEST(JournalReader, TellsGarbageAndDamageApart)
{
    EXPECT_EQ(TJournalReader::Read("").state, TJournalContents::TState::Empty);
    EXPECT_EQ(TJournalReader::Read("garbage\n\x01\x02 more garbage").state,
              TJournalContents::TState::NotAJournal);
    const QByteArray header = TJournalLine::Encode({TJournalReader::Magic, TJournalReader::Version, "1000"});
    const QByteArray change = TJournalLine::Encode({"C", "points"}) + TJournalLine::Encode({"S", "2000"});
    const TJournalContents damaged = TJournalReader::Read(header + change + "broken line\n" + change);
    EXPECT_EQ(damaged.state, TJournalContents::TState::Damaged);
    EXPECT_EQ(damaged.changes.size(), 1);
    EXPECT_EQ(damaged.unusedLines, 3);
    EXPECT_EQ(damaged.changes[0].shownAt, 2000);
    EXPECT_EQ(damaged.startedAt, 1000);
}

TEST(JournalFile, ALockedJournalIsInUseUntilReleased)
{
    QTemporaryDir dir;
    const QString fileName = QDir(dir.path()).filePath(QStringLiteral(".a.journal"));
    TJournalFile file;
    ASSERT_TRUE(file.Create(fileName));
    EXPECT_TRUE(TJournalFile::IsInUse(fileName));
    // A second station never writes into another's journal.
    TJournalFile second;
    EXPECT_FALSE(second.Create(fileName));
    file.Release();
    EXPECT_FALSE(TJournalFile::IsInUse(fileName));
    EXPECT_TRUE(QFile::exists(fileName));
}

} // namespace
