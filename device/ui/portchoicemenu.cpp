// The serial-port menu's device entries.
#include "portchoicemenu.h"
#include "logbook/ui/questionparent.h"

#include "device/core/messages.h"
#include "device/core/portname.h"
#include "device/serial/portadvice.h"

#include <QAction>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QSerialPortInfo>

std::vector<ListedPort> withStableNames(std::vector<ListedPort> ports, const std::vector<StableName> &names)
{
    for (ListedPort &p : ports) {
        for (const StableName &n : names) {
            if (n.target != p.device)
                continue;
            p.text = QStringLiteral("%1 (%2)").arg(QFileInfo(n.link).fileName(), QFileInfo(n.target).fileName());
            p.device = n.link;
            break;
        }
    }
    return ports;
}

PortChoiceMenu::PortChoiceMenu(QMenu *menu, std::function<QString()> chosenDevice, std::function<QString()> typedDevice,
                               QWidget *dialogParent)
    : QObject(menu),
      m_menu(menu),
      m_chosenDevice(std::move(chosenDevice)),
      m_typedDevice(std::move(typedDevice)),
      m_dialogParent(dialogParent)
{
    connect(m_menu, &QMenu::aboutToShow, this, qOverload<>(&PortChoiceMenu::rebuild));
}

std::vector<ListedPort> PortChoiceMenu::listedPorts()
{
    std::vector<ListedPort> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString device = info.systemLocation();
        bool numbered = false;
        for (int n = 1; n <= 4; ++n)
            numbered = numbered || device == comDeviceName(n);
        if (numbered)
            continue;
        QString text = info.portName();
        if (!info.description().isEmpty())
            text += QStringLiteral("  ") + info.description();
        ports.push_back({device, text});
    }
    return withStableNames(std::move(ports), stableSerialNames());
}

void PortChoiceMenu::rebuild()
{
    rebuild(listedPorts());
}

void PortChoiceMenu::rebuild(const std::vector<ListedPort> &ports)
{
    for (QAction *a : std::as_const(m_entries)) {
        m_menu->removeAction(a);
        delete a;
    }
    m_entries.clear();
    const QString chosen = m_chosenDevice();
    const auto add = [&](const QString &text, const QString &device) {
        QAction *a = m_menu->addAction(text);
        a->setCheckable(true);
        a->setChecked(!device.isEmpty() && device == chosen);
        a->setData(device);
        if (!device.isEmpty())
            connect(a, &QAction::triggered, this, [this, device] { emit deviceChosen(device); });
        m_entries << a;
        return a;
    };
    m_entries << m_menu->addSeparator();
    const QString typed = m_typedDevice ? m_typedDevice() : QString();
    bool chosenListed = chosen.isEmpty() || chosen == kSimulatorDevice;
    bool typedListed = typed.isEmpty() || typed == chosen;
    for (const ListedPort &p : ports) {
        add(p.text, p.device);
        chosenListed = chosenListed || p.device == chosen;
        typedListed = typedListed || p.device == typed;
    }
    // A device chosen earlier that is not listed now (a pseudo-terminal, an adapter
    // unplugged) keeps its entry while it is the choice, and the path last typed stays
    // on offer whatever is chosen.
    if (!chosenListed)
        add(chosen, chosen);
    if (!typedListed)
        add(typed, typed);
    QAction *typeIn = add(msg::PortTyped.toString(), QString());
    typeIn->setCheckable(false);
    connect(typeIn, &QAction::triggered, this, &PortChoiceMenu::askForDevice);
    m_entries << m_menu->addSeparator();
    add(msg::PortSimulator.toString(), kSimulatorDevice);
}

void PortChoiceMenu::askForDevice()
{
    bool ok = false;
    const QString typed = m_typedDevice ? m_typedDevice() : QString();
    const QString current = typed.isEmpty() ? m_chosenDevice() : typed;
    const QString device = QInputDialog::getText(questionParent(m_dialogParent), msg::PortTyped.toString().remove(QStringLiteral("(&P)...")),
                                                 msg::PortTypedPrompt.toString(), QLineEdit::Normal,
                                                 current == kSimulatorDevice ? QString() : current, &ok)
                               .trimmed();
    if (ok && !device.isEmpty()) {
        emit deviceTyped(device);
        emit deviceChosen(device);
    }
}
