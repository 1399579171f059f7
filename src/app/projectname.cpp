#include "app/projectname.h"

#include "files/codepage1252.h"

#include <algorithm>

namespace {

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20 || c.category() == QChar::Other_Control;
}

} // namespace

bool HasProjectName(const QString &name)
{
    for (QChar c : name)
        if (!IsBlankOrControl(c))
            return true;
    return false;
}

QString DefaultProjectName(const QDateTime &when, const QLocale &locale)
{
    const QDate date = when.date();
    const QTime time = when.time();
    QString month;
    for (QChar c : locale.monthName(date.month(), QLocale::ShortFormat))
        if (c.isLetter())
            month.append(c);
    // The name goes into the project file and its file name: a month without Latin letters (Chinese,
    // Greek, Russian...) or with letters the files' code page lacks is written the English way.
    const bool usable = !month.isEmpty() && std::all_of(month.cbegin(), month.cend(), [](QChar c) {
        return c.script() == QChar::Script_Latin && TCodePage1252::ByteOf(c.unicode()) >= 0;
    });
    if (!usable)
        month = QLocale::c().monthName(date.month(), QLocale::ShortFormat);
    return QStringLiteral("%1%2%3_%4%5%6")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(month)
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(time.hour(), 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}
