#pragma once

#include "geometry/geometryfeature.h"

#include <optional>
#include <string>

// What qintar-fit prints of a fitted feature: one JSON object, numbers with 17 significant digits so
// that they read back to the same doubles, or a short summary for a person.
class TFitReport
{
public:
    // "line", "plane", "circle", "sphere", "cylinder", "cone" and back; nothing for any other word.
    static std::optional<TFeatureType> TypeFromName(const std::string &name);
    static std::string TypeName(TFeatureType type);

    // With compensated set (a fit with a probe ball), the object ends with "compensated": true or false.
    static std::string Json(const TGeometryFeature &feature, std::optional<bool> compensated = std::nullopt);
    static std::string Summary(const TGeometryFeature &feature);
};
