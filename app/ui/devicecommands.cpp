// The device commands.
#include "devicecommands.h"

#include "app/core/appsettings.h"
#include "device/core/portname.h"
#include "device/ui/devicecontroller.h"
#include "device/ui/portchoicemenu.h"
#include "device/ui/settingsdialogs.h"
#include "logbook/ui/mainformlink.h"

#include <QAction>
#include <QGuiApplication>
#include <QStatusBar>

namespace {

// The settings dialogs' view of the program: the values in AppSettings, the upload on the
// controller's port session.
class InstrumentSettingsLink : public SettingsSender {
public:
    InstrumentSettingsLink(AppSettings &settings, DeviceController &device) : m_settings(settings), m_device(device) {}

    bool startUpload(const Request &r, QObject *listener, std::function<void(int)> progress,
                     std::function<void(bool)> finished) override
    {
        return m_device.session().startUpload(r, listener, std::move(progress), std::move(finished));
    }
    std::pair<int, int> sendDelays() const override { return {m_settings.sendDelayMs, m_settings.sendDelayCharMs}; }
    void setSendDelays(int afterCommand, int afterByte) override
    {
        m_settings.sendDelayMs = afterCommand;
        m_settings.sendDelayCharMs = afterByte;
    }
    QByteArray flyerName() const override { return m_settings.flyerName; }
    void storeFlyerName(const QByteArray &name) override { m_settings.flyerName = name; }
    ParameterSettings parameters() const override
    {
        const AppSettings &a = m_settings;
        return {float(a.rise), float(a.sink), a.autoSet, a.takeOff, a.sound, a.barGraph, a.numeric, a.sampling, a.printer};
    }
    void storeParameters(const ParameterSettings &p) override
    {
        AppSettings &a = m_settings;
        a.rise = p.rise;
        a.sink = p.sink;
        a.autoSet = p.autoSet;
        a.takeOff = p.takeOff;
        a.sound = p.sound;
        a.barGraph = p.barGraph;
        a.numeric = p.numeric;
        a.sampling = p.sampling;
        a.printer = p.printer;
    }
    OptionSettings options() const override
    {
        const AppSettings &a = m_settings;
        return {a.option1, a.barometer, a.thermo, a.maxAlt, a.alt2, a.alt3, a.windV};
    }
    void storeOptions(const OptionSettings &o) override
    {
        AppSettings &a = m_settings;
        a.option1 = o.option1;
        a.barometer = o.barometer;
        a.thermo = o.thermo;
        a.maxAlt = o.maxAlt;
        a.alt2 = o.alt2;
        a.alt3 = o.alt3;
        a.windV = o.windV;
    }

private:
    AppSettings &m_settings;
    DeviceController &m_device;
};

} // namespace

DeviceCommands::DeviceCommands(MainFormLink &link, AppSettings &settings, DownloadState &state, QTimer &loadTimer,
                               QMenu *portMenu, const std::array<QAction *, 4> &comPorts, QStatusBar *statusBar,
                               QObject *parent)
    : QObject(parent), m_link(link), m_settings(settings), m_comPorts(comPorts)
{
    // The controller takes the load timer's ticks for the barograph queue and load-all sequence.
    m_controller = new DeviceController(link, state, loadTimer,
                                        [this] { return portDevice(m_settings.comPort, m_settings.comDevice); }, this);
    m_instrumentSettings = std::make_unique<InstrumentSettingsLink>(m_settings, *m_controller);
    m_portChoice = new PortChoiceMenu(portMenu, [this] { return m_settings.comDevice; },
                                      [this] { return m_settings.comTypedDevice; }, window());
    connect(m_portChoice, &PortChoiceMenu::deviceChosen, this, &DeviceCommands::deviceChosen);
    connect(m_portChoice, &PortChoiceMenu::deviceTyped, this,
            [this](const QString &device) { m_settings.comTypedDevice = device; });
    for (int i = 0; i < 4; ++i)
        connect(m_comPorts[size_t(i)], &QAction::triggered, this, [this, i] { comPortChosen(i + 1); });
    // While the log arrives (no progress window) or an upload sends, the status bar says how
    // far it is.
    connect(m_controller, &DeviceController::statusChanged, statusBar, [statusBar](const QString &text) {
        if (text.isEmpty())
            statusBar->clearMessage();
        else
            statusBar->showMessage(text);
    });
}

DeviceCommands::~DeviceCommands() = default;

QWidget *DeviceCommands::window() const
{
    return m_link.frameWindow();
}

void DeviceCommands::startUp()
{
    m_controller->setTrafficTrace(m_settings.trafficTrace);
    // A device chosen below "COM 1" to "COM 4" ticks none of them.
    for (int i = 0; i < 4; ++i)
        m_comPorts[size_t(i)]->setChecked(m_settings.comDevice.isEmpty() && m_settings.comPort == i + 1);
}

void DeviceCommands::loadLog()
{
    m_controller->loadLog();
}

void DeviceCommands::loadAll()
{
    m_controller->loadAll();
}

void DeviceCommands::comPortChosen(int port)
{
    m_settings.comPort = port;
    m_settings.comDevice.clear();
    for (int i = 0; i < 4; ++i)
        m_comPorts[size_t(i)]->setChecked(i + 1 == port);
}

void DeviceCommands::deviceChosen(const QString &device)
{
    m_settings.comDevice = device;
    for (QAction *com : m_comPorts)
        com->setChecked(false);
}

void DeviceCommands::openFlyerName()
{
    // With Shift held the same item opens the send delays.
    if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)
        (new TFormDelay(*m_instrumentSettings, m_link.prompter(), window()))->show();
    else
        (new TFormName(*m_instrumentSettings, m_link.prompter(), window()))->show();
}

void DeviceCommands::openParameters()
{
    (new TFormParam(*m_instrumentSettings, m_link.prompter(), window()))->show();
}

void DeviceCommands::openOptions()
{
    (new TFormOption(*m_instrumentSettings, m_link.prompter(), window()))->show();
}

void DeviceCommands::finishUpload()
{
    m_controller->waitForUpload(window());
}
