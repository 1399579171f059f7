#include "app/stationjournal.h"

#include "common/operatordialogs.h"
#include "plots/plotviews.h"
#include "register/deletedmarks.h"
#include "register/pointregister.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString Counted(int count, const QString &one, const QString &many)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

QString Shown(const QString &fileName)
{
    const QFileInfo info(fileName);
    return QDir::toNativeSeparators(info.dir().dirName() + QLatin1Char('/') + info.fileName());
}

} // namespace

TStationJournal::TStationJournal(TOperatorDialogs &dialogs, const QString &dataDirectory)
    : m_dialogs(dialogs), m_dataDirectory(QDir::fromNativeSeparators(dataDirectory))
{
    m_journal.SetFileName(
        RunFileName(m_dataDirectory, QDateTime::currentDateTime(), QCoreApplication::applicationPid()));
    // Told once the change is through: a box opened inside a serial notification would hold back
    // every reply until it closed.
    m_journal.SetFailureReport([this](const QString &why) {
        QMetaObject::invokeMethod(
            &m_journal,
            [this, why] {
                m_dialogs.ShowError(
                    QStringLiteral("The work journal cannot be written (%1): save the project "
                                   "to keep your work.")
                        .arg(why));
            },
            Qt::QueuedConnection);
    });
}

void TStationJournal::Watch(TPointRegister &pointRegister, TPlotViews &views,
                            std::function<QString()> projectName,
                            std::function<void(const QString &)> setProjectName)
{
    m_register = &pointRegister;
    m_views = &views;
    m_journal.AddTable(QStringLiteral("points"), pointRegister.Data());
    m_journal.AddTable(QStringLiteral("distances"), pointRegister.Distances());
    m_journal.AddTable(QStringLiteral("angles"), pointRegister.Angles());
    m_journal.AddValue(QStringLiteral("name"), std::move(projectName), std::move(setProjectName));
    m_journal.AddValue(
        QStringLiteral("count"), [&pointRegister] { return QString::number(pointRegister.PointCount()); },
        [&pointRegister](const QString &text) { pointRegister.SetPointCount(text.toInt()); });
    m_journal.SetMarks({[&views] {
                            const std::vector<TPoint3> marks = views.RecordedPoints();
                            return QList<TPoint3>(marks.begin(), marks.end());
                        },
                        [&views](TPoint3 mark) { views.AddRecordedPoint(mark); },
                        [&views] { views.ClearAllSeries(); }});
    views.SetRecordedWatch([this](std::optional<TPoint3> mark) {
        if (mark)
            m_journal.MarkAdded(*mark);
        else
            m_journal.MarksCleared();
    });
    QObject::connect(&pointRegister.Data(), &TTextTable::Edited, &m_journal, [this](TTextTable::TEdit edit) {
        if (edit == TTextTable::TEdit::Delete)
            ShowDeletedMarks();
    });
}

void TStationJournal::ShowDeletedMarks()
{
    if (m_register && m_views) {
        const std::vector<TPoint3> marks = m_views->RecordedPoints();
        m_views->SetDeletedMarks(
            TDeletedMarks::Find(m_register->Data(), QList<TPoint3>(marks.begin(), marks.end())));
    }
}

QString TStationJournal::RunFileName(const QString &dataDirectory, const QDateTime &start, qint64 pid)
{
    return QDir(dataDirectory)
        .filePath(FilePrefix + start.toString(QStringLiteral("yyyyMMdd-hhmmss-")) + QString::number(pid) +
                  FileSuffix);
}

QString TStationJournal::AsideFileName(const QString &dataDirectory, const QDateTime &work)
{
    const QString base = QStringLiteral("Journal ") + work.toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
    const QDir folder(dataDirectory);
    QString name = folder.filePath(base + AsideSuffix);
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = folder.filePath(QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(AsideSuffix));
    return name;
}

QString TStationJournal::RestoreQuestion(const TJournal::TSummary &summary)
{
    QStringList counts{Counted(summary.rows.value(QStringLiteral("points")), QStringLiteral("point"),
                               QStringLiteral("points")),
                       Counted(summary.rows.value(QStringLiteral("distances")), QStringLiteral("distance"),
                               QStringLiteral("distances")),
                       Counted(summary.rows.value(QStringLiteral("angles")), QStringLiteral("angle"),
                               QStringLiteral("angles"))};
    if (summary.rows.contains(QStringLiteral("features")))
        counts.append(Counted(summary.rows.value(QStringLiteral("features")), QStringLiteral("feature"),
                              QStringLiteral("features")));
    const QString when =
        QDateTime::fromMSecsSinceEpoch(summary.shownAt).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    return QStringLiteral("The station was not closed normally. Restore the work of %1 (%2)?")
        .arg(when, counts.join(QStringLiteral(", ")));
}

void TStationJournal::Tell(const QString &text)
{
    if (m_statusReport)
        m_statusReport(text);
}

QString TStationJournal::SetAside(const QString &fileName, const QDateTime &work)
{
    const QString aside = AsideFileName(m_dataDirectory, work);
    if (!QFile::rename(fileName, aside))
        return {};
    // The lock left by the run that died goes with it; the kept journal needs none.
    QFile::remove(TJournalFile::LockName(fileName));
    return aside;
}

bool TStationJournal::OfferLeftOvers()
{
    const QDir folder(m_dataDirectory);
    const QFileInfoList found = folder.entryInfoList({FilePrefix + QLatin1Char('*') + FileSuffix},
                                                     QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo &info : found) {
        const QString fileName = info.absoluteFilePath();
        if (fileName == QFileInfo(m_journal.FileName()).absoluteFilePath() || TJournalFile::IsInUse(fileName))
            continue;
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly)) {
            m_dialogs.ShowMessage(QStringLiteral("The journal %1 of an earlier run cannot be read: %2.")
                                      .arg(Shown(fileName), file.errorString()));
            continue;
        }
        const TJournalContents contents = TJournalReader::Read(file.readAll());
        file.close();
        const TJournal::TSummary summary = m_journal.Summarize(contents);
        if (contents.state == TJournalContents::TState::Empty ||
            (contents.HasWork() && summary.IsEmpty() &&
             contents.state != TJournalContents::TState::Damaged)) {
            // A run that ended before its first point, or whose work was emptied: nothing to offer.
            QFile::remove(fileName);
            QFile::remove(TJournalFile::LockName(fileName));
            continue;
        }
        if (!contents.HasWork() || summary.IsEmpty()) {
            const QString aside = SetAside(fileName, info.lastModified());
            m_dialogs.ShowMessage(
                QStringLiteral("The journal %1 of an earlier run holds nothing the station can read. It is "
                               "kept as %2; nothing was restored.")
                    .arg(Shown(fileName), aside.isEmpty() ? Shown(fileName) : Shown(aside)));
            continue;
        }
        const QDateTime work = QDateTime::fromMSecsSinceEpoch(summary.shownAt);
        if (!m_dialogs.AskYesNo(RestoreQuestion(summary), TOperatorDialogs::TStyle::Warning)) {
            const QString aside = SetAside(fileName, work);
            Tell(QStringLiteral("Not restored: the journal is kept as %1")
                     .arg(aside.isEmpty() ? Shown(fileName) : Shown(aside)));
            continue;
        }
        m_journal.Restore(contents);
        ShowDeletedMarks();
        if (contents.state == TJournalContents::TState::Damaged) {
            const QString aside = SetAside(fileName, work);
            m_dialogs.ShowMessage(
                QStringLiteral("Part of the journal was damaged: the work up to %1 was restored, %2 "
                               "line(s) after it could not be read. The journal is kept as %3.")
                    .arg(work.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")))
                    .arg(contents.unusedLines)
                    .arg(aside.isEmpty() ? Shown(fileName) : Shown(aside)));
        } else {
            QFile::remove(fileName);
            QFile::remove(TJournalFile::LockName(fileName));
        }
        Tell(QStringLiteral("Restored the work of %1")
                 .arg(work.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))));
        return true;
    }
    return false;
}
