#pragma once

#include "geometry/geometryfeature.h"

#include <Eigen/Core>
#include <optional>
#include <string>

// What an inspector tolerances on a feature or a relation: a size, a position in part coordinates, a
// form, a distance or an angle, and the orientation and location characteristics that are judged
// against a zone (form, true position, perpendicularity, parallelism).
enum class TCharacteristicKind
{
    Diameter,
    PositionX,
    PositionY,
    PositionZ,
    Form,
    Distance,
    Angle,
    TruePosition,
    Perpendicularity,
    Parallelism,
};

// "Diameter", "Position X", ..., "True position"; a form is named after the feature it belongs to
// ("Flatness" of a plane, "Roundness" of a circle). CharacteristicKindFromName reads either name back.
std::string CharacteristicName(TCharacteristicKind kind, TFeatureType type);
std::optional<TCharacteristicKind> CharacteristicKindFromName(const std::string &name);

// A zone characteristic (a form, a true position, a perpendicularity, a parallelism) has a nominal of
// zero and an upper tolerance only: its actual is the width of the zone and can only be too large.
bool HasUpperToleranceOnly(TCharacteristicKind kind);

// The nominal and its limits as signed deviations from it: 20 +0.02/-0.01 is {20, 0.02, -0.01}; a lower
// limit at the nominal is a lower of 0. The lower is not looked at where the characteristic has an upper
// tolerance only.
struct TTolerance
{
    double nominal = 0.0;
    double upper = 0.0;
    double lower = 0.0;
};

enum class TVerdict
{
    Missing,
    Ok,
    Nok,
};

struct TJudgement
{
    TVerdict verdict = TVerdict::Missing;
    // Both as judged: the actual at the station's resolution, and the actual less the nominal. Unset when
    // the actual is missing.
    std::optional<double> actual;
    std::optional<double> deviation;
};

// The station shows millimetres and degrees with three decimals, and an actual is judged as shown: it is
// first rounded to this resolution (halves away from zero), so that the operator never reads a value
// that looks on the limit but is judged beyond it. A value on a limit is inside: OK.
constexpr double JudgedResolution = 0.001;

// OK when nominal + lower <= actual <= nominal + upper (actual <= nominal + upper alone for a zone
// characteristic), NOK otherwise; Missing, with no deviation, when there is no actual or it is not a
// finite number.
TJudgement Judge(TCharacteristicKind kind, const TTolerance &tolerance, std::optional<double> actual);

// The true position of a centre: the diameter of the circle about the nominal location on which the
// actual centre lies, 2 sqrt(dX^2 + dY^2), in the XY plane of the active alignment. Both locations are
// to be given in part coordinates already.
double TruePositionDiameter(const Eigen::Vector2d &actual, const Eigen::Vector2d &nominal);

// The actual a feature itself carries for a characteristic: its diameter (circle, sphere, cylinder, a
// cone's diameter at its location), a coordinate of its location, or its form error (every fitted
// feature). None where the feature has no such value (the diameter of a plane) or the characteristic
// needs more than the feature (a distance, an angle, a true position, an orientation).
std::optional<double> FeatureActual(TCharacteristicKind kind, const TGeometryFeature &feature);
