#include "common/globalprocedures.h"

#include <gtest/gtest.h>

namespace {

// Takes every field off a line, as the file readers do, and returns the fields and the line that is
// left after each call.
std::vector<std::pair<QString, QString>> Fields(QString line)
{
    std::vector<std::pair<QString, QString>> out;
    QString field;
    while (NextField(line, field, QLatin1Char(',')))
        out.emplace_back(field, line);
    out.emplace_back(QStringLiteral("<end>"), line);
    return out;
}

TEST(NextField, SplitsTrimsAndStops)
{
    using P = std::pair<QString, QString>;
    EXPECT_EQ(Fields(QStringLiteral("12.5, 3 ,x")),
              (std::vector<P>{{"12.5", " 3 ,x"}, {"3", "x"}, {"x", ""}, {"<end>", ""}}));
    // An empty field between delimiters counts; a trailing delimiter gives no extra field.
    EXPECT_EQ(Fields(QStringLiteral(",a")), (std::vector<P>{{"", "a"}, {"a", ""}, {"<end>", ""}}));
    EXPECT_EQ(Fields(QStringLiteral("a,")), (std::vector<P>{{"a", ""}, {"<end>", ""}}));
    EXPECT_EQ(Fields(QStringLiteral("1,,3")),
              (std::vector<P>{{"1", ",3"}, {"", "3"}, {"3", ""}, {"<end>", ""}}));
    // Tabs and a carriage return left by a CR LF line end are trimmed away.
    EXPECT_EQ(Fields(QStringLiteral("\t4\t,2.000\r")),
              (std::vector<P>{{"4", "2.000\r"}, {"2.000", ""}, {"<end>", ""}}));
}

TEST(NextField, BlankLineIsLeftAsItWas)
{
    QString line = QStringLiteral("   ");
    QString field = QStringLiteral("stale");
    EXPECT_FALSE(NextField(line, field, QLatin1Char(',')));
    EXPECT_EQ(line, QStringLiteral("   "));
    EXPECT_TRUE(field.isEmpty());
}

TEST(TextRoutines, CountAndRemoveEndSequences)
{
    EXPECT_EQ(CountOccurrences("aa", "aaa"), 2);
    EXPECT_EQ(CountOccurrences("\r", "AB\r"), 1);
    EXPECT_EQ(CountOccurrences("", "AB"), 0);
    EXPECT_EQ(CountOccurrences("\r\n", "A\r\nB\r\n\r"), 2);

    EXPECT_EQ(RemoveAll("ab", "aabb"), QByteArray());
    EXPECT_EQ(RemoveAll("\r", "A\rB\r"), QByteArray("AB"));
    EXPECT_EQ(RemoveAll("", "AB"), QByteArray("AB"));
    EXPECT_EQ(RemoveAll("aba", "ababaX"), QByteArray("baX"));
    EXPECT_EQ(RemoveAll("xy", "xxxyyy"), QByteArray());
}

TEST(VectorRoutines, DistanceAndDotProduct)
{
    EXPECT_EQ(Distance3D(0, 0, 0, 3, 4, 12), 13.0L);
    EXPECT_EQ(Distance3D(1.5f, -2, 7, 1.5f, -2, 7), 0.0L);
    EXPECT_EQ(DotProduct3D(1, 0, 0, 0, 0, 0, 0, 1, 0), 0.0L);
    EXPECT_EQ(DotProduct3D(5, 5, 5, 5, 5, 5, 1, 2, 3), 0.0L);
    // The vertex is the middle point: (A - B) . (C - B).
    EXPECT_EQ(DotProduct3D(2, 1, 1, 1, 1, 1, 3, 1, 1), 2.0L);
    EXPECT_EQ(DotProduct3D(0, 0, 0, 1, 1, 1, 2, 2, 2), -3.0L);
}

} // namespace
