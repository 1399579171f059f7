#include "files/batchreport.h"
#include "pdftext.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A bracket's bore, its true position and the top face's flatness, over parts whose values the test
// gives.
class BatchReportTest : public ::testing::Test
{
protected:
    BatchReportTest()
    {
        characteristics.Table().SetRowTexts(1, {"C1", "Diameter", "20.000", "0.020", "-0.010", "", "", ""});
        characteristics.Table().SetRowTexts(
            2, {"C1", "True position", "25.000 10.000", "0.100", "", "", "", ""});
        characteristics.Table().SetRowTexts(3, {"PL1", "Flatness", "0.000", "0.010", "", "", "", ""});
        content.projectName = QStringLiteral("Bracket 7");
        content.partName = QStringLiteral("Bracket, milled");
        content.createdAt = QDateTime(QDate(2026, 12, 10), QTime(10, 0, 0));
    }

    void AddPart(const QString &serial, const QStringList &actuals)
    {
        const QString time =
            QStringLiteral("2026-12-10 09:%1:00").arg(history.Parts().size(), 2, 10, QLatin1Char('0'));
        history.Append(historyFile, characteristics.HistoryColumns(), {serial, time, "Ann", actuals});
    }

    QString Write(const QString &name = QStringLiteral("batch.pdf"))
    {
        content.parts = history.Parts();
        content.characteristics.clear();
        for (int row = 1; row <= characteristics.Count(); ++row)
            content.characteristics.append(*TCharacteristicBatch::Of(characteristics, row, history));
        const QString fileName = dir.filePath(name);
        const TFileResult result = TBatchReport(content).Save(fileName);
        EXPECT_TRUE(result.Ok()) << result.message.toStdString();
        return fileName;
    }

    QTemporaryDir dir;
    const QString historyFile = TResultsHistory::FileName(dir.path(), QStringLiteral("Bracket 7"));
    TCharacteristicRegister characteristics;
    TResultsHistory history;
    TBatchReportContent content;
};

TEST_F(BatchReportTest, HoldsTheBatchEveryCharacteristicAndEveryPartsValue)
{
    AddPart("S-1", {"20.008", "0.040", "0.004"});
    AddPart("S-2", {"20.012", "0.120", "0.006"});
    AddPart("S-3", {"19.989", "", "0.005"});
    AddPart("S-4", {"20.016", "0.100", "0.006"});
    const QString text = PageTexts(Write()).join(QLatin1Char('\n'));
    for (const QString &expected :
         {QStringLiteral("Batch report"), QStringLiteral("Bracket 7"), QStringLiteral("Bracket, milled"),
          QStringLiteral("2026-12-10 09:00:00 to 2026-12-10 09:03:00"),
          // S-2's position and S-3's bore are out, S-3's position is missing.
          QStringLiteral("4 parts, 2 OK, 2 NOK"), QStringLiteral("C1 Diameter 20.000 +0.020/-0.010"),
          QStringLiteral("C1 True position 25.000 10.000 +0.100"),
          QStringLiteral("PL1 Flatness 0.000 +0.010"),
          QStringLiteral("n 4, mean 20.0063, s 0.0120, min 19.989, max 20.016"),
          QStringLiteral("Cpk 0.11 (upper limit only; unreliable: 3 parts)"),
          QStringLiteral("* from fewer than 25 parts: unreliable")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << " in:\n" << text.toStdString();
    EXPECT_TRUE(HoldsRow(text, {"Parts:", "4"})) << text.toStdString();
    // The overview: definition, n, mean, s, Cp, Cpk and the parts out of tolerance.
    EXPECT_TRUE(HoldsRow(text, {"C1", "Diameter", "20.000", "0.020", "-0.010", "4", "20.0063", "0.0120",
                                "0.42*", "0.38*", "1"}))
        << text.toStdString();
    EXPECT_TRUE(HoldsRow(
        text, {"C1", "True position", "25.000 10.000", "0.100", "3", "0.0867", "0.0416", "-", "0.11*", "1"}))
        << text.toStdString();
    for (const QStringList &row :
         QList<QStringList>{{"1", "S-1", "2026-12-10", "09:00:00", "Ann", "20.008", "OK"},
                            {"3", "S-3", "2026-12-10", "09:02:00", "Ann", "19.989", "NOK"},
                            {"2", "S-2", "2026-12-10", "09:01:00", "Ann", "0.120", "NOK"},
                            {"3", "S-3", "2026-12-10", "09:02:00", "Ann", "missing"},
                            {"4", "S-4", "2026-12-10", "09:03:00", "Ann", "0.006", "OK"}})
        EXPECT_TRUE(HoldsRow(text, row)) << row.join(' ').toStdString() << " in:\n" << text.toStdString();
}

TEST_F(BatchReportTest, ALongBatchGoesOnOverPagesWithoutLosingAPart)
{
    for (int part = 1; part <= 60; ++part)
        AddPart(QStringLiteral("S-%1").arg(part),
                {QStringLiteral("20.0%1").arg(part % 20, 2, 10, QLatin1Char('0')), "0.050", "0.004"});
    const QStringList pages = PageTexts(Write());
    ASSERT_GT(pages.size(), 3);
    const QString text = pages.join(QLatin1Char('\n'));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of %1").arg(pages.size()))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("C1 Diameter 20.000 +0.020/-0.010 (continued)")));
    // 60 parts, each under every one of the three characteristics.
    for (int part = 1; part <= 60; ++part)
        EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("(^|\\s)%1\\s+S-%1\\s").arg(part))), 3)
            << "part " << part;
    EXPECT_TRUE(HoldsRow(text, {"n 60,"})) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("unreliable"))) << "60 parts are enough";
}

TEST_F(BatchReportTest, AnEmptyHistoryIsToldAndNothingWritten)
{
    const QString fileName = dir.filePath(QStringLiteral("none.pdf"));
    const TFileResult result = TBatchReport(content).Save(fileName);
    EXPECT_FALSE(result.Ok());
    EXPECT_TRUE(result.message.contains(QStringLiteral("no part"))) << result.message.toStdString();
    EXPECT_FALSE(QFile::exists(fileName));
    EXPECT_EQ(TBatchReport::FileName(QStringLiteral("/w/Data"), QStringLiteral("Bracket 7")),
              QStringLiteral("/w/Data/Bracket 7.batch-report.pdf"));
}

} // namespace
