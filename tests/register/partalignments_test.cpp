#include "register/alignmentchoices.h"
#include "register/characteristicregister.h"
#include "register/featuremeasurement.h"
#include "register/featureregister.h"
#include "register/partcoordinatesmodel.h"

#include <Eigen/Geometry>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

using V = Eigen::Vector3d;
using TRoles = TPartAlignments::TRoles;
const double Deg = std::numbers::pi / 180.0;

// A bracket drawn with its top face at Z 0, its front edge along X at Y -10, its datum hole (20 mm) at
// the origin and a second hole at X 40, Y 15. On the table it sits tilted, turned and shifted; its
// points are recorded on the drawn geometry and fitted like any others.
class AlignedBracket : public ::testing::Test
{
protected:
    AlignedBracket()
    {
        features.SetHeaders();
        top = Fit(TFeatureType::Plane, {{5, 5, 0}, {60, 5, 0}, {60, 30, 0}, {5, 30, 0}, {30, 20, 0}});
        edge = Fit(TFeatureType::Line, {{0, -10, 0}, {20, -10, 0}, {45, -10, 0}, {70, -10, 0}});
        datum = Fit(TFeatureType::Circle, Round({0, 0, 0}));
        second = Fit(TFeatureType::Circle, Round({40, 15, 0}));
    }

    V OnTable(const V &drawn) const { return turn * drawn + shift; }

    static std::vector<V> Round(const V &centre)
    {
        std::vector<V> points;
        for (int k = 0; k < 8; ++k)
            points.push_back(centre + 10.0 * V(std::cos(k * 45 * Deg), std::sin(k * 45 * Deg), 0));
        return points;
    }

    int Fit(TFeatureType type, const std::vector<V> &drawn)
    {
        QList<int> numbers;
        for (const V &p : drawn) {
            const V machine = OnTable(p);
            numbers.append(++recorded);
            points.SetRowTexts(recorded,
                               {QString::number(recorded), QString::number(machine.x(), 'f', 4),
                                QString::number(machine.y(), 'f', 4), QString::number(machine.z(), 'f', 4)});
        }
        const auto outcome = measurement.Fit(type, numbers);
        EXPECT_TRUE(outcome.Added()) << outcome.message.toStdString();
        return outcome.row;
    }

    V Shown(const TPartCoordinatesModel &model, int row, int firstColumn) const
    {
        const QStringList texts = model.ShownTexts(row);
        return {texts[firstColumn].toDouble(), texts[firstColumn + 1].toDouble(),
                texts[firstColumn + 2].toDouble()};
    }

    QString Cell(int column, int row) const { return features.Table().Cell(column, row); }

    const Eigen::Matrix3d turn =
        (Eigen::AngleAxisd(28 * Deg, V::UnitZ()) * Eigen::AngleAxisd(4 * Deg, V::UnitX()) *
         Eigen::AngleAxisd(-2.5 * Deg, V::UnitY()))
            .toRotationMatrix();
    const V shift{120.5, 43.25, -17.75};
    TTextTable points{4, 1000};
    TFeatureRegister features;
    TFeatureMeasurement measurement{features, points};
    int recorded = 0;
    int top = 0, edge = 0, datum = 0, second = 0;
};

TEST_F(AlignedBracket, FeaturesReadAsDrawnInPartCoordinates)
{
    const auto added = features.Alignments().Align({top, edge, 0, datum, false});
    ASSERT_GT(added.row, 0) << added.message.toStdString();
    EXPECT_EQ(Cell(TFeatureRegister::ColFeature, added.row), QStringLiteral("AL1"));
    EXPECT_EQ(Cell(TFeatureRegister::ColType, added.row), QStringLiteral("Alignment"));
    EXPECT_EQ(Cell(TFeatureRegister::ColFrom, added.row), QStringLiteral("Z: PL1, X: L1, origin: C1"));
    EXPECT_TRUE(added.message.contains(QStringLiteral("Z: PL1, X: L1, origin: C1")));
    EXPECT_EQ(features.Alignments().ActiveName(), QStringLiteral("AL1"));
    // The row keeps the origin and the part's +Z in machine coordinates.
    EXPECT_EQ(Cell(TFeatureRegister::ColX, added.row), Cell(TFeatureRegister::ColX, datum));
    EXPECT_NEAR(Cell(TFeatureRegister::ColK, added.row).toDouble(), turn(2, 2), 1e-5);

    TPartCoordinatesModel model(features);
    const QStringList machine = model.ShownTexts(second);
    EXPECT_EQ(machine, features.Table().RowTexts(second));
    ASSERT_TRUE(model.SetPartCoordinates(true));
    const QStringList origin = model.ShownTexts(datum);
    EXPECT_EQ(origin.mid(TFeatureRegister::ColX, 3), QStringList({"0.000", "0.000", "0.000"}));
    EXPECT_LT((Shown(model, edge, TFeatureRegister::ColI) - V(1, 0, 0)).norm(), 1e-5);
    EXPECT_NEAR(Shown(model, edge, TFeatureRegister::ColX).y(), -10.0, 2e-3);
    EXPECT_LT((Shown(model, top, TFeatureRegister::ColI) - V(0, 0, 1)).norm(), 1e-5);
    EXPECT_LT((Shown(model, second, TFeatureRegister::ColX) - V(40, 15, 0)).cwiseAbs().maxCoeff(), 1.5e-3);
    // The alignment's own row reads as the part frame itself; sizes are no coordinates.
    EXPECT_EQ(model.ShownTexts(added.row).mid(TFeatureRegister::ColX, 6),
              QStringList({"0.000", "0.000", "0.000", "0.000000", "0.000000", "1.000000"}));
    EXPECT_EQ(model.ShownTexts(second)[TFeatureRegister::ColSize], QStringLiteral("20.000"));
    // Through the model the view sees: the texts, and the table left in machine coordinates.
    EXPECT_EQ(model.data(model.index(datum - 1, TFeatureRegister::ColY), Qt::DisplayRole).toString(),
              QStringLiteral("0.000"));
    EXPECT_EQ(features.Table().RowTexts(second), machine);

    // A distance's components turn with the frame; its length stays.
    const auto distance = features.Relate(TFeatureRegister::TKind::Distance, datum, second);
    ASSERT_GT(distance.row, 0);
    EXPECT_LT((Shown(model, distance.row, TFeatureRegister::ColX) - V(40, 15, 0)).cwiseAbs().maxCoeff(),
              2e-3);
    EXPECT_EQ(model.ShownTexts(distance.row)[TFeatureRegister::ColSize],
              Cell(TFeatureRegister::ColSize, distance.row));

    model.SetPartCoordinates(false);
    EXPECT_EQ(model.ShownTexts(second), machine);
}

TEST_F(AlignedBracket, PositionsAndAxisAnglesAreRowsOfTheirOwn)
{
    ASSERT_GT(features.Alignments().Align({top, edge, 0, datum, false}).row, 0);

    const auto position = features.Alignments().Position(second);
    ASSERT_GT(position.row, 0) << position.message.toStdString();
    EXPECT_EQ(Cell(TFeatureRegister::ColFeature, position.row), QStringLiteral("POS1"));
    EXPECT_EQ(Cell(TFeatureRegister::ColType, position.row), QStringLiteral("Position"));
    EXPECT_EQ(Cell(TFeatureRegister::ColFrom, position.row), QStringLiteral("C2, AL1"));
    EXPECT_NEAR(Cell(TFeatureRegister::ColX, position.row).toDouble(), 40.0, 1.5e-3);
    EXPECT_NEAR(Cell(TFeatureRegister::ColY, position.row).toDouble(), 15.0, 1.5e-3);
    EXPECT_NEAR(Cell(TFeatureRegister::ColZ, position.row).toDouble(), 0.0, 1.5e-3);
    // Already in part coordinates: shown the same either way.
    TPartCoordinatesModel model(features);
    model.SetPartCoordinates(true);
    EXPECT_EQ(model.ShownTexts(position.row), features.Table().RowTexts(position.row));

    struct TAxisCase
    {
        int row;
        int axis;
        const char *from;
        double degrees;
    };
    for (const TAxisCase &c : {TAxisCase{edge, 0, "L1, AL1 X", 0.0}, TAxisCase{edge, 1, "L1, AL1 Y", 90.0},
                               TAxisCase{edge, 2, "L1, AL1 Z", 90.0}, TAxisCase{top, 2, "PL1, AL1 Z", 0.0}}) {
        const auto angle = features.Alignments().AxisAngle(c.row, c.axis);
        ASSERT_GT(angle.row, 0) << angle.message.toStdString();
        EXPECT_EQ(Cell(TFeatureRegister::ColType, angle.row), QStringLiteral("Angle"));
        EXPECT_EQ(Cell(TFeatureRegister::ColFrom, angle.row), QString::fromLatin1(c.from));
        EXPECT_NEAR(Cell(TFeatureRegister::ColSize, angle.row).toDouble(), c.degrees, 1.5e-3) << c.from;
    }
    // A hole's plane has its angle too; a position has no direction, a line no centre: told, nothing
    // added.
    EXPECT_NEAR(Cell(TFeatureRegister::ColSize, features.Alignments().AxisAngle(second, 2).row).toDouble(),
                0.0, 1.5e-3);
    const int count = features.FeatureCount();
    EXPECT_EQ(features.Alignments().AxisAngle(position.row, 0).row, 0);
    EXPECT_EQ(features.Alignments().Position(edge).row, 0);
    EXPECT_EQ(features.Alignments().Position(position.row).row, 0);
    EXPECT_EQ(features.FeatureCount(), count);
}

struct TRefusalCase
{
    const char *what;
    // Rows of the fixture's features by letter: T top, E edge, D datum, S second, A upright axis.
    const char *roles;
    bool originZFromPrimary;
    const char *told;
};

class RefusedAlignment : public AlignedBracket, public ::testing::WithParamInterface<TRefusalCase>
{
};

TEST_P(RefusedAlignment, IsToldAndAddsNothing)
{
    // An upright axis: square to the face, so parallel to the primary.
    const int upright = Fit(TFeatureType::Line, {{50, 0, 0}, {50, 0, 10}, {50, 0, 25}});
    const auto rowOf = [&](char c) {
        switch (c) {
        case 'T':
            return top;
        case 'E':
            return edge;
        case 'D':
            return datum;
        case 'S':
            return second;
        case 'A':
            return upright;
        default:
            return 0;
        }
    };
    const TRefusalCase &c = GetParam();
    const TRoles roles{rowOf(c.roles[0]), rowOf(c.roles[1]), rowOf(c.roles[2]), rowOf(c.roles[3]),
                       c.originZFromPrimary};
    const int count = features.FeatureCount();
    const auto added = features.Alignments().Align(roles);
    EXPECT_EQ(added.row, 0);
    EXPECT_TRUE(added.message.contains(QString::fromLatin1(c.told)))
        << c.what << ": " << added.message.toStdString();
    EXPECT_EQ(features.FeatureCount(), count);
    EXPECT_EQ(features.Alignments().Table().FilledRowCount(), 0);
    EXPECT_FALSE(features.ActiveAlignment());
}

INSTANTIATE_TEST_SUITE_P(
    Roles, RefusedAlignment,
    ::testing::Values(TRefusalCase{"secondary parallel to the primary", "TA-D", false, "parallel"},
                      TRefusalCase{"a circle as primary", "DE-D", false, "primary"},
                      TRefusalCase{"a plane as origin", "TE-T", false, "origin"},
                      TRefusalCase{"the same centre twice", "TDDS", false, "coincide"},
                      TRefusalCase{"Z from a line's axis", "AE-D", true, "plane primary"},
                      TRefusalCase{"no secondary chosen", "T--D", false, "secondary"}));

TEST_F(AlignedBracket, ZFromThePrimaryAndALineThroughTwoCentres)
{
    const int third = Fit(TFeatureType::Circle, Round({20, 10, 3}));
    const auto added = features.Alignments().Align({top, datum, second, third, true});
    ASSERT_GT(added.row, 0) << added.message.toStdString();
    EXPECT_EQ(Cell(TFeatureRegister::ColFrom, added.row),
              QStringLiteral("Z: PL1, X: C1-C2, origin: C3 (Z: PL1)"));
    const auto frame = features.ActiveAlignment();
    ASSERT_TRUE(frame);
    // The origin's Z on the face, not on the raised hole; X from C1 towards C2.
    const V third3 = frame->ToPart(OnTable({20, 10, 3}));
    EXPECT_NEAR(third3.z(), 3.0, 2e-3);
    EXPECT_NEAR(third3.head<2>().norm(), 0.0, 2e-3);
    const V c2 = frame->ToPart(OnTable({40, 15, 0}));
    EXPECT_NEAR(std::atan2(c2.y() - frame->ToPart(OnTable({0, 0, 0})).y(),
                           c2.x() - frame->ToPart(OnTable({0, 0, 0})).x()),
                0.0, 1e-4);
}

TEST_F(AlignedBracket, SeveralAlignmentsOneActiveKeptAsStored)
{
    const int first = features.Alignments().Align({top, edge, 0, datum, false}).row;
    const int other = features.Alignments().Align({top, edge, 0, second, false}).row;
    ASSERT_GT(other, first);
    EXPECT_EQ(features.Name(other), QStringLiteral("AL2"));
    EXPECT_EQ(features.Alignments().ActiveName(), QStringLiteral("AL2"));
    EXPECT_LT(features.ActiveAlignment()->ToPart(OnTable({40, 15, 0})).norm(), 2e-3);
    ASSERT_TRUE(features.Alignments().SetActive(QStringLiteral("AL1")));
    EXPECT_FALSE(features.Alignments().SetActive(QStringLiteral("C1")));
    EXPECT_EQ(features.Alignments().ActiveName(), QStringLiteral("AL1"));
    const V before = features.ActiveAlignment()->ToPart(OnTable({40, 15, 0}));

    // Deleting what it was made from keeps the alignment; its From still names them.
    features.DeleteRow(datum);
    features.DeleteRow(features.FindRow(QStringLiteral("L1")));
    ASSERT_TRUE(features.ActiveAlignment());
    EXPECT_LT((features.ActiveAlignment()->ToPart(OnTable({40, 15, 0})) - before).norm(), 1e-9);

    // Read back from the texts alone, as a load or a journal gives them.
    TFeatureRegister copy;
    copy.SetHeaders();
    for (int row = 1; row <= features.FeatureCount(); ++row)
        copy.Table().SetRowTexts(row, features.Table().RowTexts(row));
    for (int row = 1; row <= features.Alignments().Table().FilledRowCount(); ++row)
        copy.Alignments().Table().SetRowTexts(row, features.Alignments().Table().RowTexts(row));
    copy.TakeNamesFromTable();
    ASSERT_TRUE(copy.ActiveAlignment());
    EXPECT_LT((copy.ActiveAlignment()->ToPart(OnTable({40, 15, 0})) - before).norm(), 1e-9);
    EXPECT_EQ(copy.NextName(TPartAlignments::NamePrefix), QStringLiteral("AL3"));

    // The active one's row deleted: none is active, and its stored axis goes with it.
    features.DeleteRow(features.FindRow(QStringLiteral("AL1")));
    EXPECT_FALSE(features.ActiveAlignment());
    EXPECT_EQ(features.Alignments().Table().FilledRowCount(), 1);
    EXPECT_EQ(features.Alignments().Table().Cell(TPartAlignments::ColAlignment, 1), QStringLiteral("AL2"));
    EXPECT_EQ(features.NextName(TPartAlignments::NamePrefix), QStringLiteral("AL3"));
    features.Clear();
    EXPECT_EQ(features.Alignments().Table().FilledRowCount(), 0);
    EXPECT_EQ(features.NextName(TPartAlignments::NamePrefix), QStringLiteral("AL1"));
}

// The drawing dimensions the second hole at X 40, Y 15 from the datum hole: once the part is aligned,
// its positions and its true position read against those numbers, wherever the part sits on the table;
// its diameter and the face's flatness do not care.
TEST_F(AlignedBracket, CharacteristicsReadTheDrawingOnceAligned)
{
    using K = TCharacteristicKind;
    TCharacteristicRegister characteristics;
    characteristics.SetHeaders();
    const auto lookup = TCharacteristicRegister::LookupIn(features, points);
    const auto add = [&](K kind, double nominal, double upper, double lower, double nominalY = 0.0) {
        TCharacteristicRegister::TDefinition definition;
        definition.feature = features.Name(second);
        definition.kind = kind;
        definition.tolerance = {nominal, upper, lower};
        definition.nominalY = nominalY;
        QString problem;
        const int row = characteristics.Add(definition, lookup, &problem);
        EXPECT_GT(row, 0) << problem.toStdString();
        return row;
    };
    const int x = add(K::PositionX, 40, 0.01, -0.01);
    const int y = add(K::PositionY, 15, 0.01, -0.01);
    const int position = add(K::TruePosition, 40, 0.02, 0, 15);
    const int size = add(K::Diameter, 20, 0.01, -0.01);
    const auto result = [&](int row) {
        return characteristics.Table().Cell(TCharacteristicRegister::ColResult, row);
    };

    // On the machine's table the hole is nowhere near 40, 15.
    EXPECT_EQ(result(x), TCharacteristicRegister::NokText);
    EXPECT_EQ(result(position), TCharacteristicRegister::NokText);
    EXPECT_EQ(result(size), TCharacteristicRegister::OkText);

    ASSERT_GT(features.Alignments().Align({top, edge, 0, datum, false}).row, 0);
    characteristics.Evaluate(lookup);
    for (const int row : {x, y, position, size})
        EXPECT_EQ(result(row), TCharacteristicRegister::OkText)
            << characteristics.Table().RowTexts(row).join(' ').toStdString();
    EXPECT_NEAR(characteristics.Table().Cell(TCharacteristicRegister::ColActual, x).toDouble(), 40.0, 1.5e-3);
    EXPECT_LT(characteristics.Table().Cell(TCharacteristicRegister::ColActual, position).toDouble(), 4e-3);
}

TEST_F(AlignedBracket, ChoicesOfferEachRoleWhatCanServeIt)
{
    const auto texts = [](const QList<TAlignmentChoices::TChoice> &choices) {
        QStringList list;
        for (const auto &choice : choices)
            list.append(choice.text);
        return list;
    };
    // A constructed point counts as a centre; a relation, an alignment and a position do not.
    TGeometryFeature corner;
    corner.location = OnTable({0, -10, 0});
    ASSERT_GT(features.AddConstructed(corner, {TConstructionRecipe::TKind::Projection, {"C1", "PL1"}}), 0);
    ASSERT_GT(features.Relate(TFeatureRegister::TKind::Distance, datum, second).row, 0);
    ASSERT_GT(features.Alignments().Align({top, edge, 0, datum, false}).row, 0);
    ASSERT_GT(features.Alignments().Position(second).row, 0);

    const TAlignmentChoices choices(features);
    ASSERT_TRUE(choices.Complete());
    EXPECT_EQ(texts(choices.Primaries()), QStringList({"PL1", "L1"}));
    EXPECT_EQ(texts(choices.Secondaries()),
              QStringList({"L1", "C1-C2", "C1-P1", "C2-C1", "C2-P1", "P1-C1", "P1-C2"}));
    EXPECT_EQ(texts(choices.Origins(0)),
              QStringList({"C1", "C1 (Z: PL1)", "C2", "C2 (Z: PL1)", "P1", "P1 (Z: PL1)"}));
    // A line's axis gives no plane to take the origin's Z from.
    EXPECT_EQ(texts(choices.Origins(1)), QStringList({"C1", "C2", "P1"}));
    EXPECT_EQ(choices.FirstSecondary(0), 0);
    EXPECT_EQ(choices.FirstSecondary(1), 1);

    const auto roles = choices.Roles(0, 3, 3);
    ASSERT_TRUE(roles);
    EXPECT_EQ(roles->primary, top);
    EXPECT_EQ(roles->secondary, second);
    EXPECT_EQ(roles->secondaryTo, datum);
    EXPECT_EQ(roles->origin, second);
    EXPECT_TRUE(roles->originZFromPrimary);
    EXPECT_EQ(choices.FixedByText(0, 3, 3), QStringLiteral("Z: PL1, X: C2-C1, origin: C2 (Z: PL1)"));
    EXPECT_EQ(choices.FixedByText(0, 0, 0), QStringLiteral("Z: PL1, X: L1, origin: C1"));
    // An origin index of the plane's list is out of range for the line's shorter one.
    EXPECT_FALSE(choices.Roles(1, 0, 5));
    EXPECT_TRUE(choices.FixedByText(0, 7, 0).isEmpty());
    EXPECT_FALSE(choices.Roles(-1, 0, 0));

    // An empty table offers nothing; many centres pair only the first few.
    TFeatureRegister empty;
    empty.SetHeaders();
    EXPECT_FALSE(TAlignmentChoices(empty).Complete());
    for (int i = 0; i < TAlignmentChoices::kPairedCentres + 5; ++i) {
        TGeometryFeature point;
        point.location = V(i, 0, 0);
        ASSERT_GT(empty.AddFeature(point, {i + 1}), 0);
    }
    const TAlignmentChoices many(empty);
    EXPECT_FALSE(many.Complete());
    EXPECT_EQ(many.Secondaries().size(),
              TAlignmentChoices::kPairedCentres * (TAlignmentChoices::kPairedCentres - 1));
    EXPECT_EQ(many.Origins(-1).size(), TAlignmentChoices::kPairedCentres + 5);
}

TEST(PartAlignmentTexts, DamagedStoredFramesReadAsNone)
{
    TFeatureRegister features;
    features.SetHeaders();
    QStringList row{"AL1",      "Alignment", "Z: PL1, X: L1, origin: C1",
                    "1.000",    "2.000",     "3.000",
                    "0.000000", "0.000000",  "1.000000",
                    "",         "",          ""};
    features.Table().SetRowTexts(1, row);
    features.Alignments().Table().SetRowTexts(1, {"AL1", "Yes", "1.000000", "0.000000", "0.000000"});
    ASSERT_TRUE(features.ActiveAlignment());
    EXPECT_LT(features.ActiveAlignment()->ToPart(V(1, 2, 3)).norm(), 1e-12);

    const QStringList frame{"AL1", "Yes", "1.000000", "0.000000", "0.000000"};
    struct TDamage
    {
        int column;
        const char *text;
        bool inAlignments;
    };
    for (const TDamage &d :
         {TDamage{TFeatureRegister::ColX, "x", false}, TDamage{TFeatureRegister::ColK, "", false},
          TDamage{TFeatureRegister::ColType, "Plane", false}, TDamage{TPartAlignments::ColXI, "nan", true},
          TDamage{TPartAlignments::ColXJ, "", true}, TDamage{TPartAlignments::ColActive, "", true}}) {
        TTextTable &table = d.inAlignments ? features.Alignments().Table() : features.Table();
        table.SetCell(d.column, 1, QString::fromLatin1(d.text));
        EXPECT_FALSE(features.ActiveAlignment()) << d.column << " " << d.text;
        features.Table().SetRowTexts(1, row);
        features.Alignments().Table().SetRowTexts(1, frame);
        ASSERT_TRUE(features.ActiveAlignment()) << d.column;
    }
    // X along Z makes no frame.
    features.Alignments().Table().SetRowTexts(1, {"AL1", "Yes", "0.000000", "0.000000", "1.000000"});
    EXPECT_FALSE(features.ActiveAlignment());
}

} // namespace
