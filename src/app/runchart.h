#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <optional>

// The run chart of one characteristic: every part's value in the order measured, joined by a line,
// with the nominal and the tolerance limits across the chart. A part without a value leaves a gap.
class TRunChart : public QWidget
{
    Q_OBJECT

public:
    explicit TRunChart(QWidget *parent);

    // lower is none for a characteristic with an upper tolerance only.
    void SetSeries(const QString &title, const QList<std::optional<double>> &values, double nominal, double upper,
                   std::optional<double> lower);
    void Clear();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_title;
    QList<std::optional<double>> m_values;
    double m_nominal = 0.0;
    double m_upper = 0.0;
    std::optional<double> m_lower;
};
