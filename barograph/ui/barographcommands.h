// The barograph's commands as the main window offers them: altitude correction, the print
// mode and the IGC settings from its menu, and what each barograph window asks of it (its
// tool window's correction and print buttons, the IGC export in its own menu). Owns the two
// dialogs that live as long as the program, keeping what the pilot chose in them.
#pragma once

#include "barograph/ui/igcexportcommand.h"
#include "barograph/ui/tcprint.h"

#include <QObject>

#include <functional>

class MainFormLink;
class TFormAdjust;
class TGraph;

class BarographCommands : public QObject {
    Q_OBJECT
public:
    /// `igcSettings` reads what the IGC export and its dialog use from the program's settings,
    /// `storeIgcSettings` keeps what the dialog changed (the offset and the sites file).
    BarographCommands(MainFormLink &link, std::function<IgcExportSettings()> igcSettings,
                      std::function<void(const IgcExportSettings &)> storeIgcSettings);
    ~BarographCommands() override;

    TCPrint &printMode() const { return *m_printMode; }
    TFormAdjust &formAdjust() const { return *m_formAdjust; }

    /// Shows a modal dialog; true when OK closed it. Tests replace it.
    std::function<bool(QDialog &)> showDialog;
    /// The system print dialog; tests replace it.
    PrinterChooser choosePrinter;

    /// A new barograph window's requests go to these commands.
    void attachGraph(TGraph &graph);
    /// The menu's altitude correction: for the barograph window current in the workspace
    /// when it was chosen (the modal dialog takes the activation away from it).
    void correctCurrentGraph();
    /// The correction dialog, then the correction on `graph` (null: none chosen).
    void correctGraph(TGraph *graph);
    /// The print-mode dialog; its answer changes nothing beyond what was ticked in it.
    void choosePrintMode();
    /// The IGC settings dialog; OK keeps its values.
    void editIgcSettings();
    /// The File menu's IGC export of the log's row `row`.
    void exportRowIgc(int row);

private:
    MainFormLink &m_link;
    std::function<IgcExportSettings()> m_igcSettings;
    std::function<void(const IgcExportSettings &)> m_storeIgcSettings;
    TCPrint *m_printMode;
    TFormAdjust *m_formAdjust;
};
