#include "fitreport.h"

#include <array>
#include <cstdio>
#include <utility>
#include <vector>

namespace {
constexpr std::array<std::pair<const char *, TFeatureType>, 6> kTypes = {{
    {"line", TFeatureType::Line},
    {"plane", TFeatureType::Plane},
    {"circle", TFeatureType::Circle},
    {"sphere", TFeatureType::Sphere},
    {"cylinder", TFeatureType::Cylinder},
    {"cone", TFeatureType::Cone},
}};

std::string Number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

std::string Vector(const Eigen::Vector3d &v)
{
    return "[" + Number(v.x()) + "," + Number(v.y()) + "," + Number(v.z()) + "]";
}

// The feature's own fields in the order they are printed: name and either a vector or a number.
struct TField
{
    const char *name;
    std::optional<Eigen::Vector3d> vector;
    double number = 0.0;
};

std::vector<TField> Fields(const TGeometryFeature &f)
{
    switch (f.type) {
    case TFeatureType::Line:
        return {{"point", f.location}, {"direction", f.direction}};
    case TFeatureType::Plane:
        return {{"point", f.location}, {"normal", f.direction}};
    case TFeatureType::Circle:
        return {{"centre", f.location}, {"normal", f.direction}, {"diameter", std::nullopt, f.diameter}};
    case TFeatureType::Sphere:
        return {{"centre", f.location}, {"diameter", std::nullopt, f.diameter}};
    case TFeatureType::Cylinder:
        return {{"point", f.location}, {"direction", f.direction}, {"diameter", std::nullopt, f.diameter}};
    case TFeatureType::Cone:
        return {{"point", f.location},
                {"direction", f.direction},
                {"diameter", std::nullopt, f.diameter},
                {"apex_angle", std::nullopt, f.apexAngle}};
    case TFeatureType::Point:
        break;
    }
    return {{"point", f.location}};
}

// The name of the form error a person reads for the type.
const char *FormName(TFeatureType type)
{
    switch (type) {
    case TFeatureType::Line:
        return "straightness";
    case TFeatureType::Plane:
        return "flatness";
    case TFeatureType::Circle:
        return "roundness";
    case TFeatureType::Sphere:
        return "sphericity";
    case TFeatureType::Cylinder:
        return "cylindricity";
    case TFeatureType::Cone:
        return "conicity";
    case TFeatureType::Point:
        break;
    }
    return "form";
}
} // namespace

std::optional<TFeatureType> TFitReport::TypeFromName(const std::string &name)
{
    for (const auto &[word, type] : kTypes)
        if (name == word)
            return type;
    return std::nullopt;
}

std::string TFitReport::TypeName(TFeatureType type)
{
    for (const auto &[word, t] : kTypes)
        if (t == type)
            return word;
    return "point";
}

std::string TFitReport::Json(const TGeometryFeature &feature, std::optional<bool> compensated)
{
    std::string json =
        "{\"type\":\"" + TypeName(feature.type) + "\",\"points\":" + std::to_string(feature.points);
    for (const auto &field : Fields(feature))
        json += ",\"" + std::string(field.name) +
                "\":" + (field.vector ? Vector(*field.vector) : Number(field.number));
    json += ",\"form\":" + Number(feature.form) + ",\"rms\":" + Number(feature.rms);
    if (compensated)
        json += std::string(",\"compensated\":") + (*compensated ? "true" : "false");
    return json + "}";
}

std::string TFitReport::Summary(const TGeometryFeature &feature)
{
    char buffer[160];
    std::string text = TypeName(feature.type) + " of " + std::to_string(feature.points) + " points\n";
    for (const auto &field : Fields(feature)) {
        if (field.vector)
            std::snprintf(buffer, sizeof buffer, "  %-12s %14.6f %14.6f %14.6f\n", field.name,
                          field.vector->x(), field.vector->y(), field.vector->z());
        else
            std::snprintf(
                buffer, sizeof buffer, "  %-12s %14.6f%s\n", field.name, field.number,
                feature.type == TFeatureType::Cone && std::string(field.name) == "apex_angle" ? " deg" : "");
        text += buffer;
    }
    std::snprintf(buffer, sizeof buffer, "  %-12s %14.6f\n  %-12s %14.6f\n", FormName(feature.type),
                  feature.form, "rms", feature.rms);
    return text + buffer;
}
