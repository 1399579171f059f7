#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class TLargeDigitLabel;

// The readout for the machine: X, Y and Z in digits that fill the window (about 5 cm high on a
// 24-inch screen when maximised, readable across the bench), their unit, and below them the link's
// state in plain words, the last recorded point's number and the feature in progress. A window of its
// own that may go to another screen; its place, size and maximised state are kept in a settings file
// of its own and taken again when it next opens. Esc closes it.
class TLargeReadoutForm : public QWidget
{
    Q_OBJECT

public:
    // settingsFile keeps the place; none keeps nothing.
    TLargeReadoutForm(const QString &settingsFile, QWidget *parent = nullptr);
    ~TLargeReadoutForm() override;

    TLargeDigitLabel *stLargeX = nullptr;
    TLargeDigitLabel *stLargeY = nullptr;
    TLargeDigitLabel *stLargeZ = nullptr;
    QLabel *stLargeLink = nullptr;
    QLabel *stLargePoint = nullptr;
    QLabel *stLargeFeature = nullptr;

    void ShowPosition(const QString &x, const QString &y, const QString &z);
    // A stale position (the link is in trouble) is shown grey, as the station's readouts are.
    void SetFresh(bool fresh);
    void SetLinkState(const QString &text, bool trouble);
    // The number of the last recorded point; 0 for none.
    void SetLastPoint(int number);
    // "Circle: 3 points (needs 3)"; empty when no feature is being measured.
    void SetFeatureInProgress(const QString &text);

    // Opens the window where it was last, or beside the station the first time.
    void Open();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void SavePlace() const;
    void LayOut();

    QString m_settingsFile;
    QLabel *m_axes[3] = {};
    QLabel *m_units[3] = {};
    bool m_placed = false;
    bool m_fresh = true;
};
