// The entries of the serial-port menu below "COM 1" to "COM 4": every serial port the
// system lists (USB adapters included), a device path typed in (pseudo-terminals are not
// listed), and the simulated instrument. The choice is a device name, which the main window
// keeps as the setting "ComDevice" beside "ComPort".
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QWidget;

/// A port the system lists: its device and the text of its menu entry.
struct ListedPort {
    QString device; ///< "/dev/ttyUSB0", "COM5"
    QString text;   ///< "ttyUSB0  FT232R USB UART"
};

class PortChoiceMenu : public QObject {
    Q_OBJECT
public:
    /// Adds its entries to `menu` (after what is there) each time the menu is about to be
    /// shown. `chosenDevice` gives the current "ComDevice" (empty: one of COM 1 to 4).
    PortChoiceMenu(QMenu *menu, std::function<QString()> chosenDevice, QWidget *dialogParent = nullptr);

    /// Rebuilds the entries now, from `ports` (by default, what QSerialPortInfo lists).
    void rebuild(const std::vector<ListedPort> &ports);
    void rebuild();

    /// The entries as they stand, for the main window's tests.
    QList<QAction *> entries() const { return m_entries; }

    /// The ports the system lists, COM1 to COM4 left out (they have entries of their own).
    static std::vector<ListedPort> listedPorts();

signals:
    /// A device was chosen: the main window stores it as "ComDevice" and unticks
    /// "COM 1" to "COM 4". kSimulatorDevice stands for the simulated instrument.
    void deviceChosen(const QString &device);

private:
    void askForDevice();

    QMenu *m_menu;
    std::function<QString()> m_chosenDevice;
    QWidget *m_dialogParent;
    QList<QAction *> m_entries;
};
