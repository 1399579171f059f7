#include "scripteddialogs.h"

void TScriptedDialogs::ShowMessage(const QString &text)
{
    Messages.append(text);
    Log.append(QStringLiteral("message: ") + text);
}

void TScriptedDialogs::ShowError(const QString &text)
{
    Errors.append(text);
    Log.append(QStringLiteral("error: ") + text);
}

bool TScriptedDialogs::AskYesNo(const QString &text, TStyle style)
{
    Questions.append(text);
    QuestionStyles.append(style);
    Log.append(QStringLiteral("question: ") + text);
    if (Answers.empty())
        return false;
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
}

TOperatorDialogs::TAnswer TScriptedDialogs::AskYesNoCancel(const QString &text, TStyle style)
{
    Questions.append(text);
    QuestionStyles.append(style);
    Log.append(QStringLiteral("question: ") + text + QStringLiteral(" (yes/no/cancel)"));
    if (ThreeWayAnswers.empty())
        return TAnswer::Cancel;
    const TAnswer answer = ThreeWayAnswers.front();
    ThreeWayAnswers.pop_front();
    return answer;
}

std::optional<QString> TScriptedDialogs::OpenFileName(const QString &title, const QString &folder,
                                                      const QString &filter)
{
    return NextFileName(QStringLiteral("open: "), title, folder, filter);
}

std::optional<QString> TScriptedDialogs::SaveFileName(const QString &title, const QString &folder,
                                                      const QString &filter)
{
    return NextFileName(QStringLiteral("save: "), title, folder, filter);
}

std::optional<QString> TScriptedDialogs::NextFileName(const QString &kind, const QString &title,
                                                      const QString &folder, const QString &filter)
{
    FileDialogTitles.append(title);
    FileDialogFolders.append(folder);
    FileDialogFilters.append(filter);
    Log.append(kind + title);
    if (FileNames.empty() || !FileNames.front()) {
        if (!FileNames.empty())
            FileNames.pop_front();
        return std::nullopt;
    }
    const QString name = *FileNames.front();
    FileNames.pop_front();
    return name;
}

std::optional<TPortChoice> TScriptedDialogs::ChoosePort(const TPortOffer &offer)
{
    PortOffers.append(offer);
    Log.append(QStringLiteral("choose port"));
    if (PortChoices.empty())
        return std::nullopt;
    const std::optional<TPortChoice> choice = PortChoices.front();
    PortChoices.pop_front();
    return choice;
}

void TScriptedDialogs::PlaySound(const QString &fileName)
{
    Sounds.append(fileName);
    Log.append(QStringLiteral("sound: ") + fileName);
}

void TScriptedDialogs::Beep()
{
    ++Beeps;
    Log.append(QStringLiteral("beep"));
}
