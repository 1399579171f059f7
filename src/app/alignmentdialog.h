#pragma once

#include "register/alignmentchoices.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class TFeatureRegister;
class TOperatorDialogs;

// "Align": the features that make a part alignment, a list a role (cbAlignPrimary becomes +Z,
// cbAlignSecondary projected into the primary plane becomes +X, cbAlignOrigin the origin), filled from the
// features table when the dialog opens, with what fixes each degree of freedom shown as the lists change.
// OK (btnAlignOk) adds the alignment's row and makes it active; a refusal is told and the dialog stays
// open for another choice.
class TAlignmentDialog : public QDialog
{
    Q_OBJECT

public:
    TAlignmentDialog(TFeatureRegister &features, TOperatorDialogs &dialogs, QWidget *parent);

    const TAlignmentChoices &Choices() const { return m_choices; }
    // After OK: the alignment's row of the features table and what was done.
    int AddedRow() const { return m_addedRow; }
    QString AddedMessage() const { return m_addedMessage; }

    QComboBox *cbAlignPrimary = nullptr;
    QComboBox *cbAlignSecondary = nullptr;
    QComboBox *cbAlignOrigin = nullptr;
    QLabel *stAlignFixedBy = nullptr;
    QPushButton *btnAlignOk = nullptr;
    QPushButton *btnAlignCancel = nullptr;

private:
    void PrimaryChosen();
    void ShowFixedBy();
    void Align();

    TFeatureRegister &m_features;
    TOperatorDialogs &m_dialogs;
    TAlignmentChoices m_choices;
    // The origins cbAlignOrigin offers, for the primary chosen.
    QList<TAlignmentChoices::TChoice> m_origins;
    int m_addedRow = 0;
    QString m_addedMessage;
};
