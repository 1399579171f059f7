#pragma once

#include "common/operatordialogs.h"

// No boxes and no sounds in a benchmark: every question is answered yes but "Save current data?", an
// error goes to the log, and the file to open is ProjectFile.
class TSilentDialogs : public TOperatorDialogs
{
public:
    QString ProjectFile;

    void ShowMessage(const QString &) override {}
    void ShowError(const QString &text) override { qWarning("error: %s", qPrintable(text)); }
    bool AskYesNo(const QString &question, TStyle) override
    {
        return !question.startsWith(QLatin1String("Save current data"));
    }
    std::optional<QString> OpenFileName(const QString &, const QString &, const QString &) override
    {
        if (ProjectFile.isEmpty())
            return {};
        return ProjectFile;
    }
    std::optional<QString> SaveFileName(const QString &, const QString &, const QString &) override
    {
        return {};
    }
    void PlaySound(const QString &) override {}
    void Beep() override {}
};
