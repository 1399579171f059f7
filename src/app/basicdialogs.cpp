#include "app/basicdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QString BoxText(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace

void TBasicDialogs::ShowMessage(const QString &text)
{
    QMessageBox::information(m_parent, QApplication::applicationDisplayName(), BoxText(text));
}

void TBasicDialogs::ShowError(const QString &text)
{
    QMessageBox::critical(m_parent, QApplication::applicationDisplayName(), BoxText(text));
}

bool TBasicDialogs::AskYesNo(const QString &text, TStyle style)
{
    const auto answer = style == TStyle::Warning
                            ? QMessageBox::warning(m_parent, QApplication::applicationDisplayName(),
                                                   BoxText(text), QMessageBox::Yes | QMessageBox::No)
                            : QMessageBox::information(m_parent, QApplication::applicationDisplayName(),
                                                       BoxText(text), QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes;
}

std::optional<QString> TBasicDialogs::OpenFileName(const QString &title, const QString &folder,
                                                   const QString &filter)
{
    const QString name = QFileDialog::getOpenFileName(m_parent, title, folder, filter);
    return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

std::optional<QString> TBasicDialogs::SaveFileName(const QString &title, const QString &folder,
                                                   const QString &filter)
{
    const QString name = QFileDialog::getSaveFileName(m_parent, title, folder, filter);
    return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

void TBasicDialogs::PlaySound(const QString &) {}

void TBasicDialogs::Beep()
{
    QApplication::beep();
}
