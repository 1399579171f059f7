#pragma once

#include <QWidget>

class TQintarForm : public QWidget
{
    Q_OBJECT

public:
    explicit TQintarForm(QWidget *parent = nullptr);
};
