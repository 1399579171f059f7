#pragma once

#include "common/stationtypes.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;
class TExportActions;
class TFeatureRegister;
class TJournal;
class TOperatorDialogs;
class TPlotViews;
class TPointRegister;
class TSettingsFile;
class TStationFeatures;
class TStationFiles;
class TStationProbe;
class TStationQuality;
class TTextTable;

// The window's measuring of parts beside its points: the features window (TStationFeatures), the
// probe's ball and approach directions (TStationProbe), and the characteristics with Next part
// (TStationQuality), wired to the window's exports, project files, journal and status line. The window
// hands it each recorded point and each emptying of its tables.
class TStationMeasuring : public QObject
{
    Q_OBJECT

public:
    // What of the window the measuring works with; every reference outlives it.
    struct TWindowParts
    {
        TFeatureRegister &features;
        TPointRegister &points;
        TPlotViews &views;
        TOperatorDialogs &dialogs;
        const TSettingsFile &settings;
        TExportActions &exports;
        TStationFiles &files;
        std::function<QString()> projectName;
        std::function<QString()> dataDirectory;
        std::function<void(const QString &)> statusReport;
    };

    TStationMeasuring(const TWindowParts &parts, QWidget &window);

    TStationFeatures &Features() const { return *m_features; }
    TStationProbe &Probe() const { return *m_probe; }
    TStationQuality &Quality() const { return *m_quality; }

    // The tables whose edits are the operator's unsaved work.
    QList<TTextTable *> WorkTables() const;
    // The journal keeps the features with their alignments, the approach directions and the
    // characteristics from now on.
    void Journal(TJournal &journal);

    // Every position the cycle shows, and the point the device just recorded, by its number, after it
    // went into the point table.
    void PositionShown(TPoint3 position);
    void PointRecorded(int number);
    // The point table and the features were emptied (Clear, New).
    void Cleared();
    // The tables came back from a journal.
    void Restored();

private:
    TFeatureRegister &m_register;
    TStationFeatures *m_features = nullptr;
    TStationProbe *m_probe = nullptr;
    TStationQuality *m_quality = nullptr;
};
