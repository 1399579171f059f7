#include "app/characteristicspanel.h"

#include "app/runchart.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QLineEdit *Edit(const char *name, const QString &tip, int width, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setToolTip(tip);
    if (width > 0)
        edit->setFixedWidth(width);
    return edit;
}

void AddLabelled(QHBoxLayout *row, const QString &caption, QWidget *field, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setBuddy(field);
    row->addWidget(label);
    row->addWidget(field);
}

} // namespace

TCharacteristicsPanel::TCharacteristicsPanel(QWidget *parent) : QGroupBox(tr("Characteristics"), parent)
{
    setObjectName(QStringLiteral("gbCharacteristics"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);

    auto *entry = new QHBoxLayout;
    entry->setSpacing(4);
    cbCharacteristic = new QComboBox(this);
    cbCharacteristic->setObjectName(QStringLiteral("cbCharacteristic"));
    cbCharacteristic->setToolTip(tr("What to tolerance on the feature selected in the features table"));
    cbCharacteristic->setMinimumContentsLength(14);
    AddLabelled(entry, tr("&Characteristic:"), cbCharacteristic, this);
    cbDatum = new QComboBox(this);
    cbDatum->setObjectName(QStringLiteral("cbDatum"));
    cbDatum->setToolTip(tr("The datum of a perpendicularity or a parallelism"));
    cbDatum->setMinimumContentsLength(5);
    AddLabelled(entry, tr("Datum:"), cbDatum, this);
    edNominal = Edit("edNominal", tr("The nominal; a true position's is the centre's X and Y (\"25 10\")"),
                     100, this);
    AddLabelled(entry, tr("Nominal:"), edNominal, this);
    edUpper = Edit("edUpper", tr("The upper tolerance, signed (20 +0.02/-0.01: 0.02)"), 60, this);
    AddLabelled(entry, tr("Upper:"), edUpper, this);
    edLower = Edit("edLower", tr("The lower tolerance, signed (20 +0.02/-0.01: -0.01; at the nominal: 0)"),
                   60, this);
    AddLabelled(entry, tr("Lower:"), edLower, this);
    btnAddCharacteristic = new QPushButton(tr("Add"), this);
    btnAddCharacteristic->setObjectName(QStringLiteral("btnAddCharacteristic"));
    btnAddCharacteristic->setAutoDefault(false);
    btnAddCharacteristic->setToolTip(tr("Add the characteristic to the table"));
    entry->addWidget(btnAddCharacteristic);
    entry->addStretch();
    layout->addLayout(entry);

    sgCharacteristics = new QTableView(this);
    sgCharacteristics->setObjectName(QStringLiteral("sgCharacteristics"));
    sgCharacteristics->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgCharacteristics->setSelectionMode(QAbstractItemView::ExtendedSelection);
    sgCharacteristics->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgCharacteristics->verticalHeader()->hide();
    sgCharacteristics->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgCharacteristics->verticalHeader()->setDefaultSectionSize(17);
    sgCharacteristics->setMinimumHeight(100);
    sgCharacteristics->setToolTip(
        tr("The characteristics with their results; Delete deletes the selected ones"));
    layout->addWidget(sgCharacteristics, 1);

    stCharacteristicsSummary = new QLabel(this);
    stCharacteristicsSummary->setObjectName(QStringLiteral("stCharacteristicsSummary"));
    layout->addWidget(stCharacteristicsSummary);

    // The selected characteristic over the parts kept: its run chart, and beside it its statistics.
    auto *batch = new QHBoxLayout;
    batch->setSpacing(6);
    pnRunChart = new TRunChart(this);
    batch->addWidget(pnRunChart, 1);
    auto *figures = new QVBoxLayout;
    figures->setSpacing(4);
    stBatchStatistics = new QLabel(this);
    stBatchStatistics->setObjectName(QStringLiteral("stBatchStatistics"));
    stBatchStatistics->setToolTip(
        tr("The selected characteristic over the parts of the results history: the number of parts with a "
           "value, their mean, standard deviation, minimum and maximum, and Cp and Cpk (unreliable below 25 "
           "parts)"));
    stBatchStatistics->setWordWrap(true);
    stBatchStatistics->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    stBatchStatistics->setTextInteractionFlags(Qt::TextSelectableByMouse);
    stBatchStatistics->setFixedWidth(250);
    figures->addWidget(stBatchStatistics, 1);
    btnBatchReport = new QPushButton(tr("Batch report"), this);
    btnBatchReport->setObjectName(QStringLiteral("btnBatchReport"));
    btnBatchReport->setAutoDefault(false);
    btnBatchReport->setToolTip(tr("Write the batch report as PDF into the Data folder: every characteristic "
                                  "over the parts of the results history, with its statistics and run chart "
                                  "(Ctrl+B)"));
    figures->addWidget(btnBatchReport, 0, Qt::AlignLeft);
    batch->addLayout(figures);
    layout->addLayout(batch);

    auto *part = new QHBoxLayout;
    part->setSpacing(4);
    edPartName = Edit("edPartName", tr("The part's name, for the report"), 0, this);
    AddLabelled(part, tr("Part:"), edPartName, this);
    edPartSerial = Edit("edPartSerial", tr("The part's serial number"), 110, this);
    AddLabelled(part, tr("Serial:"), edPartSerial, this);
    edOperator = Edit("edOperator", tr("Who measures the part"), 130, this);
    AddLabelled(part, tr("Operator:"), edOperator, this);
    btnNextPart = new QPushButton(tr("Next part"), this);
    btnNextPart->setObjectName(QStringLiteral("btnNextPart"));
    btnNextPart->setAutoDefault(false);
    btnNextPart->setToolTip(
        tr("Keep this part's results in the history and measure the next part by the same "
           "features"));
    part->addWidget(btnNextPart);
    layout->addLayout(part);

    auto *guide = new QHBoxLayout;
    guide->setSpacing(4);
    stGuide = new QLabel(this);
    stGuide->setObjectName(QStringLiteral("stGuide"));
    stGuide->setToolTip(tr("The feature to measure next, and which of its points"));
    QFont bold = stGuide->font();
    bold.setBold(true);
    stGuide->setFont(bold);
    guide->addWidget(stGuide, 1);
    btnSkipFeature = new QPushButton(tr("Skip"), this);
    btnSkipFeature->setObjectName(QStringLiteral("btnSkipFeature"));
    btnSkipFeature->setAutoDefault(false);
    btnSkipFeature->setToolTip(tr("Leave the feature in hand unmeasured and go on to the next"));
    btnRedoFeature = new QPushButton(tr("Redo"), this);
    btnRedoFeature->setObjectName(QStringLiteral("btnRedoFeature"));
    btnRedoFeature->setAutoDefault(false);
    btnRedoFeature->setToolTip(tr("Take the points of the feature in hand again"));
    guide->addWidget(btnSkipFeature);
    guide->addWidget(btnRedoFeature);
    layout->addLayout(guide);
}
