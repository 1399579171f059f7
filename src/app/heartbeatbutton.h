#pragma once

#include <QPixmap>
#include <QPushButton>
#include <vector>

// The "On Line" button, whose caption colour flips at every reply of the device. Each of its few looks
// is drawn once into a picture that later paints only show: drawing the styled button anew at every
// poll cost the station more than the rest of a poll's painting.
class THeartbeatButton : public QPushButton
{
    Q_OBJECT

public:
    explicit THeartbeatButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct TLook
    {
        QByteArray key; // what the style draws from: state, text, colours, pixel ratio
        QPixmap picture;
    };

    std::vector<TLook> m_looks;
};
