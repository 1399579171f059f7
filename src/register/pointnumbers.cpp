#include "register/pointnumbers.h"

#include "common/coordinatetext.h"
#include "common/globalprocedures.h"
#include "register/texttable.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

namespace {

const QString kExample = QStringLiteral("write point numbers and ranges such as 1-4, 9");

QString NumberList(const QList<int> &numbers)
{
    QStringList texts;
    for (int number : numbers)
        texts.append(QString::number(number));
    return texts.join(QStringLiteral(", "));
}

// A coordinate text as the station writes it, read in double precision: the fits should not carry the
// rounding of a single-precision number on top of the text's own three decimals.
std::optional<double> ReadCoordinate(const QString &text)
{
    if (!ReadDecimal(text))
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(TrimControls(text), &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<int> ReadNumber(QStringView text)
{
    if (text.isEmpty() || text.size() > 6)
        return std::nullopt;
    for (QChar c : text)
        if (!c.isDigit() || c.unicode() > 127)
            return std::nullopt;
    const int number = text.toInt();
    return number >= 1 ? std::optional<int>(number) : std::nullopt;
}

} // namespace

std::optional<QList<int>> TPointNumbers::Read(QStringView text, QString *problem)
{
    const auto refuse = [&](const QString &why) -> std::optional<QList<int>> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    // Blanks around a "-" belong to the range: "1 - 4" is 1-4.
    static const QRegularExpression rangeBlanks(QStringLiteral("\\s*-\\s*"));
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    QString cleaned = text.toString();
    cleaned.replace(rangeBlanks, QStringLiteral("-"));
    const QStringList items = cleaned.split(separators, Qt::SkipEmptyParts);
    if (items.isEmpty())
        return refuse(QStringLiteral("No point numbers given: ") + kExample + QLatin1Char('.'));

    QList<int> numbers;
    QSet<int> seen;
    for (const QString &item : items) {
        const qsizetype dash = item.indexOf(QLatin1Char('-'));
        const auto first = ReadNumber(dash < 0 ? QStringView(item) : QStringView(item).left(dash));
        const auto last = dash < 0 ? first : ReadNumber(QStringView(item).mid(dash + 1));
        if (!first || !last)
            return refuse(QStringLiteral("\"%1\" is no point number or range: %2.").arg(item, kExample));
        if (*last < *first)
            return refuse(QStringLiteral("The range \"%1\" runs downwards: write it as %2-%3.")
                              .arg(item)
                              .arg(*last)
                              .arg(*first));
        // Counted before the loop, so that "1-999999" is refused at once.
        if (*last - *first + 1 > MaxCount)
            return refuse(QStringLiteral("More than %1 points named.").arg(MaxCount));
        for (int number = *first; number <= *last; ++number) {
            if (seen.contains(number))
                continue;
            seen.insert(number);
            numbers.append(number);
            if (numbers.size() > MaxCount)
                return refuse(QStringLiteral("More than %1 points named.").arg(MaxCount));
        }
    }
    return numbers;
}

QString TPointNumbers::Text(const QList<int> &numbers)
{
    QStringList parts;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype end = i;
        while (end + 1 < numbers.size() && numbers[end + 1] == numbers[end] + 1)
            ++end;
        // Two neighbours read better as "3, 4" than as "3-4".
        if (end - i >= 2) {
            parts.append(QStringLiteral("%1-%2").arg(numbers[i]).arg(numbers[end]));
        } else {
            for (qsizetype k = i; k <= end; ++k)
                parts.append(QString::number(numbers[k]));
        }
        i = end + 1;
    }
    return parts.join(QStringLiteral(", "));
}

QString TPointNumbers::TFound::Problem() const
{
    QStringList parts;
    if (missing.size() == 1)
        parts.append(QStringLiteral("Point %1 is not in the point table.").arg(missing.first()));
    else if (!missing.isEmpty())
        parts.append(QStringLiteral("Points %1 are not in the point table.").arg(NumberList(missing)));
    if (unreadable.size() == 1)
        parts.append(QStringLiteral("The coordinates of point %1 are not numbers.").arg(unreadable.first()));
    else if (!unreadable.isEmpty())
        parts.append(
            QStringLiteral("The coordinates of points %1 are not numbers.").arg(NumberList(unreadable)));
    return parts.join(QLatin1Char(' '));
}

TPointNumbers::TFound TPointNumbers::Find(const TTextTable &points, const QList<int> &numbers)
{
    // The table is searched once, not once per number: a list may name every row.
    QHash<QString, int> rows;
    for (int row = 1; row <= points.LastUsedRow(); ++row) {
        const QString number = points.Cell(0, row);
        if (!number.isEmpty() && !rows.contains(number))
            rows.insert(number, row);
    }
    TFound found;
    for (int number : numbers) {
        const auto at = rows.constFind(QString::number(number));
        if (at == rows.constEnd()) {
            found.missing.append(number);
            continue;
        }
        const auto x = ReadCoordinate(points.Cell(1, *at));
        const auto y = ReadCoordinate(points.Cell(2, *at));
        const auto z = ReadCoordinate(points.Cell(3, *at));
        if (!x || !y || !z) {
            found.unreadable.append(number);
            continue;
        }
        found.points.emplace_back(*x, *y, *z);
    }
    return found;
}
