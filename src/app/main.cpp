#include "app/qintarform.h"
#include "app/qtoperatordialogs.h"
#include "app/stationcommandline.h"

#include <QApplication>
#include <QScreen>
#include <cstdio>

int main(int argc, char *argv[])
{
    const TStationCommandLine::TResult start =
        TStationCommandLine::Parse(TStationCommandLine::Arguments(argc, argv));
    std::fputs(qPrintable(start.Output), stdout);
    std::fputs(qPrintable(start.Error), stderr);
    if (!start.Start)
        return start.ExitCode;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QintarSoft"));
    QApplication::setApplicationVersion(TStationCommandLine::Version());

    TQtOperatorDialogs dialogs;
    if (const auto trouble = TStationCommandLine::EnterWorkingDirectory(start.Options)) {
        std::fprintf(stderr, "qintarsoft: %s\n", qPrintable(*trouble));
        dialogs.ShowError(*trouble);
        return 1;
    }
    TQintarForm form(&dialogs);
    if (start.Options.PortNumber)
        form.UsePortNumber(*start.Options.PortNumber);
    dialogs.SetParentWidget(&form);
    if (const QScreen *screen = form.screen())
        form.move(screen->availableGeometry().center() - form.frameGeometry().center() + form.pos());
    form.show();
    return QApplication::exec();
}
