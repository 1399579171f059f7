#include "app/qtoperatordialogs.h"

#include "devicelink/selectportdialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

const QString kCaption = QStringLiteral("QintarSoft");

// A carriage return in the station's texts is a line break.
QString BoxText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::optional<QString> Chosen(const QString &fileName)
{
    if (fileName.isEmpty())
        return std::nullopt;
    return fileName;
}

} // namespace

TQtOperatorDialogs::TQtOperatorDialogs(QWidget *parent) : m_parent(parent) {}

void TQtOperatorDialogs::ShowMessage(const QString &text)
{
    QMessageBox::information(m_parent, kCaption, BoxText(text));
}

void TQtOperatorDialogs::ShowError(const QString &text)
{
    QMessageBox::critical(m_parent, kCaption, BoxText(text));
}

bool TQtOperatorDialogs::AskYesNo(const QString &text, TStyle style)
{
    QMessageBox box(IconOf(style), kCaption, BoxText(text), QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

TOperatorDialogs::TAnswer TQtOperatorDialogs::AskYesNoCancel(const QString &text, TStyle style)
{
    QMessageBox box(IconOf(style), kCaption, BoxText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::No:
        return TAnswer::No;
    default:
        return TAnswer::Cancel;
    }
}

QMessageBox::Icon TQtOperatorDialogs::IconOf(TStyle style)
{
    return style == TStyle::Warning ? QMessageBox::Warning : QMessageBox::Information;
}

std::optional<QString> TQtOperatorDialogs::OpenFileName(const QString &title, const QString &folder,
                                                        const QString &filter)
{
    return Chosen(QFileDialog::getOpenFileName(m_parent, title, folder, QtFilter(filter)));
}

std::optional<QString> TQtOperatorDialogs::SaveFileName(const QString &title, const QString &folder,
                                                        const QString &filter)
{
    return Chosen(QFileDialog::getSaveFileName(m_parent, title, folder, QtFilter(filter)));
}

std::optional<TOperatorDialogs::TSaveChoice> TQtOperatorDialogs::SaveFileChoice(const QString &title,
                                                                                const QString &proposedFile,
                                                                                const QStringList &filters,
                                                                                qsizetype initialFilter)
{
    QFileDialog dialog(m_parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    const QString initial = filters.value(initialFilter);
    dialog.selectNameFilter(initial);
    dialog.setDefaultSuffix(FilterSuffix(initial));
    const QFileInfo proposed(proposedFile);
    dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &filter) { dialog.setDefaultSuffix(FilterSuffix(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    return TSaveChoice{dialog.selectedFiles().constFirst(), chosen < 0 ? initialFilter : chosen};
}

QString TQtOperatorDialogs::FilterSuffix(const QString &filter)
{
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\s*\\*\\.([A-Za-z0-9_]+)[\\s)]"));
    const QRegularExpressionMatch match = firstPattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

std::optional<TPortChoice> TQtOperatorDialogs::ChoosePort(const TPortOffer &offer)
{
    return TSelectPortDialog::Choose(offer, m_parent);
}

void TQtOperatorDialogs::PlaySound(const QString &fileName)
{
    m_sounds.Play(fileName);
}

void TQtOperatorDialogs::Beep()
{
    QApplication::beep();
}

Qt::CaseSensitivity TQtOperatorDialogs::PlatformFileNames()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

QString TQtOperatorDialogs::QtFilter(const QString &filter, Qt::CaseSensitivity fileNames)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    static const QRegularExpression ownPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));

    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(ownPatterns);
        description = description.trimmed();
        QStringList patterns;
        const QString given = i + 1 < parts.size() ? parts[i + 1] : QStringLiteral("*");
        for (const QString &pattern : given.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            if (trimmed.isEmpty())
                continue;
            patterns << trimmed;
            if (fileNames == Qt::CaseSensitive)
                patterns << trimmed.toLower() << trimmed.toUpper();
        }
        patterns.removeDuplicates();
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        entries << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return entries.join(QLatin1String(";;"));
}
