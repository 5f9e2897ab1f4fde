// The exchanges with the DIV-EVODU-REV: command bytes, request builders, the fixed pauses
// and the silence time-out. Pure: no I/O, no timers. QtCore only.
//
// Every exchange opens the port, sends one command letter and closes the port at its end.
// The instrument sends nothing unasked; there is no acknowledgement, checksum or retry.
//
//   log         host: "L"                             instrument: 2 + 34 x N bytes (logreply.h)
//   barograph   host: "B", 500 ms, two digits NN      instrument: 16 + 5 x S bytes (barographreply.h)
//   flyer name  host: "F", 16 name bytes              instrument: nothing
//   parameters  host: "P", 37 characters '0'..'?'     instrument: nothing
//   options     host: "O", 80 characters '0'..'?'     instrument: nothing
#pragma once

#include <QByteArray>

#include <chrono>

namespace protocol {

using std::chrono::milliseconds;

inline constexpr char kLogCommand = 'L';
inline constexpr char kBarographCommand = 'B';
inline constexpr char kFlyerCommand = 'F';
inline constexpr char kParameterCommand = 'P';
inline constexpr char kOptionCommand = 'O';

inline constexpr int kFlyerMessageBytes = 16;
inline constexpr int kParameterMessageBytes = 37;
inline constexpr int kOptionMessageBytes = 80;

/// After opening the port, before the first command: the instrument needs the raised DTR
/// to settle before it listens.
inline constexpr milliseconds kPauseAfterOpen{200};
/// Between "B" and the flight number: the instrument takes the number only after it has
/// switched to the barograph exchange.
inline constexpr milliseconds kPauseBeforeFlightNumber{500};
/// Pauses timed from a byte are counted from when it has left the port, and this is added:
/// the instrument sees the gap between the arrivals of two bytes, which the adapter's and the
/// timers' jitter can shorten by a few milliseconds.
inline constexpr milliseconds kWireMargin{20};
/// After a transfer that did not end cleanly the instrument may still be sending the reply
/// that was given up on (a port that is closed holds it off through RTS; it goes on when the
/// port opens again). The next request waits until nothing has arrived for this long: a reply
/// goes out without gaps, so some 140 byte times of quiet mean that it has ended.
inline constexpr milliseconds kSettleTime{300};
/// A transfer that receives nothing for this long has failed. The instrument answers within
/// a second and, once it answers, sends without gaps; ten seconds leave room for a slow
/// USB adapter without making a silent instrument look alive.
inline constexpr milliseconds kSilenceTimeout{10000};

/// The flight numbers "B" takes: two decimal digits.
inline constexpr int kMaxFlightNumber = 99;

/// Request: "L".
inline QByteArray logRequest()
{
    return QByteArray(1, kLogCommand);
}

/// Request, first part: "B".
inline QByteArray barographCommand()
{
    return QByteArray(1, kBarographCommand);
}

/// Request, second part: the flight's number in the instrument (1 to 99) as two decimal
/// digits, tens first: flight 5 is "05".
inline QByteArray barographFlightNumber(int deviceIndex)
{
    return QByteArray::number(deviceIndex).rightJustified(2, '0');
}

} // namespace protocol

/// What an incremental reply decoder says after each piece it was fed.
enum class DecodeStatus {
    NeedMore,  ///< the reply is not complete yet
    Complete,  ///< the whole reply is in; later bytes are ignored
    Malformed, ///< the reply can never be used; later bytes are ignored
};
