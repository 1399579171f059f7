#include "app/escapederrors.h"

#include "common/operatordialogs.h"

#include <QtDebug>

void TEscapedErrors::Report(const QString &text)
{
    if (m_seen.contains(text))
        return;
    if (m_seen.size() >= kMostShown) {
        qWarning("%s", qPrintable(text));
        return;
    }
    m_seen.insert(text);
    m_pending.append(text);
    // The box runs an event loop; what escapes meanwhile waits for it to close.
    if (m_showing)
        return;
    m_showing = true;
    while (!m_pending.isEmpty()) {
        const QString shown =
            QStringLiteral("The station met an error and goes on:\r") + m_pending.join(QLatin1Char('\r'));
        m_pending.clear();
        m_dialogs.ShowError(shown);
    }
    m_showing = false;
}
