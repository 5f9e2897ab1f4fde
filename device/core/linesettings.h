// The line settings of the serial component: speed, framing, flow control and queue sizes,
// with the defaults a new component has, and the one line the instrument speaks.
// QtCore only.
#pragma once

#include <QtGlobal>

enum TCommParityBits { cpbNone, cpbOdd, cpbEven, cpbMark, cpbSpace };
enum TCommByteSize { cbs4, cbs5, cbs6, cbs7, cbs8 };  ///< data bits = ordinal + 4
enum TCommStopBits { csb1, csb15, csb2 };             ///< one, one and a half, two

/// Flow-control set: bit n is member n.
enum TCommFlowControl : quint8 {
    cfcDtrDsr = 1 << 0,
    cfcRtsCts = 1 << 1,
    cfcXonXoff = 1 << 2,
    cfcHalfDuplex = 1 << 3,
};
using TCommFlowControls = quint8;

/// Event set: bit n is the platform's event flag 1 << n.
enum TCommEvent : quint16 {
    evRxchar = 1 << 0,
    evRxflag = 1 << 1,
    evTxempty = 1 << 2,
    evCts = 1 << 3,
    evDsr = 1 << 4,
    evRlsd = 1 << 5,
    evBreak = 1 << 6,
    evErr = 1 << 7,
    evRing = 1 << 8,
    evPerr = 1 << 9,
};
using TCommEventMask = quint16;

struct LineSettings {
    qint32 baudRate = 9600;            ///< bit/s; -1 selects baudRateUserDefined
    qint32 baudRateUserDefined = 9600;
    TCommParityBits parityBits = cpbNone;
    TCommByteSize byteSize = cbs8;
    TCommStopBits stopBits = csb1;
    TCommFlowControls flowControls = cfcRtsCts;
    quint16 inQueueSize = 4096;        ///< receive queue asked of the driver
    quint16 outQueueSize = 4096;       ///< transmit queue; also the largest single write
    qint32 receiveNotifySize = 3072;   ///< input held off when fewer than in - this are free
    qint32 sendNotifySize = 1024;      ///< input released again at this many queued bytes
    TCommEventMask eventMask = 0;      ///< events besides received data

    /// The speed the port runs at.
    qint32 effectiveBaudRate() const { return baudRate == -1 ? baudRateUserDefined : baudRate; }
    int dataBits() const { return int(byteSize) + 4; }

    friend bool operator==(const LineSettings &, const LineSettings &) = default;
};

/// The instrument's line: 4800 bit/s, 8 data bits, no parity, 1 stop bit, RTS/CTS
/// handshake; DTR is raised while the port is open. Every other value keeps its default.
inline LineSettings instrumentLine()
{
    LineSettings s;
    s.baudRate = 4800;
    return s;
}

/// Bytes per second on a line: start bit, data bits, parity bit and stop bits per byte.
/// The instrument's line carries 480 bytes/s.
inline int lineBytesPerSecond(const LineSettings &s)
{
    const int stopBitsTimesTwo = s.stopBits == csb1 ? 2 : s.stopBits == csb15 ? 3 : 4;
    const int parity = s.parityBits == cpbNone ? 0 : 1;
    const int bitsTimesTwo = 2 * (1 + s.dataBits() + parity) + stopBitsTimesTwo;
    return int(qint64(s.effectiveBaudRate()) * 2 / bitsTimesTwo);
}
