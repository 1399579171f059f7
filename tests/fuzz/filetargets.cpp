// The fuzz targets of the project reader, the table loaders and the settings file.

#include "app/profilefile.h"
#include "app/settingsfile.h"
#include "common/coordinatetext.h"
#include "files/featuresection.h"
#include "files/projectfile.h"
#include "files/rowlines.h"
#include "files/tablefile.h"
#include "fuzzcheck.h"
#include "fuzztargets.h"
#include "register/derivations.h"
#include "register/texttable.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cmath>

namespace {

const QString kStamp = QStringLiteral("2024Mar05_142301");

// The three tables of the register, made once and reused: every load empties them first.
struct TTables
{
    TTextTable data{4, 1000};
    TTextTable distances{6, 1000};
    TTextTable angles{7, 1000};
    QList<TPoint3> plotted;

    TFileTables Files()
    {
        return {data, distances, angles,
                [this](const QString &x, const QString &y, const QString &z) {
                    const auto vx = ReadDecimal(x), vy = ReadDecimal(y), vz = ReadDecimal(z);
                    if (!vx || !vy || !vz)
                        return false;
                    FUZZ_CHECK(std::isfinite(*vx) && std::isfinite(*vy) && std::isfinite(*vz),
                               "a plotted point is finite");
                    if (plotted.size() < 3)
                        plotted.append({*vx, *vy, *vz});
                    return true;
                },
                [this] { plotted.clear(); }};
    }
};

TTextTable &TableOf(TTables &tables, TTableFile::TKind kind)
{
    switch (kind) {
    case TTableFile::TKind::Distances:
        return tables.distances;
    case TTableFile::TKind::Angles:
        return tables.angles;
    case TTableFile::TKind::Coordinates:
        break;
    }
    return tables.data;
}

// Rows 1 down to FilledRowCount are filled and every row below is wholly empty: no row that the table
// holds is hidden behind a free one (the writers would pass over it). No text holds "nan" or "inf"
// unless the file did.
void CheckTable(const TTextTable &table, bool inputHoldsNanOrInf)
{
    const int filled = table.FilledRowCount();
    FUZZ_CHECK(filled <= TRowLines::MaxRows, "a table holds at most 999 rows");
    // Rows below LastUsedRow have not been written since the table was emptied.
    for (int row = 1; row <= table.LastUsedRow(); ++row) {
        for (int column = 0; column < table.ColCount(); ++column) {
            const QString cell = table.Cell(column, row);
            if (row > filled)
                FUZZ_CHECK(cell.isEmpty(), "no filled cell below the first free row");
            else if (!inputHoldsNanOrInf)
                FUZZ_CHECK(!HoldsNanOrInf(cell), "no table text holds nan or inf");
        }
    }
}

bool SameTable(const TTextTable &first, const TTextTable &second)
{
    const int filled = first.FilledRowCount();
    if (filled != second.FilledRowCount())
        return false;
    for (int row = 1; row <= filled; ++row) {
        if (first.RowTexts(row) != second.RowTexts(row))
            return false;
    }
    return true;
}

// Distances and angles among the first points plotted: their texts never read "nan" or "inf".
void CheckDerivedTexts(const QList<TPoint3> &points)
{
    if (points.size() < 2)
        return;
    const TDistanceResult d = TDerivations::Distance(points[0], points[1]);
    for (const float value : {d.dX, d.dY, d.dZ, d.dR})
        FUZZ_CHECK(!HoldsNanOrInf(FormatCoordinate(value)), "a distance text holds no nan or inf");
    if (points.size() < 3)
        return;
    const TAngleResult a = TDerivations::Angles(points[0], points[1], points[2]);
    for (const float value : {a.theta3D, a.thetaXY, a.thetaXZ, a.thetaYZ})
        FUZZ_CHECK(!HoldsNanOrInf(TDerivations::AngleText(value)), "an angle text holds no nan or inf");
}

bool InputHoldsNanOrInf(const std::uint8_t *data, std::size_t size)
{
    return HoldsNanOrInf(
        QString::fromLatin1(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
}

template <typename TLoad> TFileResult LoadFrom(QByteArray bytes, TLoad load)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return load(buffer);
}

int FuzzTableFile(TTableFile::TKind kind, const std::uint8_t *data, std::size_t size)
{
    static TTables first;
    static TTables second;
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const TFileResult loaded =
        LoadFrom(input, [&](QIODevice &device) { return TTableFile(first.Files()).Load(kind, device); });
    FUZZ_CHECK(loaded.Ok(), "a table file in memory always loads");
    const bool holdsNanOrInf = InputHoldsNanOrInf(data, size);
    CheckTable(TableOf(first, kind), holdsNanOrInf);
    if (kind == TTableFile::TKind::Coordinates) {
        FUZZ_CHECK(loaded.pointCount >= first.data.FilledRowCount() &&
                       loaded.pointCount <= TRowLines::MaxCountedPointNumber,
                   "PointCount covers the rows and stays within the counted numbers");
        CheckDerivedTexts(first.plotted);
    }

    qsizetype unrepresentable = 0;
    const QByteArray written = TTableFile(first.Files()).Compose(kind, &unrepresentable);
    FUZZ_CHECK(unrepresentable == 0, "every text read can be written back");
    const TFileResult reloaded =
        LoadFrom(written, [&](QIODevice &device) { return TTableFile(second.Files()).Load(kind, device); });
    FUZZ_CHECK(reloaded.Ok() && reloaded.warnings.isEmpty(),
               "a file the station wrote loads without a warning");
    FUZZ_CHECK(SameTable(TableOf(first, kind), TableOf(second, kind)),
               "written back and loaded again: same table");
    FUZZ_CHECK(loaded.pointCount == reloaded.pointCount, "written back and loaded again: same PointCount");
    return 0;
}

} // namespace

int FuzzProjectFile(const std::uint8_t *data, std::size_t size)
{
    static TTables first;
    static TTables second;
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const TFileResult loaded =
        LoadFrom(input, [&](QIODevice &device) { return TProjectFile(first.Files()).Load(device); });
    FUZZ_CHECK(loaded.Ok() && loaded.projectName, "a project file in memory always loads");
    const bool holdsNanOrInf = InputHoldsNanOrInf(data, size);
    CheckTable(first.data, holdsNanOrInf);
    CheckTable(first.distances, holdsNanOrInf);
    CheckTable(first.angles, holdsNanOrInf);
    FUZZ_CHECK(loaded.pointCount >= first.data.FilledRowCount() &&
                   loaded.pointCount <= TRowLines::MaxCountedPointNumber,
               "PointCount covers the rows and stays within the counted numbers");
    FUZZ_CHECK(loaded.projectName->size() <= TProjectFile::MaxNameLength,
               "a project name read has at most 99 characters");
    CheckDerivedTexts(first.plotted);

    qsizetype unrepresentable = 0;
    const QByteArray written =
        TProjectFile(first.Files()).Compose(*loaded.projectName, kStamp, &unrepresentable);
    FUZZ_CHECK(unrepresentable == 0, "every text read can be written back");
    const TFileResult reloaded =
        LoadFrom(written, [&](QIODevice &device) { return TProjectFile(second.Files()).Load(device); });
    FUZZ_CHECK(reloaded.Ok() && reloaded.warnings.isEmpty(),
               "a file the station wrote loads without a warning");
    FUZZ_CHECK(SameTable(first.data, second.data) && SameTable(first.distances, second.distances) &&
                   SameTable(first.angles, second.angles),
               "written back and loaded again: same tables");
    FUZZ_CHECK(reloaded.projectName == loaded.projectName, "written back and loaded again: same name");
    FUZZ_CHECK(reloaded.pointCount == loaded.pointCount, "written back and loaded again: same PointCount");
    return 0;
}

int FuzzFeatureSection(const std::uint8_t *data, std::size_t size)
{
    // The input follows the "[End]" line of an empty project, where the features section lies.
    static const QByteArray project = QByteArrayLiteral(
        "[General]\r\nProject Name = p\r\nFiled on 2024Mar05_142301\r\n[Coordinates]\r\nPoint, X, Y, "
        "Z\r\n[Distances]\r\nh\r\n[Angles]\r\nh\r\n[End]\r\n");
    static TTables first;
    static TTables second;
    static TTextTable firstFeatures{12, 1000};
    static TTextTable secondFeatures{12, 1000};
    static TTextTable firstAlignments{TFeatureSection::AlignmentColumnCount, 1000};
    static TTextTable secondAlignments{TFeatureSection::AlignmentColumnCount, 1000};
    const QByteArray input =
        project + QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const auto files = [](TTables &tables, TTextTable &features, TTextTable &alignments) {
        TFileTables files = tables.Files();
        files.features = &features;
        files.alignments = &alignments;
        return files;
    };
    const TFileResult loaded = LoadFrom(input, [&](QIODevice &device) {
        return TProjectFile(files(first, firstFeatures, firstAlignments)).Load(device);
    });
    FUZZ_CHECK(loaded.Ok(), "a project file in memory always loads");
    CheckTable(firstFeatures, InputHoldsNanOrInf(data, size));
    FUZZ_CHECK(first.data.IsRowFree(1) && first.distances.IsRowFree(1) && first.angles.IsRowFree(1),
               "what follows the end line never reaches the older tables");

    qsizetype unrepresentable = 0;
    const QByteArray written = TProjectFile(files(first, firstFeatures, firstAlignments))
                                   .Compose(QStringLiteral("p"), kStamp, &unrepresentable);
    FUZZ_CHECK(unrepresentable == 0, "every text read can be written back");
    FUZZ_CHECK(!firstFeatures.IsRowFree(1) || written.endsWith("[End]\r\n"),
               "without features the file ends at its end line");
    const TFileResult reloaded = LoadFrom(written, [&](QIODevice &device) {
        return TProjectFile(files(second, secondFeatures, secondAlignments)).Load(device);
    });
    FUZZ_CHECK(reloaded.Ok() && reloaded.warnings.isEmpty(),
               "a file the station wrote loads without a warning");
    FUZZ_CHECK(SameTable(firstFeatures, secondFeatures), "written back and loaded again: same features");
    FUZZ_CHECK(firstFeatures.IsRowFree(1) || SameTable(firstAlignments, secondAlignments),
               "written back and loaded again: same alignments");
    return 0;
}

int FuzzCoordinatesFile(const std::uint8_t *data, std::size_t size)
{
    return FuzzTableFile(TTableFile::TKind::Coordinates, data, size);
}

int FuzzDistancesFile(const std::uint8_t *data, std::size_t size)
{
    return FuzzTableFile(TTableFile::TKind::Distances, data, size);
}

int FuzzAnglesFile(const std::uint8_t *data, std::size_t size)
{
    return FuzzTableFile(TTableFile::TKind::Angles, data, size);
}

int FuzzSettingsFile(const std::uint8_t *data, std::size_t size)
{
    struct TKey
    {
        const char *section;
        const char *key;
    };
    static constexpr std::array<TKey, 7> keys = {{{"USB Comms", "Port Number"},
                                                  {"Scale Factors", "Alpha X"},
                                                  {"Scale Factors", "Alpha Y"},
                                                  {"Scale Factors", "Alpha Z"},
                                                  {"Offset Angles", "Theta X"},
                                                  {"Offset Angles", "Theta Y"},
                                                  {"Offset Angles", "Theta Z"}}};
    static constexpr std::array<float, 6> values = {1.0f, 0.99987f, 89.81f, -0.25f, 1e-7f, 3.4e38f};
    static QTemporaryDir folder;
    static const QString path = folder.filePath(TSettingsFile::FileName());

    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                       file.write(content) == content.size(),
                   "the settings file can be written for the test");
    }
    const TStationSettings settings = TSettingsFile(path).LoadSettings();
    const TCalibration &c = settings.Calibration;
    for (const float value : {c.AlphaX, c.AlphaY, c.AlphaZ, c.ThetaX, c.ThetaY, c.ThetaZ})
        FUZZ_CHECK(std::isfinite(value), "every calibration value read is finite");
    FUZZ_CHECK(c.IsUsable(), "the calibration read is usable");

    // One real value written into the content reads back, and no other key changes.
    const std::size_t which = 1 + size % 6;
    const float value = values[(size / 6) % values.size()];
    const QString text = TSettingsFile::FormatReal(value);
    FUZZ_CHECK(TSettingsFile::ParseReal(text) == value, "a real written reads back the same");
    const QString section = QLatin1String(keys[which].section);
    const QString key = QLatin1String(keys[which].key);
    const std::optional<QByteArray> updated = TProfileFile::WithValue(content, section, key, text);
    FUZZ_CHECK(updated.has_value(), "the station's own keys can always be written");
    FUZZ_CHECK(TProfileFile::ValueIn(*updated, section, key) == text, "a value written reads back");
    for (std::size_t other = 0; other < keys.size(); ++other) {
        if (other == which)
            continue;
        const QString otherSection = QLatin1String(keys[other].section);
        const QString otherKey = QLatin1String(keys[other].key);
        FUZZ_CHECK(TProfileFile::ValueIn(*updated, otherSection, otherKey) ==
                       TProfileFile::ValueIn(content, otherSection, otherKey),
                   "writing one key leaves the others as they were");
    }
    return 0;
}
