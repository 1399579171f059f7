#include "files/csvrecords.h"
#include "files/resultshistory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct TCsvCase
{
    const char *what;
    QByteArray bytes;
    QList<QStringList> records;
    QByteArray tornTail;
};

class CsvRecordsTest : public ::testing::TestWithParam<TCsvCase>
{
};

TEST_P(CsvRecordsTest, ReadsWholeRecordsAndKeepsACutOffOneApart)
{
    const TCsvCase &c = GetParam();
    const TCsvRecords::TParsed parsed = TCsvRecords::Parse(c.bytes);
    EXPECT_EQ(parsed.records, c.records) << c.what;
    EXPECT_EQ(parsed.tornTail, c.tornTail) << c.what;
    EXPECT_EQ(parsed.completeLength, c.bytes.size() - c.tornTail.size()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, CsvRecordsTest,
    ::testing::Values(TCsvCase{"plain", "a,b\r\nc,\r\n", {{"a", "b"}, {"c", ""}}, {}},
                      TCsvCase{"LF alone, a blank line, a byte order mark",
                               "\xEF\xBB\xBF"
                               "a\n\r\nb\n",
                               {{"a"}, {"b"}},
                               {}},
                      TCsvCase{"quoted comma, quote and line break",
                               "\"x, \"\"y\"\"\r\nz\",2\r\n",
                               {{"x, \"y\"\r\nz", "2"}},
                               {}},
                      TCsvCase{"UTF-8", "J\xC3\xBCrgen\r\n", {{QStringLiteral("J\u00FCrgen")}}, {}},
                      TCsvCase{"cut off in a field", "a,b\r\nc,20.0", {{"a", "b"}}, "c,20.0"},
                      TCsvCase{"cut off inside a quote", "a\r\n\"b,\r\nc", {{"a"}}, "\"b,\r\nc"},
                      TCsvCase{"cut off after its CR", "a\r\nb\r", {{"a"}}, "b\r"}));

TEST(CsvRecords, ComposeQuotesOnlyWhatNeedsIt)
{
    EXPECT_EQ(TCsvRecords::Compose({"S-1", "Smith, J. \"Jo\"", "20.013"}),
              QByteArray("S-1,\"Smith, J. \"\"Jo\"\"\",20.013\r\n"));
    const QStringList fields{"a\r\nb", "", QStringLiteral("\u00E9")};
    EXPECT_EQ(TCsvRecords::Parse(TCsvRecords::Compose(fields)).records, QList<QStringList>{fields});
}

class ResultsHistoryTest : public ::testing::Test
{
protected:
    const QList<TResultsColumn> columns{{"C1", "Diameter", "20.000", "0.020", "-0.010"},
                                        {"PL1", "Flatness", "0.000", "0.010", ""}};
    const QByteArray heading = "Serial number,Date and time,Operator,C1 Diameter 20.000 +0.020/-0.010,"
                               "PL1 Flatness 0.000 +0.010\r\n";
    QTemporaryDir dir;
    const QString fileName = TResultsHistory::FileName(dir.path(), QStringLiteral("bracket A"));
};

TEST_F(ResultsHistoryTest, AppendsPartByPartAndReadsThemBack)
{
    EXPECT_TRUE(fileName.endsWith(QStringLiteral("/bracket A.results.csv")));
    TResultsHistory history;
    ASSERT_TRUE(history.Load(fileName).Ok()) << "a project without parts has no history yet";
    EXPECT_TRUE(history.Parts().isEmpty());

    ASSERT_TRUE(
        history.Append(fileName, columns, {"S-1", "2026-12-10 09:15:02", "Ann", {"20.013", "0.004"}}).Ok());
    EXPECT_EQ(ReadAll(fileName), heading + "S-1,2026-12-10 09:15:02,Ann,20.013,0.004\r\n");
    const TFileResult second = history.Append(
        fileName, columns, {"S-2", "2026-12-10 09:21:40", QStringLiteral("J\u00FCrgen, B."), {"20.021", ""}});
    ASSERT_TRUE(second.Ok()) << second.message.toStdString();
    EXPECT_TRUE(second.warnings.isEmpty());
    EXPECT_EQ(ReadAll(fileName), heading + "S-1,2026-12-10 09:15:02,Ann,20.013,0.004\r\n"
                                           "S-2,2026-12-10 09:21:40,\"J\xC3\xBCrgen, B.\",20.021,\r\n");
    ASSERT_TRUE(
        history.Append(fileName, columns, {"S-3", "2026-12-10 09:30:00", "Ann", {"19.990", "0.006"}}).Ok());

    TResultsHistory read;
    const TFileResult loaded = read.Load(fileName);
    ASSERT_TRUE(loaded.Ok());
    EXPECT_TRUE(loaded.warnings.isEmpty());
    ASSERT_EQ(read.Parts().size(), 3);
    EXPECT_EQ(read.Headings(), history.Headings());
    EXPECT_EQ(read.Parts().at(1).operatorName, QStringLiteral("J\u00FCrgen, B."));
    EXPECT_EQ(read.Parts().at(2).serialNumber, "S-3");
    EXPECT_EQ(read.Values("C1", "Diameter"), (QList<std::optional<double>>{20.013, 20.021, 19.99}));
    EXPECT_EQ(read.Values("PL1", "Flatness"), (QList<std::optional<double>>{0.004, std::nullopt, 0.006}));
    // A heading is matched by whole words: "C1 Dia" names no column.
    EXPECT_EQ(read.Values("C1", "Dia"), QList<std::optional<double>>(3));
}

TEST_F(ResultsHistoryTest, APartCutOffByACrashIsLeftOutThenRemoved)
{
    const QByteArray whole = heading + "S-1,2026-12-10 09:15:02,Ann,20.013,0.004\r\n";
    WriteAll(fileName, whole + "S-2,2026-12-10 09:21:40,Ann,20.0");

    TResultsHistory history;
    const TFileResult loaded = history.Load(fileName);
    ASSERT_TRUE(loaded.Ok());
    EXPECT_EQ(history.Parts().size(), 1);
    ASSERT_EQ(loaded.warnings.size(), 1);
    EXPECT_TRUE(loaded.warnings.front().contains("S-2,2026-12-10 09:21:40,Ann,20.0"));

    const TFileResult appended =
        history.Append(fileName, columns, {"S-2", "2026-12-10 09:40:00", "Ann", {"20.011", "0.005"}});
    ASSERT_TRUE(appended.Ok());
    ASSERT_EQ(appended.warnings.size(), 1);
    EXPECT_TRUE(appended.warnings.front().contains("removed"));
    EXPECT_EQ(ReadAll(fileName), whole + "S-2,2026-12-10 09:40:00,Ann,20.011,0.005\r\n");
    EXPECT_EQ(history.Parts().size(), 2);
}

TEST_F(ResultsHistoryTest, ChangedCharacteristicsGetColumnsOfTheirOwnAndKeepTheOldValues)
{
    TResultsHistory history;
    ASSERT_TRUE(history.Append(fileName, columns, {"S-1", "t1", "Ann", {"20.013", "0.004"}}).Ok());
    // The bore's tolerance edited, the flatness kept, a second hole added, written in another order.
    const QList<TResultsColumn> changed{{"C2", "Diameter", "8.000", "0.015", "0.000"},
                                        {"PL1", "Flatness", "0.000", "0.010", ""},
                                        {"C1", "Diameter", "20.000", "0.020", "0.000"}};
    const TFileResult result =
        history.Append(fileName, changed, {"S-2", "t2", "Ann", {"8.004", "0.003", "20.016"}});
    ASSERT_TRUE(result.Ok());
    const QByteArray rewritten =
        "Serial number,Date and time,Operator,C1 Diameter 20.000 +0.020/-0.010,PL1 Flatness 0.000 +0.010,"
        "C2 Diameter 8.000 +0.015/+0.000,C1 Diameter 20.000 +0.020/+0.000\r\n"
        "S-1,t1,Ann,20.013,0.004,,\r\n"
        "S-2,t2,Ann,,0.003,8.004,20.016\r\n";
    EXPECT_EQ(ReadAll(fileName), rewritten);
    // Nothing new the next time: a plain append, and a characteristic left out stays empty.
    ASSERT_TRUE(history.Append(fileName, {changed.at(2)}, {"S-3", "t3", "Bo", {"20.009"}}).Ok());
    EXPECT_EQ(ReadAll(fileName), rewritten + "S-3,t3,Bo,,,,20.009\r\n");

    TResultsHistory read;
    ASSERT_TRUE(read.Load(fileName).Ok());
    EXPECT_EQ(read.Values("C1", "Diameter"), (QList<std::optional<double>>{20.013, 20.016, 20.009}));
    EXPECT_EQ(read.Values("C2", "Diameter"),
              (QList<std::optional<double>>{std::nullopt, 8.004, std::nullopt}));
    EXPECT_EQ(history.Parts().size(), 3);
    EXPECT_EQ(history.Parts().front().actuals, (QStringList{"20.013", "0.004", "", ""}));
}

TEST_F(ResultsHistoryTest, AForeignFileIsNeitherReadNorWritten)
{
    const QByteArray foreign = "Name,Value\r\nx,1\r\n";
    WriteAll(fileName, foreign);
    TResultsHistory history;
    ASSERT_TRUE(history
                    .Append(QDir(dir.path()).filePath("other.results.csv"), columns,
                            {"S-1", "t", "Ann", {"20.013", "0.004"}})
                    .Ok());
    const TFileResult loaded = history.Load(fileName);
    EXPECT_EQ(loaded.status, TFileResult::TStatus::Failed);
    EXPECT_FALSE(loaded.message.isEmpty());
    EXPECT_EQ(history.Parts().size(), 1) << "a failed load keeps what was held";
    EXPECT_EQ(history.Append(fileName, columns, {"S-2", "t", "Ann", {}}).status,
              TFileResult::TStatus::Failed);
    EXPECT_EQ(ReadAll(fileName), foreign);
}

TEST_F(ResultsHistoryTest, RowsOfTheWrongWidthAreToldAndKept)
{
    WriteAll(fileName, heading + "S-1,t,Ann,20.013\r\nS-2,t,Ann,20.011,0.004,extra\r\n");
    TResultsHistory history;
    const TFileResult loaded = history.Load(fileName);
    ASSERT_TRUE(loaded.Ok());
    EXPECT_EQ(loaded.warnings.size(), 2);
    ASSERT_EQ(history.Parts().size(), 2);
    EXPECT_EQ(history.Parts().at(0).actuals, (QStringList{"20.013", ""}));
    EXPECT_EQ(history.Parts().at(1).actuals, (QStringList{"20.011", "0.004"}));
}

} // namespace
