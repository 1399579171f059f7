#include "app/exportactions.h"

#include <gtest/gtest.h>

namespace {

using F = TExportActions::TFormat;

struct TChoiceCase
{
    const char *Name;
    const char *FileName;
    F Filter;
    F StartedOn;
    F Written;
};

void PrintTo(const TChoiceCase &c, std::ostream *os)
{
    *os << c.Name;
}

class ExportChoice : public testing::TestWithParam<TChoiceCase>
{
};

// The extension the operator typed decides over the filter left chosen; a name without one follows the
// filter.
TEST_P(ExportChoice, FollowsTheTypedExtensionThenTheFilter)
{
    const TChoiceCase &c = GetParam();
    EXPECT_EQ(TExportActions::ChosenFormat(QString::fromUtf8(c.FileName), qsizetype(c.Filter), c.StartedOn),
              c.Written);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportChoice,
    testing::Values(
        TChoiceCase{"DxfTypedUnderCsvFilter", "/d/part.DXF", F::PointsCsv, F::PointsCsv, F::Dxf},
        TChoiceCase{"CsvTypedUnderDxfFromTable", "/d/part.csv", F::Dxf, F::AnglesCsv, F::AnglesCsv},
        TChoiceCase{"CsvTypedUnderDxfFromView", "/d/part.csv", F::Dxf, F::Dxf, F::PointsCsv},
        TChoiceCase{"CsvOfAnotherTable", "/d/part.csv", F::DistancesCsv, F::PointsCsv, F::DistancesCsv},
        TChoiceCase{"NoExtension", "/d/part", F::DistancesCsv, F::Dxf, F::DistancesCsv},
        TChoiceCase{"OtherExtension", "/d/part.txt", F::Dxf, F::PointsCsv, F::Dxf}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(ExportFileName, ProjectNameBecomesAFileName)
{
    EXPECT_EQ(TExportActions::FileNameOf(QStringLiteral("  Bracket 7  ")), QStringLiteral("Bracket 7"));
    EXPECT_EQ(TExportActions::FileNameOf(QStringLiteral("a/b\\c:d*e?\"f<g>h|i\tj")),
              QStringLiteral("a_b_c_d_e__f_g_h_i_j"));
    EXPECT_EQ(TExportActions::FileNameOf(QStringLiteral("..")), QString());
    EXPECT_EQ(TExportActions::FileNameOf(QStringLiteral("   ")), QString());
}

} // namespace
