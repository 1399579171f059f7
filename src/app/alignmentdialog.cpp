#include "app/alignmentdialog.h"

#include "common/operatordialogs.h"
#include "register/featureregister.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

namespace {

QComboBox *List(const char *name, const QList<TAlignmentChoices::TChoice> &choices, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->setMinimumContentsLength(12);
    for (const auto &choice : choices)
        list->addItem(choice.text);
    return list;
}

} // namespace

TAlignmentDialog::TAlignmentDialog(TFeatureRegister &features, TOperatorDialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_features(features), m_dialogs(dialogs), m_choices(features)
{
    setObjectName(QStringLiteral("AlignmentDialog"));
    setWindowTitle(tr("Align"));

    auto *layout = new QVBoxLayout(this);
    auto *roles = new QFormLayout;
    cbAlignPrimary = List("cbAlignPrimary", m_choices.Primaries(), this);
    cbAlignPrimary->setToolTip(tr("A plane, or a line's, cylinder's or cone's axis: the part's +Z"));
    cbAlignSecondary = List("cbAlignSecondary", m_choices.Secondaries(), this);
    cbAlignSecondary->setToolTip(
        tr("A line or an axis, or the line from one centre to another (the first %1 centres of the table), "
           "turned into the primary plane: the part's +X")
            .arg(TAlignmentChoices::kPairedCentres));
    cbAlignOrigin = List("cbAlignOrigin", {}, this);
    cbAlignOrigin->setToolTip(tr("A point or a centre: the part's origin; \"(Z: PL1)\" takes its Z from the "
                                 "primary plane"));
    roles->addRow(tr("Primary (+Z):"), cbAlignPrimary);
    roles->addRow(tr("Secondary (+X):"), cbAlignSecondary);
    roles->addRow(tr("Origin:"), cbAlignOrigin);
    stAlignFixedBy = new QLabel(this);
    stAlignFixedBy->setObjectName(QStringLiteral("stAlignFixedBy"));
    stAlignFixedBy->setToolTip(tr("What fixes the part's tilt (Z), its turn (X) and its origin"));
    stAlignFixedBy->setTextInteractionFlags(Qt::TextSelectableByMouse);
    roles->addRow(tr("Fixed by:"), stAlignFixedBy);
    layout->addLayout(roles);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btnAlignOk = new QPushButton(tr("OK"), this);
    btnAlignOk->setObjectName(QStringLiteral("btnAlignOk"));
    btnAlignOk->setDefault(true);
    btnAlignOk->setToolTip(tr("Add the alignment to the features table and make it the active one"));
    btnAlignCancel = new QPushButton(tr("Cancel"), this);
    btnAlignCancel->setObjectName(QStringLiteral("btnAlignCancel"));
    btnAlignCancel->setAutoDefault(false);
    buttons->addWidget(btnAlignOk);
    buttons->addWidget(btnAlignCancel);
    layout->addLayout(buttons);

    connect(cbAlignPrimary, &QComboBox::currentIndexChanged, this, &TAlignmentDialog::PrimaryChosen);
    connect(cbAlignSecondary, &QComboBox::currentIndexChanged, this, &TAlignmentDialog::ShowFixedBy);
    connect(cbAlignOrigin, &QComboBox::currentIndexChanged, this, &TAlignmentDialog::ShowFixedBy);
    connect(btnAlignOk, &QPushButton::clicked, this, &TAlignmentDialog::Align);
    connect(btnAlignCancel, &QPushButton::clicked, this, &QDialog::reject);
    cbAlignSecondary->setCurrentIndex(m_choices.FirstSecondary(cbAlignPrimary->currentIndex()));
    PrimaryChosen();
}

void TAlignmentDialog::PrimaryChosen()
{
    // The origins taking their Z from the primary come and go with a plane primary; the chosen origin
    // stays chosen where it is still offered, else its own centre.
    const int before = cbAlignOrigin->currentIndex();
    const auto chosen = before >= 0 && before < m_origins.size()
                            ? std::optional<TAlignmentChoices::TChoice>(m_origins[before])
                            : std::nullopt;
    m_origins = m_choices.Origins(cbAlignPrimary->currentIndex());
    int keep = m_origins.isEmpty() ? -1 : 0;
    if (chosen) {
        const auto find = [this, &chosen](bool zFromPrimary) {
            for (int i = 0; i < m_origins.size(); ++i)
                if (m_origins[i].row == chosen->row && m_origins[i].zFromPrimary == zFromPrimary)
                    return i;
            return -1;
        };
        const int same = find(chosen->zFromPrimary);
        const int found = same >= 0 ? same : find(false);
        if (found >= 0)
            keep = found;
    }
    {
        const QSignalBlocker blocker(cbAlignOrigin);
        cbAlignOrigin->clear();
        for (const auto &choice : m_origins)
            cbAlignOrigin->addItem(choice.text);
        cbAlignOrigin->setCurrentIndex(keep);
    }
    ShowFixedBy();
}

void TAlignmentDialog::ShowFixedBy()
{
    const QString text = m_choices.FixedByText(
        cbAlignPrimary->currentIndex(), cbAlignSecondary->currentIndex(), cbAlignOrigin->currentIndex());
    stAlignFixedBy->setText(text.isEmpty() ? tr("Choose a feature for each role") : text);
    btnAlignOk->setEnabled(!text.isEmpty());
}

void TAlignmentDialog::Align()
{
    const auto roles = m_choices.Roles(cbAlignPrimary->currentIndex(), cbAlignSecondary->currentIndex(),
                                       cbAlignOrigin->currentIndex());
    if (!roles) {
        m_dialogs.ShowMessage(tr("Choose a primary, a secondary and an origin for the alignment."));
        return;
    }
    const TPartAlignments::TAdded added = m_features.Alignments().Align(*roles);
    if (added.row == 0) {
        m_dialogs.ShowMessage(added.message);
        return;
    }
    m_addedRow = added.row;
    m_addedMessage = added.message;
    accept();
}
