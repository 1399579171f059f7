#include "app/qintarform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QintarSoft"));
    QApplication::setApplicationDisplayName(QStringLiteral("QintarSoft"));
    TQintarForm form;
    form.show();
    return QApplication::exec();
}
