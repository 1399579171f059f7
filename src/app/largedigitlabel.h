#pragma once

#include <QHash>
#include <QLabel>
#include <QPixmap>

// A readout in digits a hand high. At such sizes the painter no longer takes glyphs from its cache and
// fills each one's outline anew; so each character is drawn once into a picture of its own (for the
// font, colour and pixel ratio in force) and a changing number only puts the pictures side by side,
// right-aligned and centred upright. The text stays the label's, for automation to read.
class TLargeDigitLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TLargeDigitLabel(QWidget *parent = nullptr);

    // How many times a character's picture was drawn (once per character and look).
    int GlyphPictureCount() const { return m_glyphPictures; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    const QPixmap &GlyphPicture(QChar c, qreal ratio);

    QHash<QChar, QPixmap> m_glyphs;
    QString m_look;
    int m_glyphPictures = 0;
};
