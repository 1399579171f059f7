#pragma once

#include <QPointer>
#include <QString>

class QLabel;

// The strip below the views in plain words: trouble with the link (in red, until the link is healthy
// again), else the latest event the operator should see (a pick, a save, an ignored point) followed by
// the port in use while on line. The strip shows as much as fits its width, elided; its tooltip holds
// the whole text and the technical detail ("R: No Reply").
class TStatusLine
{
public:
    explicit TStatusLine(QLabel *strip);

    void ShowMessage(const QString &text, const QString &detail = {});
    void ShowTrouble(const QString &text, const QString &detail = {});
    void ClearTrouble();
    // "COM5 - /dev/ttyUSB0" while on line; empty off line.
    void SetPortInUse(const QString &text);

    bool IsTrouble() const { return !m_trouble.isEmpty(); }
    QString Text() const;
    QString ToolTip() const;

private:
    void Refresh();

    QPointer<QLabel> m_strip;
    QString m_message;
    QString m_messageDetail;
    QString m_trouble;
    QString m_troubleDetail;
    QString m_portInUse;
};
