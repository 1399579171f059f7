#pragma once

#include "common/operatordialogs.h"

class QWidget;

// Message boxes and file dialogs on plain Qt widgets, without sounds beyond the alert beep.
class TBasicDialogs : public TOperatorDialogs
{
public:
    explicit TBasicDialogs(QWidget *parent = nullptr) : m_parent(parent) {}

    void ShowMessage(const QString &text) override;
    void ShowError(const QString &text) override;
    bool AskYesNo(const QString &text, TStyle style) override;
    std::optional<QString> OpenFileName(const QString &title, const QString &folder,
                                        const QString &filter) override;
    std::optional<QString> SaveFileName(const QString &title, const QString &folder,
                                        const QString &filter) override;
    void PlaySound(const QString &fileName) override;
    void Beep() override;

private:
    QWidget *m_parent;
};
