#include "common/globalprocedures.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 32;
}

} // namespace

QString TrimControls(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlankOrControl(text[first]))
        ++first;
    while (last > first && IsBlankOrControl(text[last - 1]))
        --last;
    return text.mid(first, last - first).toString();
}

bool NextField(QString &line, QString &field, QChar delimiter)
{
    // Looked at in place: copying the trimmed line on every call made splitting a long line quadratic.
    if (std::all_of(line.cbegin(), line.cend(), IsBlankOrControl)) {
        field.clear();
        return false;
    }
    const qsizetype p = line.indexOf(delimiter);
    if (p >= 0) {
        field = TrimControls(QStringView(line).left(p));
        line.remove(0, p + 1);
    } else {
        field = TrimControls(line);
        line.clear();
    }
    return true;
}

int CountOccurrences(QByteArrayView sub, QByteArrayView text)
{
    if (sub.isEmpty())
        return 0;
    int count = 0;
    qsizetype from = 0;
    while (true) {
        const qsizetype p = text.indexOf(sub, from);
        if (p < 0)
            return count;
        ++count;
        from = p + 1;
    }
}

QByteArray RemoveAll(QByteArrayView sub, QByteArray text)
{
    if (sub.isEmpty())
        return text;
    // Searching again from just before the removal point finds the occurrences that a removal joins,
    // without rescanning the text before it.
    qsizetype from = 0;
    while (true) {
        const qsizetype p = text.indexOf(sub, from);
        if (p < 0)
            return text;
        text.remove(p, sub.size());
        from = std::max<qsizetype>(0, p - sub.size() + 1);
    }
}

long double Distance3D(float x1, float y1, float z1, float x2, float y2, float z2)
{
    const long double dx = static_cast<long double>(x1) - x2;
    const long double dy = static_cast<long double>(y1) - y2;
    const long double dz = static_cast<long double>(z1) - z2;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

long double DotProduct3D(float ax, float ay, float az, float bx, float by, float bz, float cx, float cy,
                         float cz)
{
    const long double ux = static_cast<long double>(ax) - bx;
    const long double uy = static_cast<long double>(ay) - by;
    const long double uz = static_cast<long double>(az) - bz;
    const long double vx = static_cast<long double>(cx) - bx;
    const long double vy = static_cast<long double>(cy) - by;
    const long double vz = static_cast<long double>(cz) - bz;
    return ux * vx + uy * vy + uz * vz;
}
