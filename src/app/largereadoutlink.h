#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QPushButton;
class QWidget;
class TLargeReadoutForm;
struct TLinkStatus;

// What the large readout shows and how it opens: the visible button "Large readout" under the
// readouts, the window's Large readout action (its shortcut and the views' menus) and a double-click
// on a readout. While it is open it takes the readouts' texts after each position reply, the link's
// state, the last recorded point's number and the feature in progress; closed, it costs nothing.
class TLargeReadoutLink : public QObject
{
    Q_OBJECT

public:
    // The button is placed on window; readouts are stReadX, stReadY and stReadZ; pointCount gives the
    // number of the last recorded point. The place of the window is kept in settingsFile.
    TLargeReadoutLink(QWidget &window, const std::array<QLabel *, 3> &readouts,
                      std::function<int()> pointCount, const QString &settingsFile);

    // The place of the large readout's settings beside the station's settings file.
    static QString DefaultSettingsFile();

    void OpenOn(QAction *action);
    void Open();
    TLargeReadoutForm *Form() const { return m_form; }

    // A position reply has been shown in the readouts.
    void PositionShown();
    void LinkStatusShown(const TLinkStatus &status);
    void PointsChanged();
    void SetFeatureInProgress(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool IsOpen() const;

    QWidget &m_window;
    std::array<QLabel *, 3> m_readouts;
    std::function<int()> m_pointCount;
    TLargeReadoutForm *m_form = nullptr;
    QPushButton *m_button = nullptr;
    QString m_linkText;
    bool m_linkTrouble = false;
    bool m_fresh = true;
    QString m_feature;
};
