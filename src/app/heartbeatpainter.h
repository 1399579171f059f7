#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <vector>

class QPushButton;

// Paints a push button whose text colour flips at every reply of the device. The flip is a repaint
// of the button alone: its palette is left as it is (setting one would reach its children and make
// the style draw the button's face anew), and the face is drawn with one of a few palettes made once,
// which the style's picture cache recognises.
class THeartbeatPainter : public QObject
{
    Q_OBJECT

public:
    explicit THeartbeatPainter(QPushButton &button);

    void SetTextColour(const QColor &colour);
    QColor TextColour() const { return m_colour; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const QPalette &PaletteFor(const QColor &colour);

    QPushButton &m_button;
    QColor m_colour;
    QPalette m_base;
    std::vector<QPalette> m_palettes;
};
