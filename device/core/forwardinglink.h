// A link that passes everything to another link and raises that link's events as its own:
// the base of the wrappers that inject faults or record traffic. QtCore only.
#pragma once

#include "device/core/seriallink.h"

class ForwardingLink : public SerialLink {
public:
    /// `inner` must outlive this link; its events are taken over until this link is gone.
    explicit ForwardingLink(SerialLink &inner) : m_inner(inner)
    {
        m_inner.onReceived = [this](int waiting) { receivedFromInner(waiting); };
        m_inner.onFailed = [this](const ECommError &e) { failedFromInner(e); };
        m_inner.onSent = [this] { sentFromInner(); };
    }
    ~ForwardingLink() override
    {
        m_inner.onReceived = nullptr;
        m_inner.onFailed = nullptr;
        m_inner.onSent = nullptr;
    }

    void open(const QString &portName, const LineSettings &settings) override { m_inner.open(portName, settings); }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    void write(const QByteArray &bytes) override { m_inner.write(bytes); }
    QByteArray read(int count) override { return m_inner.read(count); }

protected:
    virtual void receivedFromInner(int waiting)
    {
        if (onReceived)
            onReceived(waiting);
    }
    virtual void sentFromInner()
    {
        if (onSent)
            onSent();
    }
    virtual void failedFromInner(const ECommError &e)
    {
        if (onFailed)
            onFailed(e);
    }

    SerialLink &m_inner;
};
