// A station for the journal's end-to-end test: in the working directory given, it goes on line to the
// simulator, waits for three recorded points, picks a distance and an angle and deletes the second
// point, writes what its tables hold to standard output, says "ready" and polls on until it is killed.
#include "app/qintarform.h"
#include "app/stationprobe.h"
#include "app/stationquality.h"
#include "plots/viewengine.h"
#include "plots/viewwidget.h"
#include "register/featureregister.h"
#include "register/texttable.h"
#include "scripteddialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <cstdio>
#include <string_view>

namespace {

TTextTable *Table(TQintarForm &form, const char *name)
{
    return qobject_cast<TTextTable *>(form.findChild<QTableView *>(QLatin1String(name))->model());
}

void Click(TQintarForm &form, const char *name)
{
    form.findChild<QAbstractButton *>(QLatin1String(name))->click();
}

void Pick(TQintarForm &form, int index)
{
    auto *engine = form.findChild<TViewEngine *>();
    QTest::mouseClick(engine->Chart(1), Qt::LeftButton, {}, engine->MarkPosition(1, index)->toPoint());
}

void Dump(TQintarForm &form)
{
    for (const char *name : {"sgData", "sgDistance", "sgAngles", "sgFeatures"}) {
        const TTextTable *table =
            std::string_view(name) == "sgFeatures" ? &form.FeatureRegister().Table() : Table(form, name);
        for (int row = 1; row < table->RowCount() && !table->IsRowFree(row); ++row)
            std::printf("%s %s\n", name, qPrintable(table->RowTexts(row).join(QLatin1Char(','))));
    }
    // The tolerances typed and the ways the probe came in are work too.
    const TTextTable *kept[] = {&form.Inspection()->Characteristics().Table(),
                                &form.StationProbe()->Approaches()};
    for (const TTextTable *table : kept)
        for (int row = 1; row < table->RowCount() && !table->IsRowFree(row); ++row)
            std::printf("%s %s\n", table == kept[0] ? "sgCharacteristics" : "approaches",
                        qPrintable(table->RowTexts(row).join(QLatin1Char(','))));
    std::printf("name %s\n",
                qPrintable(form.findChild<QLineEdit *>(QStringLiteral("edProjectName"))->text()));
    std::printf("count %d\n", form.PointCount());
    std::printf("ready\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: journalstation <working directory>\n");
        return 2;
    }
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    TScriptedDialogs dialogs;
    TQintarForm form(&dialogs);
    form.show();
    Click(form, "sbOnLine");
    if (!QTest::qWaitFor([&] { return form.PointCount() == 3; }, 30000)) {
        std::fprintf(stderr, "no three points recorded\n");
        return 1;
    }
    Click(form, "sbDistance");
    Pick(form, 0);
    Pick(form, 2);
    Click(form, "sbAngle");
    Pick(form, 0);
    Pick(form, 1);
    Pick(form, 2);
    // A feature row as the features window adds one.
    const_cast<TFeatureRegister &>(form.FeatureRegister())
        .Table()
        .SetRowTexts(1, {"C1", "Circle", "1-3", "10.000", "-5.000", "0.000", "0.000000", "0.000000",
                         "1.000000", "20.000", "0.002", ""});
    form.Inspection()->Characteristics().Table().SetRowTexts(
        1, {"C1", "Diameter", "20.000", "0.020", "-0.010", "", "", ""});
    TTextTable &approaches = form.StationProbe()->Approaches();
    approaches.ClearDataRows();
    approaches.SetRowTexts(1, {"3", "0.000000", "1.000000", "0.000000"});
    form.Inspection()->Evaluate();
    Click(form, "sbDelete");
    dialogs.Answers = {true};
    Pick(form, 1);
    Dump(form);
    return application.exec();
}
