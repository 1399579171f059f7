#pragma once

#include <QByteArray>
#include <QString>

// Stateless text and vector routines shared by the port manager, the derivations and the file readers.

// Takes the next field off the front of a delimited line. The field is trimmed of every leading and
// trailing character with a code from 0 to 32. Returns false, with an empty field and the line left as
// it was, when the trimmed line is empty.
bool NextField(QString &line, QString &field, QChar delimiter);

// Counts every occurrence of sub in text, overlapping ones included. An empty sub is never found.
int CountOccurrences(QByteArrayView sub, QByteArrayView text);

// Removes every occurrence of sub, also those formed when a removal joins the text around it.
QByteArray RemoveAll(QByteArrayView sub, QByteArray text);

// Straight-line distance between two points, in extended precision.
long double Distance3D(float x1, float y1, float z1, float x2, float y2, float z2);

// (A - B) . (C - B): the dot product of the two legs that leave the vertex B.
long double DotProduct3D(float ax, float ay, float az, float bx, float by, float bz, float cx, float cy,
                         float cz);

// The line with every leading and trailing character of code 0 to 32 removed.
QString TrimControls(QStringView text);
