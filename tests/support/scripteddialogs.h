#pragma once

#include "common/operatordialogs.h"

#include <QList>
#include <QStringList>
#include <deque>

// Stands in for the operator in tests: answers questions and file dialogs from queues given in
// advance and records everything that was shown or played, in order.
class TScriptedDialogs : public TOperatorDialogs
{
public:
    // Answers for the next questions, in order. A question with no answer left is answered No.
    std::deque<bool> Answers;
    // Answers for the next Yes/No/Cancel questions, in order; with none left the answer is Cancel.
    std::deque<TAnswer> ThreeWayAnswers;
    // Answers for the next file dialogs (open and save share the queue); std::nullopt cancels.
    // A dialog with no answer left is cancelled.
    std::deque<std::optional<QString>> FileNames;
    // Answers for the next "Select Port" dialogs; with none left the dialog is cancelled.
    std::deque<std::optional<TPortChoice>> PortChoices;
    // What each "Select Port" dialog offered.
    QList<TPortOffer> PortOffers;

    // Everything shown, as "message: ...", "error: ...", "question: ...", "open: <title>",
    // "save: <title>", "sound: <file>", "beep".
    QStringList Log;
    QStringList Messages;
    QStringList Errors;
    QStringList Questions;
    QList<TStyle> QuestionStyles;
    QStringList Sounds;
    QStringList FileDialogTitles;
    QStringList FileDialogFolders;
    QStringList FileDialogFilters;
    int Beeps = 0;

    void ShowMessage(const QString &text) override;
    void ShowError(const QString &text) override;
    bool AskYesNo(const QString &text, TStyle style) override;
    TAnswer AskYesNoCancel(const QString &text, TStyle style) override;
    std::optional<QString> OpenFileName(const QString &title, const QString &folder,
                                        const QString &filter) override;
    std::optional<QString> SaveFileName(const QString &title, const QString &folder,
                                        const QString &filter) override;
    std::optional<TPortChoice> ChoosePort(const TPortOffer &offer) override;
    void PlaySound(const QString &fileName) override;
    void Beep() override;

private:
    std::optional<QString> NextFileName(const QString &kind, const QString &title, const QString &folder,
                                        const QString &filter);
};
