#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where the point numbers go beside their marks. Each label tries four places in turn (above right,
// below right, above left, below left of its mark, a gap away) and takes the first that overlaps no
// label placed before it and lies inside the area; a label with no such place is left out, so close
// marks never print their numbers over one another. Labels are placed in the order given, so the
// first ones win.
struct TLabelRequest
{
    int index = 0;
    QPointF mark;
    QSizeF size;
};

struct TPlacedLabel
{
    int index = 0;
    QRectF place;
};

QList<TPlacedLabel> PlaceLabels(const QList<TLabelRequest> &requests, const QRectF &area, double gap);
