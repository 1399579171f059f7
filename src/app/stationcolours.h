#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

// The window's colours and the two ways its controls are coloured.
namespace StationColours {

inline const QColor Cream(255, 251, 240);
inline const QColor DarkBlue(0, 0, 160);
inline const QColor LightYellow(255, 255, 128);
inline const QColor Silver(192, 192, 192);
inline const QColor Red(255, 0, 0);
inline const QColor StaleGrey(150, 150, 150);

void SetColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour);
// Fills the widget's background with the colour.
void SetBackground(QWidget *widget, const QColor &colour);

} // namespace StationColours
