#pragma once

#include <QLabel>
#include <QRawFont>

// A live readout, whose number changes at every poll. A number (digits, sign, point and blanks) is
// drawn straight from the font's glyphs, as a label would place them: laying the text out anew at every
// poll costs the station more than the rest of the readout together. Any other text, a frame, a margin
// or an indent, is painted by the label itself.
class TReadoutLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TReadoutLabel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // False when the text is not a plain number or the font lacks one of its characters.
    bool DrawNumber(QPainter &painter);

    QRawFont m_rawFont; // of font(), made at the first paint after a font change
};
