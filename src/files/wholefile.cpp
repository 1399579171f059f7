#include "files/wholefile.h"

#include <QFile>
#include <QSaveFile>

void TWholeFile::Write(TFileResult &result, const QByteArray &bytes, qsizetype unrepresentable,
                       const QString &what)
{
    QSaveFile file(result.fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        result.status = TFileResult::TStatus::Failed;
        result.message = QStringLiteral("Cannot create %1: %2").arg(result.fileName, file.errorString());
        return;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        result.status = TFileResult::TStatus::Failed;
        result.message = QStringLiteral("Cannot write %1: %2").arg(result.fileName, file.errorString());
        file.cancelWriting();
        return;
    }
    if (unrepresentable > 0) {
        result.warnings.append(QStringLiteral("%1 character(s) of the %2 cannot be stored in the file's "
                                              "code page (Windows-1252) and were written as \"?\".")
                                   .arg(unrepresentable)
                                   .arg(what));
    }
}

TFileResult TWholeFile::Read(const QString &fileName, const std::function<TFileResult(QIODevice &)> &load)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        TFileResult result;
        result.status = TFileResult::TStatus::Failed;
        result.fileName = fileName;
        result.message = QStringLiteral("Cannot open %1: %2").arg(fileName, file.errorString());
        return result;
    }
    TFileResult result = load(file);
    result.fileName = fileName;
    return result;
}
