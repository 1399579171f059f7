#include "app/stationcolours.h"

#include <QWidget>

namespace StationColours {

void SetColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    // Setting a palette repaints the widget and its children even when nothing changes.
    if (palette.color(QPalette::Active, role) == colour &&
        palette.color(QPalette::Inactive, role) == colour &&
        palette.color(QPalette::Disabled, role) == colour)
        return;
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

void SetBackground(QWidget *widget, const QColor &colour)
{
    SetColour(widget, QPalette::Window, colour);
    widget->setAutoFillBackground(true);
}

} // namespace StationColours
