#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// True when the name, with leading and trailing blanks and control characters removed, is not empty.
bool HasProjectName(const QString &name);

// The name given to a project that has none: "yyyymmmdd_hhnnss" from the local date and time, the month
// as the locale abbreviates it (letters only, so "Dez." becomes "Dez"), for example 2024Mar05_142301.
// Where that abbreviation holds no Latin letters or letters outside the files' code page, the English
// one is used.
QString DefaultProjectName(const QDateTime &when, const QLocale &locale);
