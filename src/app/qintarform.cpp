#include "app/qintarform.h"

TQintarForm::TQintarForm(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("QintarSoft Revision 1.00"));
    setFixedSize(968, 695);
}
