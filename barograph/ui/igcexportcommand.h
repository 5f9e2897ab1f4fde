// "IGCに書き出す" of a barograph window: finds the flight's site, asks for one when the sites
// file has none, and writes the trace as it stands through the one file writer. The file
// itself is made by barograph/core/igcexport.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class MainFormLink;
class TGraph;

/// What the export takes from the program's settings.
struct IgcExportSettings {
    qint32 utcOffsetMinutes = 9 * 60;
    QString sitesFile;      ///< the SeeYou CUP file; may be empty
    QByteArray flyerName;   ///< cp932
};

/// Exports the window's trace. `correctionM` is the altitude correction applied to it, if
/// any. Returns true when a file was written; every failure has been said.
bool exportGraphIgc(const TGraph &graph, MainFormLink &link, const IgcExportSettings &settings,
                    std::optional<float> correctionM = std::nullopt);

/// "IGCに書き出す" of the main window's File menu, for the log's row `row`: the trace as its
/// open window shows it, else as its file holds it. A row without a barograph is said.
bool exportRowIgc(int row, MainFormLink &link, const IgcExportSettings &settings);
