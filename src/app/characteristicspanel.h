#pragma once

#include <QGroupBox>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TRunChart;

// The characteristics part of the features window: a characteristic's entry (what, its datum, nominal,
// upper and lower tolerance) for the selected feature, the characteristics table, its summary, and the
// part's fields, the selected characteristic's run chart and statistics over the results history with
// the batch report's button. It only holds the controls; TStationQuality wires them.
class TCharacteristicsPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit TCharacteristicsPanel(QWidget *parent);

    QComboBox *cbCharacteristic = nullptr;
    QComboBox *cbDatum = nullptr;
    QLineEdit *edNominal = nullptr;
    QLineEdit *edUpper = nullptr;
    QLineEdit *edLower = nullptr;
    QPushButton *btnAddCharacteristic = nullptr;
    QTableView *sgCharacteristics = nullptr;
    QLabel *stCharacteristicsSummary = nullptr;
    TRunChart *pnRunChart = nullptr;
    QLabel *stBatchStatistics = nullptr;
    QPushButton *btnBatchReport = nullptr;
    QLineEdit *edPartName = nullptr;
    QLineEdit *edPartSerial = nullptr;
    QLineEdit *edOperator = nullptr;
    QPushButton *btnNextPart = nullptr;
    QLabel *stGuide = nullptr;
    QPushButton *btnSkipFeature = nullptr;
    QPushButton *btnRedoFeature = nullptr;
};
