#include "files/codepage1252.h"
#include "files/projectfile.h"
#include "filestestsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const QString kStamp = QStringLiteral("2024Mar05_142301");

QByteArray ReadAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class ProjectFile : public ::testing::Test
{
protected:
    TFileResult LoadBytes(const QByteArray &bytes)
    {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        TProjectFile file(source.Tables());
        return file.Load(buffer);
    }

    void FillTwoPoints()
    {
        source.data.SetRowTexts(1, {"1", "12.500", "-3.250", "0.000"});
        source.data.SetRowTexts(2, {"2", "20.000", "-3.250", "0.000"});
        source.distances.SetRowTexts(1, {"1", "2", "7.500", "0.000", "0.000", "7.500"});
    }

    TTablesUnderTest source;
    QTemporaryDir dir;
};

TEST_F(ProjectFile, WritesTheTwoPointExampleByteForByte)
{
    FillTwoPoints();
    EXPECT_EQ(TProjectFile(source.Tables()).Compose(QStringLiteral("bracket A"), kStamp),
              Crlf({"[General]", "Project Name = bracket A", "Filed on 2024Mar05_142301", "[Coordinates]",
                    "Point, X, Y, Z", "1,12.500,-3.250,0.000", "2,20.000,-3.250,0.000", "[Distances]",
                    "Pt 1, Pt 2, deltaX, deltaY, deltaZ, deltaR", "1,2,7.500,0.000,0.000,7.500", "[Angles]",
                    "Pt 1, Pt 2, Pt 3, theta3D, thetaXY, thetaXZ, thetaYZ", "[End]"}));
}

TEST_F(ProjectFile, EmptyProjectIsTenLinesAndUndefinedAnglesStayText)
{
    const QByteArray empty = TProjectFile(source.Tables()).Compose(QStringLiteral("p"), kStamp);
    EXPECT_EQ(empty, Crlf({"[General]", "Project Name = p", "Filed on 2024Mar05_142301", "[Coordinates]",
                           "Point, X, Y, Z", "[Distances]", "Pt 1, Pt 2, deltaX, deltaY, deltaZ, deltaR",
                           "[Angles]", "Pt 1, Pt 2, Pt 3, theta3D, thetaXY, thetaXZ, thetaYZ", "[End]"}));

    source.angles.SetRowTexts(1, {"1", "2", "3", "90.000", "***.***", "90.000", "***.***"});
    const QByteArray withAngle = TProjectFile(source.Tables()).Compose(QStringLiteral("p"), kStamp);
    EXPECT_TRUE(withAngle.endsWith("thetaYZ\r\n1,2,3,90.000,***.***,90.000,***.***\r\n[End]\r\n"));

    TTablesUnderTest target;
    QByteArray bytes = withAngle;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TProjectFile(target.Tables()).Load(buffer);
    EXPECT_EQ(target.angles.Cell(4, 1), QStringLiteral("***.***"));
}

TEST_F(ProjectFile, AFreeRowDoesNotEndTheRowsWritten)
{
    // Every row the table shows is saved: a free row between filled ones is passed over.
    FillTwoPoints();
    source.data.SetRowTexts(4, {"4", "1.000", "1.000", "1.000"});
    source.angles.SetRowTexts(2, {"1", "2", "3", "1.000", "2.000", "3.000", "4.000"});
    const QByteArray bytes = TProjectFile(source.Tables()).Compose(QStringLiteral("p"), kStamp);
    EXPECT_TRUE(bytes.contains("2,20.000,-3.250,0.000\r\n4,1.000,1.000,1.000\r\n[Distances]\r\n"));
    EXPECT_TRUE(bytes.contains("thetaYZ\r\n1,2,3,1.000,2.000,3.000,4.000\r\n[End]"));
}

TEST_F(ProjectFile, SaveAndLoadGiveBackTablesNameCountAndPlots)
{
    FillTwoPoints();
    source.data.SetRowTexts(3, {"3", "1.000", "2.000", "3.000"});
    source.angles.SetRowTexts(1, {"1", "2", "3", "12.000", "***.***", "0.000", "45.500"});
    const TFileResult saved =
        TProjectFile(source.Tables()).Save(dir.path(), QStringLiteral(" bracket A"), kStamp);
    ASSERT_TRUE(saved.Ok()) << saved.message.toStdString();
    // The name is used as typed: the leading blank is in the file name and on line 2.
    EXPECT_EQ(saved.fileName, QDir(dir.path()).filePath(QStringLiteral(" bracket A.prj")));
    EXPECT_TRUE(ReadAll(saved.fileName).startsWith("[General]\r\nProject Name =  bracket A\r\n"));

    TTablesUnderTest target;
    target.data.SetRowTexts(7, {"7", "9.000", "9.000", "9.000"});
    target.data.SetTopRow(50);
    const TFileResult loaded = TProjectFile(target.Tables()).Load(saved.fileName);
    ASSERT_TRUE(loaded.Ok());
    EXPECT_TRUE(loaded.warnings.isEmpty());
    EXPECT_EQ(loaded.projectName, QStringLiteral(" bracket A"));
    EXPECT_EQ(loaded.pointCount, 3);
    EXPECT_EQ(target.Rows(target.data), source.Rows(source.data));
    EXPECT_EQ(target.data.Cell(0, 7), QString());
    EXPECT_EQ(target.Rows(target.distances), source.Rows(source.distances));
    EXPECT_EQ(target.Rows(target.angles), source.Rows(source.angles));
    EXPECT_EQ(target.data.TopRow(), 1);
    EXPECT_EQ(target.seriesClears, 1);
    EXPECT_EQ(target.plotted, (QList<std::array<float, 3>>{{12.5f, -3.25f, 0}, {20, -3.25f, 0}, {1, 2, 3}}));
}

TEST_F(ProjectFile, SavingAgainReplacesTheFileAndLeavesNoTemporaryFile)
{
    TProjectFile file(source.Tables());
    ASSERT_TRUE(file.Save(dir.path(), QStringLiteral("p"), kStamp).Ok());
    FillTwoPoints();
    const TFileResult second = file.Save(dir.path(), QStringLiteral("p"), QStringLiteral("2024Mar06_080000"));
    ASSERT_TRUE(second.Ok());
    EXPECT_EQ(ReadAll(second.fileName),
              file.Compose(QStringLiteral("p"), QStringLiteral("2024Mar06_080000")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.prj"});
}

TEST_F(ProjectFile, FailedSaveIsReportedAndCreatesNothing)
{
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("no such folder"));
    const TFileResult result = TProjectFile(source.Tables()).Save(missing, QStringLiteral("p"), kStamp);
    EXPECT_EQ(result.status, TFileResult::TStatus::Failed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("no such folder")));
    EXPECT_FALSE(QFile::exists(QDir(missing).filePath(QStringLiteral("p.prj"))));
}

#ifdef Q_OS_LINUX
// A disk that fills up half-way through a save: the good project stays as it was.
TEST_F(ProjectFile, SaveThatFailsHalfWayKeepsTheOldFile)
{
    TProjectFile file(source.Tables());
    const TFileResult first = file.Save(dir.path(), QStringLiteral("p"), kStamp);
    ASSERT_TRUE(first.Ok());
    const QByteArray good = ReadAll(first.fileName);
    for (int row = 1; row <= 999; ++row)
        source.data.SetRowTexts(row, {QString::number(row), "123.456", "-42.000", "7.125"});

    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const TFileResult second = file.Save(dir.path(), QStringLiteral("p"), kStamp);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(second.status, TFileResult::TStatus::Failed);
    EXPECT_EQ(ReadAll(first.fileName), good);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.prj"});
}
#endif

struct TNameCase
{
    QString name;
    TProjectFile::TNameRules rules;
    TFileResult::TStatus status;
};

class ProjectName : public ::testing::TestWithParam<TNameCase>
{
};

TEST_P(ProjectName, RefusedNamesWriteNothing)
{
    const TNameCase &c = GetParam();
    QTemporaryDir dir;
    const QString data = QDir(dir.path()).filePath(QStringLiteral("Data"));
    QDir().mkpath(data);
    TTablesUnderTest tables;
    const TFileResult result = TProjectFile(tables.Tables()).Save(data, c.name, kStamp, c.rules);
    EXPECT_EQ(result.status, c.status) << result.message.toStdString();
    const int filesWritten = static_cast<int>(
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() +
        QDir(data).entryList(QDir::Files | QDir::Hidden | QDir::AllDirs | QDir::NoDotAndDotDot).size());
    EXPECT_EQ(filesWritten, c.status == TFileResult::TStatus::Done ? 1 : 0);
    // Every accepted name lands in the data folder, under the name as typed.
    if (c.status == TFileResult::TStatus::Done) {
        EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), QStringList{c.name + ".prj"});
    }
    if (c.status == TFileResult::TStatus::NoProjectName) {
        EXPECT_EQ(result.message, QStringLiteral("Please enter a project name"));
    }
    if (c.status == TFileResult::TStatus::RefusedName) {
        EXPECT_TRUE(result.message.startsWith(QStringLiteral("The project name")));
    }
}

QString N(const char16_t *text)
{
    return QString::fromUtf16(text);
}

std::string NameCaseName(const ::testing::TestParamInfo<TNameCase> &info)
{
    static const char *const status[] = {"Done", "NoProjectName", "RefusedName", "Failed"};
    return "case" + std::to_string(info.index) + "_" + status[static_cast<int>(info.param.status)];
}

using R = TProjectFile::TNameRules;
using S = TFileResult::TStatus;
INSTANTIATE_TEST_SUITE_P(
    Names, ProjectName,
    ::testing::Values(
        TNameCase{N(u""), R::Posix, S::NoProjectName}, TNameCase{N(u"  \t "), R::Posix, S::NoProjectName},
        TNameCase{N(u"../escape"), R::Posix, S::RefusedName}, TNameCase{N(u"a/b"), R::Posix, S::RefusedName},
        TNameCase{N(u"a\\b"), R::Posix, S::RefusedName}, TNameCase{N(u"tab\there"), R::Posix, S::RefusedName},
        // A file name takes 255 bytes: "\u00e9" is two of them, ".prj" four more.
        TNameCase{N(u"\u00e9") + QString(249, u'x'), R::Posix, S::Done},
        TNameCase{N(u"\u00e9") + QString(250, u'x'), R::Posix, S::RefusedName},
        TNameCase{N(u"CON"), R::Windows, S::RefusedName}, TNameCase{N(u"lpt1.x"), R::Windows, S::RefusedName},
        TNameCase{N(u"a:b"), R::Windows, S::RefusedName},
        // Names that are fine: a leading blank, dots, accents, and the device names on POSIX.
        TNameCase{N(u" bracket A"), R::Posix, S::Done}, TNameCase{N(u"v1.2 final"), R::Windows, S::Done},
        TNameCase{N(u"Pi\u00e8ce \u00e0 trous"), R::Posix, S::Done}, TNameCase{N(u"CON"), R::Posix, S::Done},
        TNameCase{N(u"name "), R::Posix, S::Done}, TNameCase{N(u"COM10"), R::Windows, S::Done},
        // ".prj" follows the name and "/" and "\\" are refused, so ".." cannot leave the folder, and a
        // trailing dot or blank is not the end of the file name; ":" is no resource path here.
        TNameCase{N(u"a..b"), R::Windows, S::Done}, TNameCase{N(u"name."), R::Windows, S::Done},
        TNameCase{N(u"name "), R::Windows, S::Done}, TNameCase{N(u":/x"), R::Posix, S::RefusedName},
        // Characters other systems refuse are refused everywhere, and a leading "." would hide the file.
        TNameCase{N(u":colon"), R::Posix, S::RefusedName}, TNameCase{N(u"a|b"), R::Posix, S::RefusedName},
        TNameCase{N(u"why?"), R::Posix, S::RefusedName}, TNameCase{N(u".."), R::Posix, S::RefusedName},
        TNameCase{N(u".hidden"), R::Windows, S::RefusedName}),
    NameCaseName);

TEST(ProjectNameRefusal, SaysWhichCharacterOrWhyADotCannotLead)
{
    const QList<std::pair<QString, QString>> cases = {
        {QStringLiteral("a*b"), QStringLiteral("\"*\"")},
        {QStringLiteral("x\"y"), QStringLiteral("\"\"\"")},
        {QStringLiteral("in>out<"), QStringLiteral("\">\"")},
    };
    for (const auto &[name, quoted] : cases) {
        const QString message = TProjectFile::CheckProjectName(name, R::Posix);
        EXPECT_TRUE(message.contains(QStringLiteral("the character ") + quoted)) << message.toStdString();
    }
    EXPECT_TRUE(
        TProjectFile::CheckProjectName(QStringLiteral(".plan"), R::Posix).contains(QStringLiteral("hidden")));
}

TEST_F(ProjectFile, AccentedNameRoundTripsThroughCodePageBytes)
{
    const QString name = QStringLiteral("Pi\u00e8ce \u20ac\u0152");
    const TFileResult saved = TProjectFile(source.Tables()).Save(dir.path(), name, kStamp);
    ASSERT_TRUE(saved.Ok());
    EXPECT_TRUE(saved.warnings.isEmpty());
    EXPECT_TRUE(ReadAll(saved.fileName)
                    .contains("Project Name = Pi\xe8"
                              "ce \x80\x8c\r\n"));
    const TFileResult loaded = TProjectFile(source.Tables()).Load(saved.fileName);
    EXPECT_EQ(loaded.projectName, name);
}

TEST_F(ProjectFile, CharactersOutsideTheCodePageAreWrittenAsQuestionMarksAndReported)
{
    source.data.SetRowTexts(1, {"1", "1.000", "2.000", "3.000"});
    source.data.SetCell(0, 1, QStringLiteral("1\u03a9"));
    const TFileResult saved =
        TProjectFile(source.Tables()).Save(dir.path(), QStringLiteral("\u4e2d"), kStamp);
    ASSERT_TRUE(saved.Ok());
    ASSERT_EQ(saved.warnings.size(), 1);
    EXPECT_TRUE(saved.warnings[0].startsWith(QStringLiteral("2 character(s)")));
    EXPECT_TRUE(ReadAll(saved.fileName).contains("Project Name = ?\r\n"));
    EXPECT_TRUE(ReadAll(saved.fileName).contains("\r\n1?,1.000,2.000,3.000\r\n"));
}

TEST_F(ProjectFile, LoadsHandEditedRowsAsTheyAreRead)
{
    const QString longName = QString(120, QLatin1Char('n')).replace(98, 1, QLatin1Char('L'));
    const TFileResult result =
        LoadBytes(Crlf({"[General]", "Project Name = " + longName, "Filed on x", "[Coordinates]", "h",
                        "4 , 1.000 , 2.000 , 3.000", "5,abc,2.000,3.000", "6", "7,1,2,3,extra", "[Distances]",
                        "h", "[Angles]", "h", "[End]"}));
    ASSERT_TRUE(result.Ok());
    EXPECT_TRUE(result.warnings.isEmpty());
    EXPECT_EQ(result.projectName, longName.left(99));
    EXPECT_TRUE(result.projectName->endsWith(QLatin1Char('L')));
    EXPECT_EQ(source.Rows(source.data), (QList<QStringList>{{"4", "1.000", "2.000", "3.000"},
                                                            {"5", "abc", "2.000", "3.000"},
                                                            {"6", "", "", ""},
                                                            {"7", "1", "2", "3"}}));
    // "abc" and the bare point number stay in the table and count, but are not plotted.
    EXPECT_EQ(source.plotted, (QList<std::array<float, 3>>{{1, 2, 3}, {1, 2, 3}}));
    EXPECT_EQ(result.pointCount, 7);
}

struct TLoadCase
{
    const char *what;
    QByteArray bytes;
    int points;
    int distances;
    int angles;
    int pointCount;
    QString name;
    QStringList warningStarts;
};

class ProjectLoad : public ::testing::TestWithParam<TLoadCase>
{
};

TEST_P(ProjectLoad, ReadsSectionsAndReports)
{
    const TLoadCase &c = GetParam();
    TTablesUnderTest target;
    QByteArray bytes = c.bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const TFileResult result = TProjectFile(target.Tables()).Load(buffer);
    ASSERT_TRUE(result.Ok());
    EXPECT_EQ(target.data.FilledRowCount(), c.points);
    EXPECT_EQ(target.distances.FilledRowCount(), c.distances);
    EXPECT_EQ(target.angles.FilledRowCount(), c.angles);
    EXPECT_EQ(result.pointCount, c.pointCount);
    EXPECT_EQ(result.projectName, c.name);
    ASSERT_EQ(result.warnings.size(), c.warningStarts.size()) << result.warnings.join('|').toStdString();
    for (qsizetype i = 0; i < c.warningStarts.size(); ++i)
        EXPECT_TRUE(result.warnings[i].startsWith(c.warningStarts[i])) << result.warnings[i].toStdString();
}

QStringList PointLines(int count, int firstNumber = 1)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QStringLiteral("%1,1.000,2.000,3.000").arg(firstNumber + i));
    return lines;
}

QByteArray Project(const QStringList &points, const QStringList &distances, const QStringList &tail)
{
    return Crlf(QStringList{"[General]", "Project Name = p", "t", "[Coordinates]", "h"} + points +
                QStringList{"[Distances]", "h"} + distances + tail);
}

const QStringList kOneDistance{"1,2,7.500,0.000,0.000,7.500"};
const QStringList kAnglesEnd{"[Angles]", "h", "1,2,3,1.000,2.000,3.000,4.000", "[End]"};

INSTANTIATE_TEST_SUITE_P(
    Files, ProjectLoad,
    ::testing::Values(
        // A full point section: its end line is consumed and the distances follow intact.
        TLoadCase{"full", Project(PointLines(999), kOneDistance, kAnglesEnd), 999, 1, 1, 999, "p", {}},
        // More than 999 rows: 999 are loaded, the rest is reported, the later sections still load.
        TLoadCase{"overfull",
                  Project(PointLines(1002), kOneDistance, kAnglesEnd),
                  999,
                  1,
                  1,
                  999,
                  "p",
                  {"The file holds 3 more point rows"}},
        // After deletions the highest number decides, so the next point gets a new number.
        TLoadCase{"gaps", Project({"1,0,0,0", "5,0,0,0", "3,0,0,0"}, {}, kAnglesEnd), 3, 0, 1, 5, "p", {}},
        // Numbers above 999999 load but do not count, so the numbering cannot overflow.
        TLoadCase{"huge numbers",
                  Project({"1,0,0,0", "1000000,0,0,0", "2147483647,0,0,0"}, {}, kAnglesEnd),
                  3,
                  0,
                  1,
                  3,
                  "p",
                  {}},
        TLoadCase{
            "largest counted number", Project({"999999,0,0,0"}, {}, kAnglesEnd), 1, 0, 1, 999999, "p", {}},
        // Blank lines and rows without a first field leave no free row in the middle of a table (the
        // next save would stop there), and the operator is told how many were skipped.
        TLoadCase{"blank lines",
                  Project({"1,0,0,0", "", ",5,5,5", "2,0,0,0"}, {" ", kOneDistance[0]}, kAnglesEnd),
                  2,
                  1,
                  1,
                  2,
                  "p",
                  {"3 blank line(s)"}},
        // A file without end lines stops at its end instead of filling the table with empty rows.
        TLoadCase{"truncated",
                  Crlf({"[General]", "Project Name = p", "t", "[Coordinates]", "h", "1,1,2,3"}),
                  1,
                  0,
                  0,
                  1,
                  "p",
                  {"The file ends before"}},
        TLoadCase{"empty", QByteArray(), 0, 0, 0, 0, "", {"The file ends before"}},
        // Lines may end at LF alone; the last line needs no line end.
        TLoadCase{"lf",
                  Project(PointLines(2), kOneDistance, kAnglesEnd).replace("\r\n", "\n").chopped(1),
                  2,
                  1,
                  1,
                  2,
                  "p",
                  {}},
        // A CR without LF stays in the line, so "[Distances]\r" is not the end line (a row of its own).
        TLoadCase{"lone cr",
                  Crlf({"[General]", "Project Name = p", "t", "[Coordinates]", "h", "1,1,2,3",
                        "[Distances]\r", "[Distances]", "h", "[Angles]", "h", "[End]"}),
                  2,
                  0,
                  0,
                  2,
                  "p",
                  {}}),
    [](const ::testing::TestParamInfo<TLoadCase> &info) {
        return QString::fromLatin1(info.param.what).replace(' ', '_').toStdString();
    });

TEST_F(ProjectFile, UnreadableFileChangesNothing)
{
    FillTwoPoints();
    source.data.SetTopRow(2);
    const TFileResult result =
        TProjectFile(source.Tables()).Load(QDir(dir.path()).filePath(QStringLiteral("missing.prj")));
    EXPECT_EQ(result.status, TFileResult::TStatus::Failed);
    EXPECT_TRUE(result.message.contains(QStringLiteral("missing.prj")));
    EXPECT_FALSE(result.pointCount.has_value());
    EXPECT_EQ(source.data.FilledRowCount(), 2);
    EXPECT_EQ(source.distances.FilledRowCount(), 1);
    EXPECT_EQ(source.data.TopRow(), 2);
    EXPECT_EQ(source.seriesClears, 0);
}

// A device that gives some lines and then fails.
class TFailingDevice : public QIODevice
{
public:
    explicit TFailingDevice(QByteArray start) : m_start(std::move(start)) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return false; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_start.isEmpty())
            return -1;
        const qint64 n = std::min<qint64>(maxSize, m_start.size());
        memcpy(data, m_start.constData(), n);
        m_start.remove(0, n);
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_start;
};

TEST_F(ProjectFile, ReadErrorHalfWayChangesNothing)
{
    FillTwoPoints();
    TFailingDevice device(Crlf({"[General]", "Project Name = other", "t", "[Coordinates]", "h", "9,1,1,1"}));
    const TFileResult result = TProjectFile(source.Tables()).Load(device);
    EXPECT_EQ(result.status, TFileResult::TStatus::Failed);
    EXPECT_EQ(source.data.Cell(0, 1), QStringLiteral("1"));
    EXPECT_EQ(source.data.FilledRowCount(), 2);
    EXPECT_EQ(source.seriesClears, 0);
}

} // namespace
