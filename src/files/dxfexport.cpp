#include "files/dxfexport.h"

#include "common/coordinatetext.h"
#include "files/codepage1252.h"
#include "files/wholefile.h"
#include "register/featureregister.h"

#include <Eigen/Geometry>
#include <QHash>
#include <QList>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

using TPoint = std::array<float, 3>;

// AutoCAD colour numbers of the layers.
constexpr int White = 7;
constexpr int Green = 3;
constexpr int Red = 1;
constexpr int Blue = 5;
constexpr int Magenta = 6;
// $INSUNITS 4 is millimetres; $MEASUREMENT 1 is metric.
constexpr int Millimetres = 4;
constexpr int Metric = 1;
// A point drawn as a circle with a cross, so it shows at every zoom.
constexpr int PointStyle = 34;

// The shortest fixed-point text that reads back as the same value, with a point as decimal mark
// whatever the locale and no exponent.
template <typename T> QString Number(T value)
{
    std::array<char, 400> buffer{};
    const auto end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed).ptr;
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

std::optional<int> PointNumber(const QString &text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok || number <= 0)
        return std::nullopt;
    return number;
}

// Group code and value pairs, one line each, CR LF as AutoCAD writes them.
class TGroups
{
public:
    void Add(int code, const QString &value)
    {
        m_text += QString::number(code).rightJustified(3, QLatin1Char(' '));
        m_text += QLatin1String("\r\n");
        m_text += value;
        m_text += QLatin1String("\r\n");
    }
    void Add(int code, int value) { Add(code, QString::number(value)); }
    void Add(int code, double value) { Add(code, Number(value)); }
    void AddVector(int firstCode, const Eigen::Vector3d &v)
    {
        for (int axis = 0; axis < 3; ++axis)
            Add(firstCode + 10 * axis, Number(v(axis)));
    }
    void AddPoint(int firstCode, const TPoint &point)
    {
        for (int axis = 0; axis < 3; ++axis)
            Add(firstCode + 10 * axis, Number(point[static_cast<std::size_t>(axis)]));
    }
    void AddVariable(const char *name, int code, int value)
    {
        Add(9, QLatin1String(name));
        Add(code, value);
    }
    void AddVariable(const char *name, const TPoint &point)
    {
        Add(9, QLatin1String(name));
        AddPoint(10, point);
    }
    const QString &Text() const { return m_text; }

private:
    QString m_text;
};

// A label is one line of text: control characters would break the group structure.
QString LabelText(const QString &text)
{
    QString label = text.trimmed();
    for (QChar &c : label)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return label;
}

void AddLayer(TGroups &groups, const QString &name, int colour)
{
    groups.Add(0, QStringLiteral("LAYER"));
    groups.Add(2, name);
    groups.Add(70, 0);
    groups.Add(62, colour);
    groups.Add(6, QStringLiteral("CONTINUOUS"));
}

void AddTables(TGroups &groups, double textHeight, bool features)
{
    groups.Add(0, QStringLiteral("SECTION"));
    groups.Add(2, QStringLiteral("TABLES"));

    groups.Add(0, QStringLiteral("TABLE"));
    groups.Add(2, QStringLiteral("LTYPE"));
    groups.Add(70, 1);
    groups.Add(0, QStringLiteral("LTYPE"));
    groups.Add(2, QStringLiteral("CONTINUOUS"));
    groups.Add(70, 0);
    groups.Add(3, QStringLiteral("Solid line"));
    groups.Add(72, 65);
    groups.Add(73, 0);
    groups.Add(40, 0.0);
    groups.Add(0, QStringLiteral("ENDTAB"));

    groups.Add(0, QStringLiteral("TABLE"));
    groups.Add(2, QStringLiteral("LAYER"));
    groups.Add(70, features ? 6 : 5);
    AddLayer(groups, QStringLiteral("0"), White);
    AddLayer(groups, TDxfExport::PointsLayer, White);
    AddLayer(groups, TDxfExport::LabelsLayer, Green);
    AddLayer(groups, TDxfExport::DistancesLayer, Red);
    AddLayer(groups, TDxfExport::AnglesLayer, Blue);
    if (features)
        AddLayer(groups, TDxfExport::FeaturesLayer, Magenta);
    groups.Add(0, QStringLiteral("ENDTAB"));

    groups.Add(0, QStringLiteral("TABLE"));
    groups.Add(2, QStringLiteral("STYLE"));
    groups.Add(70, 1);
    groups.Add(0, QStringLiteral("STYLE"));
    groups.Add(2, QStringLiteral("STANDARD"));
    groups.Add(70, 0);
    groups.Add(40, 0.0);
    groups.Add(41, 1.0);
    groups.Add(50, 0.0);
    groups.Add(71, 0);
    groups.Add(42, textHeight);
    groups.Add(3, QStringLiteral("txt"));
    groups.Add(4, QString());
    groups.Add(0, QStringLiteral("ENDTAB"));

    groups.Add(0, QStringLiteral("ENDSEC"));
}

void AddLine(TGroups &groups, const QString &layer, const TPoint &from, const TPoint &to)
{
    groups.Add(0, QStringLiteral("LINE"));
    groups.Add(8, layer);
    groups.AddPoint(10, from);
    groups.AddPoint(11, to);
}

// The points of a distance or angle row, by their numbers in columns 0 to count - 1; none when a number
// names no drawn point.
std::optional<QList<TPoint>> RowPoints(const TTextTable &table, int row, int count,
                                       const QHash<int, TPoint> &points)
{
    QList<TPoint> found;
    for (int column = 0; column < count; ++column) {
        const auto number = PointNumber(table.Cell(column, row));
        if (!number || !points.contains(*number))
            return std::nullopt;
        found.append(points.value(*number));
    }
    return found;
}

// The object coordinate axes DXF derives from an extrusion direction n (its arbitrary axis
// algorithm): x along (world Y or Z) x n, y = n x x.
void ObjectAxes(const Eigen::Vector3d &n, Eigen::Vector3d &x, Eigen::Vector3d &y)
{
    constexpr double Near = 1.0 / 64.0;
    const Eigen::Vector3d world = std::abs(n.x()) < Near && std::abs(n.y()) < Near ? Eigen::Vector3d::UnitY()
                                                                                   : Eigen::Vector3d::UnitZ();
    x = world.cross(n).normalized();
    y = n.cross(x).normalized();
}

// The circles and lines of the features table on layer FEATURES; counts what it draws and leaves out.
void AddFeatures(TGroups &groups, const TFeatureRegister &features, const QHash<int, TPoint> &points,
                 TDxfExport::TDrawing &drawing)
{
    const TTextTable &table = features.Table();
    for (int row = 1; row < table.RowCount(); ++row) {
        const auto source = table.IsRowFree(row) ? std::nullopt : features.Source(row);
        if (!source || source->kind != TFeatureRegister::TKind::Feature ||
            (source->type != TFeatureType::Circle && source->type != TFeatureType::Line))
            continue;
        const auto feature = features.Feature(row);
        if (!feature) {
            ++drawing.leftOut;
            continue;
        }
        if (feature->type == TFeatureType::Circle) {
            const Eigen::Vector3d n = feature->direction;
            Eigen::Vector3d x, y;
            ObjectAxes(n, x, y);
            const Eigen::Vector3d &c = feature->location;
            groups.Add(0, QStringLiteral("CIRCLE"));
            groups.Add(8, TDxfExport::FeaturesLayer);
            groups.AddVector(10, Eigen::Vector3d(c.dot(x), c.dot(y), c.dot(n)));
            groups.Add(40, feature->diameter / 2.0);
            groups.AddVector(210, n);
            ++drawing.features;
            continue;
        }
        // A line runs between the extreme projections of its points onto it.
        double low = HUGE_VAL, high = -HUGE_VAL;
        for (int number : source->points) {
            if (!points.contains(number))
                continue;
            const TPoint &p = points.value(number);
            const double t = (Eigen::Vector3d(p[0], p[1], p[2]) - feature->location).dot(feature->direction);
            low = std::min(low, t);
            high = std::max(high, t);
        }
        if (low > high) {
            ++drawing.leftOut;
            continue;
        }
        groups.Add(0, QStringLiteral("LINE"));
        groups.Add(8, TDxfExport::FeaturesLayer);
        groups.AddVector(10, feature->location + low * feature->direction);
        groups.AddVector(11, feature->location + high * feature->direction);
        ++drawing.features;
    }
}

} // namespace

TDxfExport::TDrawing TDxfExport::Compose(const TTextTable &data, const TTextTable &distances,
                                         const TTextTable &angles, const TFeatureRegister *features)
{
    TDrawing drawing;
    struct TLabelledPoint
    {
        TPoint point;
        QString label;
    };
    QList<TLabelledPoint> drawn;
    QHash<int, TPoint> byNumber;
    for (int row = 1; row < data.RowCount(); ++row) {
        if (data.IsRowFree(row))
            continue;
        const auto number = PointNumber(data.Cell(0, row));
        const auto x = ReadDecimal(data.Cell(1, row));
        const auto y = ReadDecimal(data.Cell(2, row));
        const auto z = ReadDecimal(data.Cell(3, row));
        if (!number || !x || !y || !z) {
            ++drawing.leftOut;
            continue;
        }
        const TPoint point{*x, *y, *z};
        drawn.append({point, LabelText(data.Cell(0, row))});
        // A number given twice (a hand-edited file) names its first point.
        if (!byNumber.contains(*number))
            byNumber.insert(*number, point);
    }

    TPoint low{0.0f, 0.0f, 0.0f};
    TPoint high{0.0f, 0.0f, 0.0f};
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const float value = drawn[i].point[axis];
            low[axis] = i == 0 ? value : std::min(low[axis], value);
            high[axis] = i == 0 ? value : std::max(high[axis], value);
        }
    }
    // Labels a fiftieth of the drawing's width or height, within sensible bounds for a part in mm.
    const double span = std::max(double(high[0]) - low[0], double(high[1]) - low[1]);
    // Rounded to a twentieth of a millimetre, a height a draughtsman would choose.
    const double textHeight =
        span > 0.0 ? std::clamp(std::round(span / 50.0 * 20.0) / 20.0, 0.25, 25.0) : 2.5;

    TGroups groups;
    groups.Add(999, QStringLiteral("QintarSoft measured points, distances and angles in millimetres"));
    groups.Add(0, QStringLiteral("SECTION"));
    groups.Add(2, QStringLiteral("HEADER"));
    groups.Add(9, QStringLiteral("$ACADVER"));
    groups.Add(1, QStringLiteral("AC1009"));
    groups.Add(9, QStringLiteral("$DWGCODEPAGE"));
    groups.Add(3, QStringLiteral("ANSI_1252"));
    groups.AddVariable("$INSBASE", TPoint{0.0f, 0.0f, 0.0f});
    groups.AddVariable("$EXTMIN", low);
    groups.AddVariable("$EXTMAX", high);
    groups.AddVariable("$INSUNITS", 70, Millimetres);
    groups.AddVariable("$MEASUREMENT", 70, Metric);
    groups.AddVariable("$PDMODE", 70, PointStyle);
    groups.Add(9, QStringLiteral("$PDSIZE"));
    groups.Add(40, textHeight / 2.0);
    groups.Add(0, QStringLiteral("ENDSEC"));
    TGroups featureGroups;
    if (features)
        AddFeatures(featureGroups, *features, byNumber, drawing);
    AddTables(groups, textHeight, drawing.features > 0);

    groups.Add(0, QStringLiteral("SECTION"));
    groups.Add(2, QStringLiteral("ENTITIES"));
    for (const TLabelledPoint &point : drawn) {
        groups.Add(0, QStringLiteral("POINT"));
        groups.Add(8, PointsLayer);
        groups.AddPoint(10, point.point);
        groups.Add(0, QStringLiteral("TEXT"));
        groups.Add(8, LabelsLayer);
        const float offset = static_cast<float>(textHeight / 2.0);
        groups.AddPoint(10, TPoint{point.point[0] + offset, point.point[1] + offset, point.point[2]});
        groups.Add(40, textHeight);
        groups.Add(1, point.label);
        ++drawing.points;
    }
    for (int row = 1; row < distances.RowCount(); ++row) {
        if (distances.IsRowFree(row))
            continue;
        const auto ends = RowPoints(distances, row, 2, byNumber);
        if (!ends) {
            ++drawing.leftOut;
            continue;
        }
        AddLine(groups, DistancesLayer, (*ends)[0], (*ends)[1]);
        ++drawing.distances;
    }
    for (int row = 1; row < angles.RowCount(); ++row) {
        if (angles.IsRowFree(row))
            continue;
        const auto corners = RowPoints(angles, row, 3, byNumber);
        if (!corners) {
            ++drawing.leftOut;
            continue;
        }
        AddLine(groups, AnglesLayer, (*corners)[1], (*corners)[0]);
        AddLine(groups, AnglesLayer, (*corners)[1], (*corners)[2]);
        ++drawing.angles;
    }
    drawing.bytes = TCodePage1252::Encode(groups.Text() + featureGroups.Text());
    TGroups end;
    end.Add(0, QStringLiteral("ENDSEC"));
    end.Add(0, QStringLiteral("EOF"));
    drawing.bytes += TCodePage1252::Encode(end.Text());
    return drawing;
}

TFileResult TDxfExport::Save(const TTextTable &data, const TTextTable &distances, const TTextTable &angles,
                             const QString &fileName)
{
    return Save(data, distances, angles, nullptr, fileName);
}

TFileResult TDxfExport::Save(const TTextTable &data, const TTextTable &distances, const TTextTable &angles,
                             const TFeatureRegister *features, const QString &fileName)
{
    TFileResult result;
    result.fileName = fileName;
    const TDrawing drawing = Compose(data, distances, angles, features);
    TWholeFile::Write(result, drawing.bytes, 0, QString());
    if (result.Ok() && drawing.leftOut > 0)
        result.warnings.append(LeftOutMessage(drawing.leftOut));
    return result;
}

QString TDxfExport::LeftOutMessage(int rows)
{
    return QStringLiteral(
               "%1 table row(s) were left out of the drawing: their texts are not numbers, or they "
               "name a point that is not in the point table.")
        .arg(rows);
}
