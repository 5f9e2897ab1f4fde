// The device commands as the pilot starts them from the main window: the log downloads, the
// serial port menu, the instrument's settings dialogs, and exit's wait for an upload. The
// main window builds one, connects its menu items to it, and sets the command states from
// what the controller announces; the values live in the program's settings.
#pragma once

#include "device/core/downloadstate.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>

struct AppSettings;
class DeviceController;
class MainFormLink;
class PortChoiceMenu;
class QAction;
class QMenu;
class QStatusBar;
class QTimer;
class SettingsSender;

class DeviceCommands : public QObject {
    Q_OBJECT
public:
    /// `portMenu` holds `comPorts` ("COM 1" to "COM 4"); the devices the system lists, a
    /// typed one and the simulator are added to it. `statusBar` shows the transfers' texts.
    DeviceCommands(MainFormLink &link, AppSettings &settings, DownloadState &state, QTimer &loadTimer, QMenu *portMenu,
                   const std::array<QAction *, 4> &comPorts, QStatusBar *statusBar, QObject *parent = nullptr);
    ~DeviceCommands() override;

    /// After the settings are read: the traffic trace, and the tick of the chosen COM port.
    void startUp();

    void loadLog();
    void loadAll();
    /// The flyer name dialog, or with Shift held the send delays.
    void openFlyerName();
    void openParameters();
    void openOptions();
    /// Exit: returns once no upload sends (saying so meanwhile).
    void finishUpload();

    DeviceController &controller() { return *m_controller; }
    PortChoiceMenu &portChoice() { return *m_portChoice; }

private:
    void comPortChosen(int port);
    void deviceChosen(const QString &device);
    QWidget *window() const;

    MainFormLink &m_link;
    AppSettings &m_settings;
    std::array<QAction *, 4> m_comPorts;
    DeviceController *m_controller;
    PortChoiceMenu *m_portChoice;
    std::unique_ptr<SettingsSender> m_instrumentSettings; ///< what the settings dialogs use
};
