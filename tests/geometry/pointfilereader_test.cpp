// qintar-fit's point files: the layouts it reads and the lines it refuses, with the line told.
#include "pointfilereader.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {
struct TReadCase
{
    const char *name;
    const char *text;
    std::vector<Eigen::Vector3d> points;
    std::size_t directions;
};

class PointFileRead : public testing::TestWithParam<TReadCase>
{
};

TEST_P(PointFileRead, ReadsThePoints)
{
    std::istringstream in(GetParam().text);
    std::string error;
    const auto file = TPointFileReader::Read(in, error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->points.size(), GetParam().points.size());
    for (std::size_t i = 0; i < file->points.size(); ++i)
        EXPECT_EQ(file->points[i], GetParam().points[i]) << "point " << i + 1;
    EXPECT_EQ(file->directions.size(), GetParam().directions);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PointFileRead,
    testing::Values(
        TReadCase{"CountThenTabs", "2\n1.5\t-2\t3e1\n4\t5\t6\n", {{1.5, -2, 30}, {4, 5, 6}}, 0},
        TReadCase{"BlanksCommasAndBlankLines",
                  "  1 2 3\n\n4,5, 6\n7 ,8,+9\n",
                  {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
                  0},
        // The station's coordinate table: point number first, Windows line ends.
        TReadCase{"StationTable",
                  "1,10.000,20.000,-5.250\r\n2,11.000,21.000,-5.250\r\n",
                  {{10, 20, -5.25}, {11, 21, -5.25}},
                  0},
        TReadCase{"ByteOrderMark",
                  "\xEF\xBB\xBF"
                  "1 2 3\n",
                  {{1, 2, 3}},
                  0},
        TReadCase{"WithApproachDirections", "1 2 3 0 0 -1\n4 5 6 0 0 -2\n", {{1, 2, 3}, {4, 5, 6}}, 2},
        // A single whole number is a count only on the first line holding numbers.
        TReadCase{"CountAfterBlankLine", "\n3\n0 0 0\n1 0 0\n0 1 0\n", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, 0}),
    [](const testing::TestParamInfo<TReadCase> &info) { return info.param.name; });

struct TRefusedCase
{
    const char *name;
    const char *text;
    const char *error; // a part of the message
};

class PointFileRefused : public testing::TestWithParam<TRefusedCase>
{
};

TEST_P(PointFileRefused, TellsTheLine)
{
    std::istringstream in(GetParam().text);
    std::string error;
    EXPECT_FALSE(TPointFileReader::Read(in, error));
    EXPECT_NE(error.find(GetParam().error), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PointFileRefused,
    testing::Values(TRefusedCase{"CountDisagrees", "3\n1 2 3\n4 5 6\n", "says 3 points, the file holds 2"},
                    TRefusedCase{"Word", "1 2 3\n4 five 6\n", "line 2: \"five\" is not a number"},
                    TRefusedCase{"TwoNumbers", "1 2\n", "line 1: expected"},
                    TRefusedCase{"NotANumber", "1 nan 3\n", "\"nan\" is not a number"},
                    TRefusedCase{"Infinite", "1 2 inf\n", "\"inf\" is not a number"},
                    TRefusedCase{"Overflow", "1 2 1e999\n", "is not a number"},
                    TRefusedCase{"EmptyCell", "1,,2,3\n", "line 1: an empty cell"},
                    TRefusedCase{"TrailingComma", "1,2,3,\n", "an empty cell"},
                    TRefusedCase{"MixedWidths", "1 2 3\n1 2 3 0 0 1\n",
                                 "line 2: 6 numbers where the lines before have 3"},
                    TRefusedCase{"FractionalPointNumber", "1.5,1,2,3\n", "point number"},
                    TRefusedCase{"ZeroDirection", "1 2 3 0 0 0\n", "approach direction is zero"}),
    [](const testing::TestParamInfo<TRefusedCase> &info) { return info.param.name; });

TEST(PointFileReader, MissingFileIsTold)
{
    std::string error;
    EXPECT_FALSE(TPointFileReader::ReadFile("/nonexistent/points.txt", error));
    EXPECT_NE(error.find("cannot open /nonexistent/points.txt"), std::string::npos) << error;
}
} // namespace
