// The serial-port menu's device entries.
#include "portchoicemenu.h"

#include "device/core/messages.h"
#include "device/core/portname.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>
#include <QSerialPortInfo>

PortChoiceMenu::PortChoiceMenu(QMenu *menu, std::function<QString()> chosenDevice, QWidget *dialogParent)
    : QObject(menu), m_menu(menu), m_chosenDevice(std::move(chosenDevice)), m_dialogParent(dialogParent)
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
    return ports;
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
    bool chosenListed = chosen.isEmpty() || chosen == kSimulatorDevice;
    for (const ListedPort &p : ports) {
        add(p.text, p.device);
        chosenListed = chosenListed || p.device == chosen;
    }
    // A typed device (a pseudo-terminal, say) keeps its entry while it is the choice.
    if (!chosenListed)
        add(chosen, chosen);
    QAction *typed = add(msg::PortTyped.toString(), QString());
    typed->setCheckable(false);
    connect(typed, &QAction::triggered, this, &PortChoiceMenu::askForDevice);
    m_entries << m_menu->addSeparator();
    add(msg::PortSimulator.toString(), kSimulatorDevice);
}

void PortChoiceMenu::askForDevice()
{
    bool ok = false;
    const QString current = m_chosenDevice();
    const QString device = QInputDialog::getText(m_dialogParent, msg::PortTyped.toString().remove(QStringLiteral("(&P)...")),
                                                 msg::PortTypedPrompt.toString(), QLineEdit::Normal,
                                                 current == kSimulatorDevice ? QString() : current, &ok)
                               .trimmed();
    if (ok && !device.isEmpty())
        emit deviceChosen(device);
}
