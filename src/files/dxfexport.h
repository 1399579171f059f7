#pragma once

#include "files/fileresult.h"
#include "register/texttable.h"

#include <QByteArray>
#include <QString>

// The point register as a CAD drawing: an ASCII DXF file of AutoCAD R12 entities in millimetres (the
// header sets $INSUNITS to millimetres and $MEASUREMENT to metric). Each point of the point table is a
// POINT on layer POINTS with its number as a TEXT beside it on layer LABELS; each distance row is a
// LINE between its two points on layer DISTANCES; each angle row is its two legs, from the vertex
// (second point) to the first and to the third point, as LINEs on layer ANGLES.
//
// The drawing is made from the point table's texts. A point row whose number is not a whole number or
// whose X, Y or Z does not read as a number is left out, and so is a distance or angle row that names
// a point the drawing does not hold; the count of rows left out comes back so the operator can be told.
// The angle values themselves are not drawn, so an angle row showing "***.***" keeps its legs.
//
// Given the features table, its circles are drawn as CIRCLEs in their own plane (the normal as the
// extrusion direction, the centre in the object coordinates of DXF's arbitrary axis algorithm) and its
// lines as LINEs between the extreme points they were fitted to, all on layer FEATURES, which the
// layer table names only when something is drawn on it; a drawing without features is as before. A
// circle or line row whose texts do not read, or a line none of whose points is in the point table,
// counts as left out.
class TFeatureRegister;

class TDxfExport
{
public:
    static inline const QString PointsLayer = QStringLiteral("POINTS");
    static inline const QString LabelsLayer = QStringLiteral("LABELS");
    static inline const QString DistancesLayer = QStringLiteral("DISTANCES");
    static inline const QString AnglesLayer = QStringLiteral("ANGLES");
    static inline const QString FeaturesLayer = QStringLiteral("FEATURES");

    struct TDrawing
    {
        QByteArray bytes;
        int points = 0;
        int distances = 0;
        int angles = 0;
        int features = 0;
        // Table rows of the tables that could not be drawn.
        int leftOut = 0;
    };

    static TDrawing Compose(const TTextTable &data, const TTextTable &distances, const TTextTable &angles,
                            const TFeatureRegister *features = nullptr);
    // Writes the file whole or not at all; rows left out come back as a warning for the operator.
    static TFileResult Save(const TTextTable &data, const TTextTable &distances, const TTextTable &angles,
                            const QString &fileName);
    static TFileResult Save(const TTextTable &data, const TTextTable &distances, const TTextTable &angles,
                            const TFeatureRegister *features, const QString &fileName);
    static QString LeftOutMessage(int rows);
};
