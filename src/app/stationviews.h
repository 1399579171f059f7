#pragma once

#include "app/viewactions.h"

#include <QObject>
#include <array>
#include <functional>

class QWidget;
class TLargeReadoutLink;
class TPlotViews;
class TPointRegister;
class TStationFeatures;
class TStationLink;
class TToggleGroup;
class TViewEngine;

// The window's work on its views and its large readout, wired to what feeds them: the actions on the
// views (TViewActions) follow the tables and the Operation toggles; the large readout (TLargeReadoutLink)
// follows the position replies, the link's state, the recorded points and the feature in progress.
class TStationViews : public QObject
{
    Q_OBJECT

public:
    struct TSources
    {
        TPlotViews &views;
        TViewEngine &engine;
        TPointRegister &pointRegister;
        TStationLink &link;
        TStationFeatures &features;
        TToggleGroup &operationGroup;
    };

    // window is a TQintarForm: its PositionShown follows every position reply; its readouts
    // (stReadX, stReadY, stReadZ), the groups of the distances and angles tables and Delete Point are
    // found by their names.
    TStationViews(const TSources &sources, QWidget &window);

    TViewActions *Actions() const { return m_actions; }
    TLargeReadoutLink *LargeReadout() const { return m_largeReadout; }

private:
    TViewActions *m_actions = nullptr;
    TLargeReadoutLink *m_largeReadout = nullptr;
};
