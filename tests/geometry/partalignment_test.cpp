#include "exactfeatures.h"
#include "geometry/featurerelation.h"
#include "geometry/partalignment.h"

#include <Eigen/Geometry>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace exact;

namespace {
const double Deg = std::numbers::pi / 180.0;

// A bracket drawn with its top face at Z 0, its front edge along X at Y -10 and its datum hole (20 mm)
// at the origin; a second hole at X 25, Y 15. On the table it sits tilted, turned and shifted.
class Bracket : public testing::Test
{
protected:
    const Eigen::Matrix3d turn =
        (Eigen::AngleAxisd(30 * Deg, V::UnitZ()) * Eigen::AngleAxisd(5 * Deg, V::UnitX()) *
         Eigen::AngleAxisd(-3 * Deg, V::UnitY()))
            .toRotationMatrix();
    const V shift{100, 50, -20};

    V OnTable(const V &drawn) const { return turn * drawn + shift; }
    V TurnOnTable(const V &drawn) const { return turn * drawn; }

    TGeometryFeature Top() const { return Plane(OnTable({10, 10, 0}), TurnOnTable({0, 0, 1})); }
    TGeometryFeature Edge() const { return Line(OnTable({20, -10, 0}), TurnOnTable({1, 0, 0})); }
    TGeometryFeature Hole(const V &drawn) const { return Circle(OnTable(drawn), TurnOnTable({0, 0, 1}), 20); }

    TPartAlignment Aligned(const TAlignmentInput &input) const
    {
        const TAlignmentOutcome out = TPartAlignment::Make(input);
        EXPECT_TRUE(out.ok) << out.reason;
        return out.alignment;
    }
};

TEST_F(Bracket, ReadsAsDrawnInPartCoordinates)
{
    const TPartAlignment a = Aligned({Top(), Edge(), {}, Hole({0, 0, 0})});

    EXPECT_LT(a.ToPart(Hole({0, 0, 0})).location.norm(), 1e-12);
    EXPECT_LT((a.ToPart(Edge()).direction - V(1, 0, 0)).norm(), 1e-12);
    EXPECT_LT((a.ToPart(Top()).direction - V(0, 0, 1)).norm(), 1e-12);
    EXPECT_LT((a.ToPart(Hole({25, 15, 0})).location - V(25, 15, 0)).norm(), 1e-12);
    EXPECT_NEAR(a.ToPart(Edge()).location.y(), -10.0, 1e-12);
    EXPECT_DOUBLE_EQ(a.ToPart(Hole({25, 15, 0})).diameter, 20.0);
    // Back to the machine: where the probe has to go for a drawn position.
    EXPECT_LT((a.ToMachine(V(25, 15, 0)) - OnTable({25, 15, 0})).norm(), 1e-12);
    EXPECT_LT((a.ToMachine(a.ToPart(Edge())).direction - Edge().direction).norm(), 1e-12);
    // The edge lies along the part's X axis; a line at 20 degrees in the face is 70 from Y.
    EXPECT_NEAR(AngleToDirection(Edge(), a.Axis(0)).value, 0.0, 1e-6);
    const TGeometryFeature slanted =
        Line(OnTable({0, 0, 0}), TurnOnTable({std::cos(20 * Deg), std::sin(20 * Deg), 0}));
    EXPECT_NEAR(AngleToDirection(slanted, a.Axis(1)).value, 70.0, 1e-9);
}

TEST_F(Bracket, SecondaryThroughTwoCentresRunsFromTheFirstToTheSecond)
{
    // The line from hole 2 back to the datum hole points along drawn -X: the part's X follows it.
    const TPartAlignment a = Aligned({Top(), Hole({40, 0, 0}), Hole({0, 0, 0}), Hole({0, 0, 0})});
    EXPECT_LT((a.ToPart(Hole({25, 15, 0})).location - V(-25, -15, 0)).norm(), 1e-12);
}

TEST_F(Bracket, OriginZFromThePrimaryPlane)
{
    // The origin probed at the bottom of a counterbore 5 mm down: its Z taken from the top face instead.
    const TGeometryFeature bottom = Point(OnTable({0, 0, -5}));
    const TPartAlignment own = Aligned({Top(), Edge(), {}, bottom, false});
    const TPartAlignment fromTop = Aligned({Top(), Edge(), {}, bottom, true});

    EXPECT_LT((own.ToPart(Hole({25, 15, 0})).location - V(25, 15, 5)).norm(), 1e-12);
    EXPECT_LT((fromTop.ToPart(Hole({25, 15, 0})).location - V(25, 15, 0)).norm(), 1e-12);
    EXPECT_EQ(own.FixedBy(TDegreeOfFreedom::TranslationZ), TAlignmentRole::Origin);
    EXPECT_EQ(fromTop.FixedBy(TDegreeOfFreedom::TranslationZ), TAlignmentRole::Primary);
    EXPECT_EQ(fromTop.FixedBy(TDegreeOfFreedom::RotationZ), TAlignmentRole::Secondary);
    EXPECT_EQ(fromTop.FixedBy(TDegreeOfFreedom::RotationX), TAlignmentRole::Primary);
    EXPECT_EQ(fromTop.FixedBy(TDegreeOfFreedom::TranslationX), TAlignmentRole::Origin);
}

TEST_F(Bracket, ACylinderAxisAsPrimary)
{
    // A shaft standing square on the face serves as +Z as well as the face does.
    const TPartAlignment a =
        Aligned({Cylinder(OnTable({0, 0, 30}), TurnOnTable({0, 0, 1}), 12), Edge(), {}, Hole({0, 0, 0})});
    EXPECT_LT((a.ToPart(Hole({25, 15, 0})).location - V(25, 15, 0)).norm(), 1e-12);
}

TEST_F(Bracket, StoredFrameGivesTheSameTransform)
{
    const TPartAlignment a = Aligned({Top(), Edge(), {}, Hole({0, 0, 0})});
    const TAlignmentOutcome back = TPartAlignment::FromFrame(a.Origin(), a.Axis(0), a.Axis(2));
    ASSERT_TRUE(back.ok) << back.reason;
    const V probe = OnTable({12, -3, 7});
    EXPECT_LT((back.alignment.ToPart(probe) - V(12, -3, 7)).norm(), 1e-12);
    EXPECT_FALSE(TPartAlignment::FromFrame(a.Origin(), a.Axis(2), a.Axis(2)).ok);
    EXPECT_FALSE(TPartAlignment::FromFrame(V(NAN, 0, 0), a.Axis(0), a.Axis(2)).ok);
}

struct TRefusalCase
{
    const char *name;
    TAlignmentInput input;
    const char *reason;
};

std::ostream &operator<<(std::ostream &os, const TRefusalCase &c)
{
    return os << c.name;
}

class AlignmentRefusal : public testing::TestWithParam<TRefusalCase>
{
};

TEST_P(AlignmentRefusal, SaysWhy)
{
    const TAlignmentOutcome out = TPartAlignment::Make(GetParam().input);
    EXPECT_FALSE(out.ok);
    EXPECT_NE(out.reason.find(GetParam().reason), std::string::npos) << out.reason;
}

const TGeometryFeature Face = Plane({0, 0, 0}, {0, 0, 1});
const TGeometryFeature XEdge = Line({0, -10, 0}, {1, 0, 0});
const TGeometryFeature Datum = Circle({0, 0, 0}, {0, 0, 1}, 20);

INSTANTIATE_TEST_SUITE_P(
    Inputs, AlignmentRefusal,
    testing::Values(
        TRefusalCase{"SecondaryAlongPrimary", {Face, Line({0, 0, 0}, {0, 0, 1}), {}, Datum}, "parallel"},
        TRefusalCase{"SphereAsPrimary", {Sphere({0, 0, 0}, 5), XEdge, {}, Datum}, "not a sphere"},
        TRefusalCase{"PlaneAsSecondary", {Face, Plane({0, 0, 0}, {1, 0, 0}), {}, Datum}, "not a plane"},
        TRefusalCase{"LineAsOrigin", {Face, XEdge, {}, XEdge}, "not a line"},
        TRefusalCase{"CoincidentCentres", {Face, Datum, Datum, Datum}, "coincide"},
        TRefusalCase{"ZFromAnAxis", {Line({0, 0, 0}, {0, 0, 1}), XEdge, {}, Datum, true}, "only a plane"}),
    [](const auto &info) { return std::string(info.param.name); });
} // namespace
