#pragma once

#include <QPalette>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

// How the window shows itself beyond its designed places: texts that fit where the platform's font
// is wider than the designed one, a disabled look that differs from the enabled one, the access code
// shown as stars, and a widened window kept on the screen.
class TDeskLook
{
public:
    // The grey of disabled captions and texts, whatever colour the enabled ones have.
    static const QColor DisabledText;

    // palette with its disabled captions and texts greyed.
    static QPalette WithDisabledLook(QPalette palette);
    // Makes label's font smaller, in half points down to 6 points, until its text fits width pixels;
    // the label keeps its place and takes the size of its text.
    static void FitText(QLabel *label, int width);
    // The left edge of a window outerWidth wide that starts at left, moved left as far as needed to
    // end inside available (and never left of it).
    static int LeftKeepingOnScreen(int left, int outerWidth, const QRect &available);
    // The station's window: the access code as "*" per character, and the maintenance labels fitted
    // to the maintenance area. Controls are found by objectName.
    static void Apply(QWidget *window);
    // The station's window in its designed font (Tahoma 8, else the platform's font at 8 points), dark
    // blue on cream, with the disabled look.
    static void SetWindowLook(QWidget *window);
};
