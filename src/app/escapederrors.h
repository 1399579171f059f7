#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class TOperatorDialogs;

// Errors that escape a serial notification or a timer tick (a fault of a handler, not of the device)
// reach the operator through the error box: each distinct text once, never a box on top of an open
// one, and never more than kMostShown texts in a run. Errors that come while a box is open are shown
// together in one box after it.
class TEscapedErrors
{
public:
    static constexpr int kMostShown = 5;

    explicit TEscapedErrors(TOperatorDialogs &dialogs) : m_dialogs(dialogs) {}

    void Report(const QString &text);

private:
    TOperatorDialogs &m_dialogs;
    QSet<QString> m_seen;
    QStringList m_pending;
    bool m_showing = false;
};
