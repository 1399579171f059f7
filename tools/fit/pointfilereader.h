#pragma once

#include "geometry/geometryfeature.h"

#include <istream>
#include <optional>
#include <string>

// The point files qintar-fit reads, one point a line:
//   x y z          three numbers separated by blanks, tabs or a comma;
//   x y z i j k    a point and the direction the probe approached it from (every line alike);
//   n,x,y,z        the station's coordinate table rows: the point number, then the coordinates.
// A first line holding a single whole number is the count of points and is checked. Blank lines are
// skipped; a Windows line end and a leading byte order mark are read as nothing.
struct TPointFile
{
    TPointList points;
    // One a point when the file gives approach directions, else empty. As written, not normalised.
    TPointList directions;
};

class TPointFileReader
{
public:
    // The points, or nothing and the reason ("line 4: ...") in error.
    static std::optional<TPointFile> Read(std::istream &in, std::string &error);
    static std::optional<TPointFile> ReadFile(const std::string &fileName, std::string &error);
};
