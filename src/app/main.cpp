#include "app/qintarform.h"
#include "app/qtoperatordialogs.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QintarSoft"));
    TQtOperatorDialogs dialogs;
    TQintarForm form(&dialogs);
    dialogs.SetParentWidget(&form);
    if (const QScreen *screen = form.screen())
        form.move(screen->availableGeometry().center() - form.frameGeometry().center() + form.pos());
    form.show();
    return QApplication::exec();
}
