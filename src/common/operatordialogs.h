#pragma once

#include "common/portoffer.h"

#include <QString>
#include <QStringList>
#include <optional>

// Everything the station asks of the operator or plays to them goes through this interface: message
// boxes, Yes/No questions, file dialogs and sounds. The window uses the real one (message boxes, file
// dialogs, wave sounds); a test hands in a scripted stand-in that answers and records.
class TOperatorDialogs
{
public:
    enum class TStyle
    {
        Information,
        Warning,
    };
    enum class TAnswer
    {
        Yes,
        No,
        Cancel,
    };

    virtual ~TOperatorDialogs() = default;

    // A modal box with an OK button. A carriage return in the text is a line break.
    virtual void ShowMessage(const QString &text) = 0;
    // The box that reports an error which ended an operation (a file that cannot be written, a port
    // that cannot be opened).
    virtual void ShowError(const QString &text) = 0;
    // A modal question with Yes and No; true for Yes.
    virtual bool AskYesNo(const QString &text, TStyle style) = 0;
    // A modal question with Yes, No and Cancel; closing the box is Cancel. Where a stand-in has no
    // third answer it asks AskYesNo instead.
    virtual TAnswer AskYesNoCancel(const QString &text, TStyle style)
    {
        return AskYesNo(text, style) ? TAnswer::Yes : TAnswer::No;
    }
    // File dialogs; no value when the operator cancels. filter is in Qt's form ("Name (*.a *.b)").
    virtual std::optional<QString> OpenFileName(const QString &title, const QString &folder,
                                                const QString &filter) = 0;
    virtual std::optional<QString> SaveFileName(const QString &title, const QString &folder,
                                                const QString &filter) = 0;
    // A save dialog that proposes a file (folder and name) and offers several filters in Qt's form,
    // starting on filters[initialFilter]. The name comes back with the index of the filter the operator
    // left chosen; a name typed without an extension gets the chosen filter's. Stand-ins need not
    // override it: by default it asks SaveFileName with the filters joined and reports the initial one.
    struct TSaveChoice
    {
        QString fileName;
        qsizetype filter = 0;
    };
    virtual std::optional<TSaveChoice> SaveFileChoice(const QString &title, const QString &proposedFile,
                                                      const QStringList &filters, qsizetype initialFilter)
    {
        const auto fileName = SaveFileName(title, proposedFile, filters.join(QLatin1String(";;")));
        if (!fileName)
            return std::nullopt;
        return TSaveChoice{*fileName, initialFilter};
    }
    // The "Select Port" dialog: the operator picks an existing COMn link or a device to link; no value
    // when cancelled. A stand-in without a port dialog cancels.
    virtual std::optional<TPortChoice> ChoosePort(const TPortOffer &offer)
    {
        (void)offer;
        return std::nullopt;
    }
    // Plays a wave file by name and returns when it has finished (never blocking for longer than the
    // sound lasts, and not at all where there is no sound).
    virtual void PlaySound(const QString &fileName) = 0;
    // The platform's alert beep, not waited for.
    virtual void Beep() = 0;
};
