#include "app/profilefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

struct TLayoutCase
{
    const char *Name;
    QByteArray Before;
    const char *Section;
    const char *Key;
    const char *Value;
    QByteArray After;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TLayoutCase &c, std::ostream *os)
{
    *os << c.Name;
}

class ProfileLayout : public testing::TestWithParam<TLayoutCase>
{
};

TEST_P(ProfileLayout, ChangesOnlyTheKeysLine)
{
    const TLayoutCase &c = GetParam();
    const auto result = TProfileFile::WithValue(c.Before, QString::fromLatin1(c.Section),
                                                QString::fromLatin1(c.Key), QString::fromLatin1(c.Value));
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.After);
}

const QByteArray kStation = "; station settings\r\n"
                            "[USB Comms]\r\n"
                            "Port Number=0x05\r\n"
                            "\r\n"
                            "[Scale Factors]\r\n"
                            "Alpha X = 1\r\n"
                            "Alpha Y=1.0001\r\n"
                            "\r\n"
                            "[Offset Angles]\r\n"
                            "Theta Z=90";

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileLayout,
    testing::Values(
        TLayoutCase{"ReplacesValueKeepingSpacing", kStation, "Scale Factors", "Alpha X", "2",
                    QByteArray(kStation).replace("Alpha X = 1\r\n", "Alpha X = 2\r\n")},
        TLayoutCase{"NamesMatchWithoutCase", kStation, "scale FACTORS", "alpha y", "3",
                    QByteArray(kStation).replace("Alpha Y=1.0001", "Alpha Y=3")},
        TLayoutCase{"LastLineWithoutBreak", kStation, "Offset Angles", "Theta Z", "89.81",
                    QByteArray(kStation).replace("Theta Z=90", "Theta Z=89.81")},
        TLayoutCase{"NewKeyBeforeBlankLinesOfSection", kStation, "Scale Factors", "Alpha Z", "1",
                    QByteArray(kStation).replace("Alpha Y=1.0001\r\n", "Alpha Y=1.0001\r\nAlpha Z=1\r\n")},
        TLayoutCase{"NewKeyAfterUnterminatedLastLine", kStation, "Offset Angles", "Theta X", "0",
                    kStation + "\r\nTheta X=0\r\n"},
        TLayoutCase{"NewSectionTakesFileLineBreak", "[A]\nk=v\n", "Scale Factors", "Alpha X", "1",
                    "[A]\nk=v\n[Scale Factors]\nAlpha X=1\n"},
        TLayoutCase{"CommentedKeyIsNotTheKey", "[S]\n;Alpha X=5\n", "S", "Alpha X", "1",
                    "[S]\n;Alpha X=5\nAlpha X=1\n"},
        TLayoutCase{"KeyOfAnotherSectionUntouched", "[T]\r\nAlpha X=5\r\n[S]\r\n", "S", "Alpha X", "1",
                    "[T]\r\nAlpha X=5\r\n[S]\r\nAlpha X=1\r\n"},
        TLayoutCase{"ByteOrderMarkKept", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "2", "\xEF\xBB\xBF[S]\nk=2\n"},
        TLayoutCase{"EightBitBytesKept", "[S]\n; caf\xE9\nk=1\n", "S", "k", "2", "[S]\n; caf\xE9\nk=2\n"}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(ProfileFile, RefusesWhatCannotStandOnOneLine)
{
    const QByteArray content = "[S]\nk=1\n";
    const QString s = QStringLiteral("S");
    EXPECT_FALSE(TProfileFile::WithValue(content, s, QStringLiteral("k"), QStringLiteral("1\n[X]")));
    EXPECT_FALSE(TProfileFile::WithValue(content, s, QStringLiteral("a=b"), QStringLiteral("1")));
    EXPECT_FALSE(TProfileFile::WithValue(content, s, QStringLiteral("[k"), QStringLiteral("1")));
    EXPECT_FALSE(TProfileFile::WithValue(content, s, QStringLiteral(" "), QStringLiteral("1")));
    EXPECT_FALSE(
        TProfileFile::WithValue(content, QStringLiteral("S]x"), QStringLiteral("k"), QStringLiteral("1")));
    EXPECT_FALSE(TProfileFile::WithValue(content, QString(), QStringLiteral("k"), QStringLiteral("1")));
}

TEST(ProfileFile, ReadsTheFirstMatchingKeyOfTheFirstMatchingSection)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    WriteAll(path, "k=outside\n"
                   "[Other]\nPort Number=1\n"
                   "[ usb comms ]\n; Port Number=2\nport number =  0x10  \r\nPort Number=3\n"
                   "Empty=\n"
                   "[USB Comms]\nLater=4\n");
    const TProfileFile file(path);
    EXPECT_EQ(file.ReadValue(QStringLiteral("USB Comms"), QStringLiteral("Port Number")),
              QStringLiteral("0x10"));
    EXPECT_EQ(file.ReadValue(QStringLiteral("USB Comms"), QStringLiteral("Empty")), QString());
    EXPECT_FALSE(file.ReadValue(QStringLiteral("USB Comms"), QStringLiteral("Later")));
    EXPECT_FALSE(file.ReadValue(QStringLiteral("USB Comms"), QStringLiteral("k")));
    EXPECT_FALSE(file.ReadValue(QStringLiteral("Missing"), QStringLiteral("Port Number")));
    EXPECT_FALSE(TProfileFile(dir.filePath(QStringLiteral("none.ini")))
                     .ReadValue(QStringLiteral("USB Comms"), QStringLiteral("Port Number")));
}

TEST(ProfileFile, WriteCreatesFolderAndFileAndReadsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("deep/er/a.ini"));
    TProfileFile file(path);
    ASSERT_TRUE(
        file.WriteValue(QStringLiteral("Offset Angles"), QStringLiteral("Theta X"), QStringLiteral("1.5")));
    ASSERT_TRUE(
        file.WriteValue(QStringLiteral("Offset Angles"), QStringLiteral("Theta Y"), QStringLiteral("2")));
    ASSERT_TRUE(
        file.WriteValue(QStringLiteral("offset angles"), QStringLiteral("THETA X"), QStringLiteral("3")));
    EXPECT_EQ(file.ReadValue(QStringLiteral("Offset Angles"), QStringLiteral("Theta X")),
              QStringLiteral("3"));
    EXPECT_EQ(file.ReadValue(QStringLiteral("Offset Angles"), QStringLiteral("Theta Y")),
              QStringLiteral("2"));
    EXPECT_EQ(ReadAll(path).count("[Offset Angles]"), 1);
}

TEST(ProfileFile, FailedWriteLeavesNothingBehind)
{
    QTemporaryDir dir;
    // The folder of the file is a regular file, so neither folder nor file can be made.
    WriteAll(dir.filePath(QStringLiteral("blocker")), "x");
    TProfileFile blocked(dir.filePath(QStringLiteral("blocker/a.ini")));
    EXPECT_FALSE(blocked.WriteValue(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("1")));
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("blocker"))), "x");

    // The path names a folder: nothing to read, nothing written.
    QDir(dir.path()).mkdir(QStringLiteral("folder.ini"));
    TProfileFile folder(dir.filePath(QStringLiteral("folder.ini")));
    EXPECT_FALSE(folder.WriteValue(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("1")));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("folder.ini"))).isDir());
}

} // namespace
