// Saving and loading a project whose three tables are full (999 rows each).
#include "files/projectfile.h"
#include "register/texttable.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct TFullProject
{
    TTextTable data{4, 1000};
    TTextTable distances{6, 1000};
    TTextTable angles{7, 1000};
    int plotted = 0;

    TFullProject()
    {
        for (int row = 1; row <= 999; ++row) {
            const QString n = QString::number(row);
            data.SetRowTexts(row, {n, "-1234.567", "89.125", "0.500"});
            distances.SetRowTexts(row,
                                  {n, QString::number(row % 999 + 1), "12.500", "-3.250", "0.000", "12.916"});
            angles.SetRowTexts(row, {n, "2", "3", "90.000", "***.***", "45.000", "135.000"});
        }
    }

    TFileTables Tables()
    {
        return {data, distances, angles,
                [this](const QString &, const QString &, const QString &) {
                    ++plotted;
                    return true;
                },
                [] {}};
    }
};

void BM_SaveFullProject(benchmark::State &state)
{
    QTemporaryDir dir;
    TFullProject project;
    TProjectFile file(project.Tables());
    for (auto _ : state) {
        const TFileResult result =
            file.Save(dir.path(), QStringLiteral("full"), QStringLiteral("2024Mar05_142301"));
        if (!result.Ok())
            state.SkipWithError(result.message.toStdString().c_str());
    }
}
BENCHMARK(BM_SaveFullProject)->Unit(benchmark::kMillisecond);

void BM_LoadFullProject(benchmark::State &state)
{
    QTemporaryDir dir;
    TFullProject source;
    const TFileResult saved =
        TProjectFile(source.Tables())
            .Save(dir.path(), QStringLiteral("full"), QStringLiteral("2024Mar05_142301"));
    TFullProject target;
    TProjectFile file(target.Tables());
    for (auto _ : state) {
        const TFileResult result = file.Load(saved.fileName);
        if (!result.Ok() || result.pointCount != 999)
            state.SkipWithError("the project did not load");
    }
}
BENCHMARK(BM_LoadFullProject)->Unit(benchmark::kMillisecond);

} // namespace
