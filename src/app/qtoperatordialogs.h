#pragma once

#include "app/soundplayer.h"
#include "common/operatordialogs.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

// The operator's dialogs as the station shows them: message boxes captioned "QintarSoft", Yes/No
// questions, the file dialogs, the wave sounds (see TSoundPlayer) and the platform's alert beep.
class TQtOperatorDialogs : public TOperatorDialogs
{
public:
    explicit TQtOperatorDialogs(QWidget *parent = nullptr);

    // The window over which the boxes and dialogs open.
    void SetParentWidget(QWidget *parent) { m_parent = parent; }

    void ShowMessage(const QString &text) override;
    void ShowError(const QString &text) override;
    bool AskYesNo(const QString &text, TStyle style) override;
    TAnswer AskYesNoCancel(const QString &text, TStyle style) override;
    // The box's icon for a question's style: information or warning, never the question mark.
    static QMessageBox::Icon IconOf(TStyle style);
    // Both take the filter in Qt's form or in the station's "Description|*.ext" form (see QtFilter).
    std::optional<QString> OpenFileName(const QString &title, const QString &folder,
                                        const QString &filter) override;
    std::optional<QString> SaveFileName(const QString &title, const QString &folder,
                                        const QString &filter) override;
    // Qt's save dialog with the filters, the proposed file selected and the chosen filter's extension
    // added to a name typed without one.
    std::optional<TSaveChoice> SaveFileChoice(const QString &title, const QString &proposedFile,
                                              const QStringList &filters, qsizetype initialFilter) override;
    // The "Select Port" dialog with the links and devices offered.
    std::optional<TPortChoice> ChoosePort(const TPortOffer &offer) override;
    void PlaySound(const QString &fileName) override;
    void Beep() override;

    // The station's filter "Description|pattern;pattern|..." in Qt's form "Description (patterns);;...".
    // A description's own "(...)" is replaced by the patterns. Where file names are case-sensitive,
    // each pattern is offered in lower and upper case as well, so "Qintar Project Files (*.prj)|*.PRJ"
    // becomes "Qintar Project Files (*.PRJ *.prj)". A filter without '|' is taken to be in Qt's form
    // already and returned as it is.
    static QString QtFilter(const QString &filter, Qt::CaseSensitivity fileNames = PlatformFileNames());
    static Qt::CaseSensitivity PlatformFileNames();
    // The extension of a filter's first pattern without its dot ("csv" of "Table (*.csv *.txt)"), or
    // empty when the pattern names none.
    static QString FilterSuffix(const QString &filter);

private:
    QPointer<QWidget> m_parent;
    TSoundPlayer m_sounds;
};
