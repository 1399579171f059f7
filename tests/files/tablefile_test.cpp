#include "files/projectfile.h"
#include "files/rowlines.h"
#include "files/tablefile.h"
#include "filestestsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using K = TTableFile::TKind;

QByteArray ReadAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class TableFile : public ::testing::Test
{
protected:
    TableFile()
    {
        for (int row = 1; row <= 3; ++row)
            tables.data.SetRowTexts(row,
                                    {QString::number(row), "1.500", "-2.000", QString::number(row) + ".000"});
        tables.distances.SetRowTexts(1, {"1", "2", "0.000", "0.000", "1.000", "1.000"});
        tables.angles.SetRowTexts(1, {"1", "2", "3", "90.000", "***.***", "90.000", "***.***"});
    }

    TFileResult LoadBytes(K kind, const QByteArray &bytes)
    {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        return TTableFile(tables.Tables()).Load(kind, buffer);
    }

    TTablesUnderTest tables;
    QTemporaryDir dir;
};

TEST_F(TableFile, WritesRowLinesOnly)
{
    const TTableFile file(tables.Tables());
    EXPECT_EQ(file.Compose(K::Coordinates),
              Crlf({"1,1.500,-2.000,1.000", "2,1.500,-2.000,2.000", "3,1.500,-2.000,3.000"}));
    EXPECT_EQ(file.Compose(K::Distances), Crlf({"1,2,0.000,0.000,1.000,1.000"}));
    EXPECT_EQ(file.Compose(K::Angles), Crlf({"1,2,3,90.000,***.***,90.000,***.***"}));
    // The same lines as the matching section of a project file.
    EXPECT_TRUE(TProjectFile(tables.Tables())
                    .Compose("p", "t")
                    .contains("Point, X, Y, Z\r\n" + file.Compose(K::Coordinates) + "[Distances]"));

    TTablesUnderTest empty;
    EXPECT_TRUE(TTableFile(empty.Tables()).Compose(K::Angles).isEmpty());
}

TEST_F(TableFile, SaveReplacesAnExistingFile)
{
    const QString name = QDir(dir.path()).filePath(QStringLiteral("points.txt"));
    {
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("a much longer file that was there before\r\n");
    }
    const TFileResult result = TTableFile(tables.Tables()).Save(K::Distances, name);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(ReadAll(name), Crlf({"1,2,0.000,0.000,1.000,1.000"}));

    const TFileResult failed =
        TTableFile(tables.Tables()).Save(K::Distances, QDir(dir.path()).filePath("missing/points.txt"));
    EXPECT_EQ(failed.status, TFileResult::TStatus::Failed);
    EXPECT_FALSE(failed.message.isEmpty());
}

TEST_F(TableFile, CoordinatesLoadReplacesPointsAndPlotsOnly)
{
    tables.data.SetRowTexts(9, {"9", "0", "0", "0"});
    const TFileResult result = LoadBytes(K::Coordinates, Crlf({"1,1.000,2.000,3.000", "2 , 4 , 5 , 6", "3"}));
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(
        tables.Rows(tables.data),
        (QList<QStringList>{{"1", "1.000", "2.000", "3.000"}, {"2", "4", "5", "6"}, {"3", "", "", ""}}));
    EXPECT_EQ(tables.data.Cell(0, 9), QString());
    EXPECT_EQ(result.pointCount, 3);
    EXPECT_EQ(tables.seriesClears, 1);
    EXPECT_EQ(tables.plotted, (QList<std::array<float, 3>>{{1, 2, 3}, {4, 5, 6}}));
    EXPECT_EQ(tables.distances.FilledRowCount(), 1);
    EXPECT_EQ(tables.angles.FilledRowCount(), 1);
}

TEST_F(TableFile, DistancesAndAnglesLoadsLeavePointsAndPlotsAlone)
{
    for (const K kind : {K::Distances, K::Angles}) {
        const TFileResult result = LoadBytes(kind, "5,6,1,2,3,4,5,6,7\n7,8\n");
        ASSERT_TRUE(result.Ok());
        EXPECT_FALSE(result.pointCount.has_value());
        const TTextTable &table = kind == K::Distances ? tables.distances : tables.angles;
        EXPECT_EQ(
            table.RowTexts(1),
            QStringList({"5", "6", "1", "2", "3", "4", "5", "6", "7"}).mid(0, TTableFile::ColumnCount(kind)));
        EXPECT_EQ(table.Cell(0, 2), QStringLiteral("7"));
        EXPECT_EQ(table.Cell(1, 2), QStringLiteral("8"));
    }
    EXPECT_EQ(tables.data.FilledRowCount(), 3);
    EXPECT_EQ(tables.seriesClears, 0);
}

TEST_F(TableFile, LinesAreRowsAsRead)
{
    // A table loader knows no sections: a project file's first line is row 1. A blank line or a row
    // without a first field is skipped and reported, so it leaves no free row that would end the next
    // save (a distances file ",\xED" once loaded a row the table did not show).
    const TFileResult result =
        LoadBytes(K::Angles, Crlf({"[General]", "", QString::fromLatin1(",\xED"), "Project Name = p"}));
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(tables.angles.RowTexts(1), QStringList({"[General]", "", "", "", "", "", ""}));
    EXPECT_EQ(tables.angles.Cell(0, 2), QStringLiteral("Project Name = p"));
    EXPECT_EQ(tables.angles.FilledRowCount(), 2);
    EXPECT_EQ(result.warnings, QStringList{TRowLines::BlankLinesWarning(2)});
}

TEST_F(TableFile, MoreThan999LinesLoad999AndReport)
{
    QByteArray bytes;
    for (int i = 1; i <= 1001; ++i)
        bytes += QByteArray::number(i) + ",1,2,3\r\n";
    const TFileResult result = LoadBytes(K::Coordinates, bytes);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(tables.data.FilledRowCount(), 999);
    EXPECT_EQ(tables.data.Cell(0, 999), QStringLiteral("999"));
    EXPECT_EQ(result.pointCount, 999);
    ASSERT_EQ(result.warnings.size(), 1);
    EXPECT_TRUE(result.warnings[0].startsWith(QStringLiteral("The file holds 2 more rows")));
}

TEST_F(TableFile, UnopenableFileChangesNothing)
{
    for (const K kind : {K::Coordinates, K::Distances, K::Angles}) {
        const TFileResult result =
            TTableFile(tables.Tables()).Load(kind, QDir(dir.path()).filePath(QStringLiteral("missing")));
        EXPECT_EQ(result.status, TFileResult::TStatus::Failed);
    }
    EXPECT_EQ(tables.data.FilledRowCount(), 3);
    EXPECT_EQ(tables.distances.FilledRowCount(), 1);
    EXPECT_EQ(tables.angles.FilledRowCount(), 1);
    EXPECT_EQ(tables.seriesClears, 0);
}

} // namespace
