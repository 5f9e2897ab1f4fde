// The entries of the serial-port menu below "COM 1" to "COM 4": every serial port the
// system lists (USB adapters by their stable /dev/serial/by-id names where they have one,
// so the choice survives replugging), the device path last typed in (pseudo-terminals are
// not listed), and the simulated instrument. The choice is a device name, which the main
// window keeps as the setting "ComDevice" beside "ComPort"; the typed path it keeps as
// "ComTypedDevice".
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

struct StableName;

class QAction;
class QMenu;
class QWidget;

/// A port the system lists: its device and the text of its menu entry.
struct ListedPort {
    QString device; ///< "/dev/ttyUSB0", "COM5"
    QString text;   ///< "ttyUSB0  FT232R USB UART"
};

/// The ports with a link in /dev/serial/by-id under that link, their text naming the link
/// and the device it points to ("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 (ttyUSB0)").
std::vector<ListedPort> withStableNames(std::vector<ListedPort> ports, const std::vector<StableName> &names);

class PortChoiceMenu : public QObject {
    Q_OBJECT
public:
    /// Adds its entries to `menu` (after what is there) each time the menu is about to be
    /// shown. `chosenDevice` gives the current "ComDevice" (empty: one of COM 1 to 4),
    /// `typedDevice` the path last typed in (empty: none).
    PortChoiceMenu(QMenu *menu, std::function<QString()> chosenDevice, std::function<QString()> typedDevice,
                   QWidget *dialogParent = nullptr);

    /// Rebuilds the entries now, from `ports` (by default, what QSerialPortInfo lists).
    void rebuild(const std::vector<ListedPort> &ports);
    void rebuild();

    /// The entries as they stand, for the main window's tests.
    QList<QAction *> entries() const { return m_entries; }

    /// The ports the system lists, COM1 to COM4 left out (they have entries of their own),
    /// under their stable names where they have one.
    static std::vector<ListedPort> listedPorts();

signals:
    /// A device was chosen: the main window stores it as "ComDevice" and unticks
    /// "COM 1" to "COM 4". kSimulatorDevice stands for the simulated instrument.
    void deviceChosen(const QString &device);
    /// A device path was typed in (deviceChosen follows): kept to be offered again.
    void deviceTyped(const QString &device);

private:
    void askForDevice();

    QMenu *m_menu;
    std::function<QString()> m_chosenDevice;
    std::function<QString()> m_typedDevice;
    QWidget *m_dialogParent;
    QList<QAction *> m_entries;
};
