#pragma once

#include <QList>
#include <QString>

// Axis labels of the views: a view asks for a least step between labels (1 in the X-Y view, 10 in
// the 3D view, none where the step is automatic), and where labels that close would overlap the step
// is widened to the next 1, 2 or 5 times a power of ten that leaves each label room.

// The distance between labels on an axis spanning span millimetres drawn over pixels, when each label
// needs labelPixels; never below leastStep (0: no least step).
double AxisLabelStep(double span, double pixels, double labelPixels, double leastStep);

// Decimals that show every multiple of step exactly (0 for whole steps, 1 for 0.5 and 0.2...).
int AxisLabelDecimals(double step);

// The labelled values of an axis from minimum to maximum: the multiples of step within the range.
QList<double> AxisTickValues(double minimum, double maximum, double step);

// The text of a label: decimals places, and never "-0".
QString AxisLabelText(double value, int decimals);
