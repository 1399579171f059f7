#pragma once

#include "files/projectfile.h"
#include "filestestsupport.h"

#include <QBuffer>

// A project as an operator's hand-edited file may leave it: four good points, a row left free, a
// point whose X is not a number and whose Y holds quotes, a distance and an angle naming points that
// cannot be drawn, undefined angles.
inline QByteArray KnownProjectBytes()
{
    return Crlf({"[General]",
                 "Project Name = Bracket 7",
                 "Filed on 2026Dec09_120000",
                 "[Coordinates]",
                 "Point, X, Y, Z",
                 "1,0.000,0.000,0.000",
                 "2,30.000,0.000,0.000",
                 "3,30.000,40.000,-5.250",
                 "4,-12.345,6.789,100.000",
                 ",1.000,1.000,1.000",
                 "5,1.5 µm,\"2\",3.000",
                 "[Distances]",
                 "Pt 1, Pt 2, deltaX, deltaY, deltaZ, deltaR",
                 "1,2,30.000,0.000,0.000,30.000",
                 "1,3,30.000,40.000,-5.250,50.274",
                 "2,9,1.000,1.000,1.000,1.732",
                 "[Angles]",
                 "Pt 1, Pt 2, Pt 3, theta3D, thetaXY, thetaXZ, thetaYZ",
                 "2,1,3,53.365,53.130,***.***,***.***",
                 "1,2,3,90.000,90.000,***.***,***.***",
                 "4,5,1,12.000,13.000,14.000,15.000",
                 "[End]"});
}

// Loads the known project through the station's own reader.
inline void LoadKnownProject(TTablesUnderTest &tables)
{
    QByteArray bytes = KnownProjectBytes();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TProjectFile(tables.Tables()).Load(buffer);
}
