#pragma once

#include <QString>

class QWidget;

// The short tooltip of every control of the station's window, kept in one table keyed by objectName
// so that it applies however the controls were made (by code or from a form). A button's shortcut,
// where it has one, follows its tip in brackets.
class TControlTips
{
public:
    // The tip for a control's objectName; empty for a name the table does not know.
    static QString TipFor(const QString &objectName);
    // Gives every named child of window that the table knows its tip.
    static void Apply(QWidget *window);
};
