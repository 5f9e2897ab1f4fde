// TClimbs, the barograph window's climbs tool: the climbs the analysis found, one row each
// (start on the flight's clock, duration, gain, mean climb, best 30 s), the flight's figures
// and the flying time spent at each climb rate as a small bar chart. A click on a row asks
// the graph to show that climb. Made by its TGraph in its workspace, placed beside it and
// moved with it.
#pragma once

#include "barograph/core/flightanalysis.h"
#include "barograph/ui/toolstrip.h"

class QLabel;
class QTableWidget;

class TClimbs : public ToolStrip {
    Q_OBJECT
public:
    explicit TClimbs(QWidget *parent);

    QLabel *LbTitle;
    QTableWidget *TbClimbs;
    QLabel *LbShare, *LbTotal, *LbBest, *LbSink;
    QWidget *Histogram;

    /// Shows an analysis of a trace whose first sample was taken `clockStartSeconds` after
    /// midnight: the rows' start times are read on that clock.
    void showAnalysis(const FlightAnalysis &analysis, qint32 clockStartSeconds);

signals:
    /// The pilot clicked the climb of that row (its index in the analysis).
    void climbChosen(int index);
};
