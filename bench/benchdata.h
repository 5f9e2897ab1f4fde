// Shared benchmark helpers: a realistic log book and a median timer.
#pragma once

#include "logbook/core/logbook.h"
#include "logbook/core/text/cp932.h"

#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <vector>

namespace bench {

/// A log of `flights` flights with sites, times and comments of 0 to about 200 bytes of
/// mixed Japanese and ASCII text, as a pilot's log book holds them.
inline LogBook realisticLog(int flights)
{
    static const QStringList sites = {QStringLiteral("足尾山"), QStringLiteral("ｱｼｵ"), QStringLiteral("板敷"),
                                      QStringLiteral("朝霧高原"), QStringLiteral("Hakuba")};
    static const QStringList words = {QStringLiteral("サーマル良好。"), QStringLiteral("南東の風 2m/s"),
                                      QStringLiteral("ランディング良し"), QStringLiteral("雲底 1800 m"),
                                      QStringLiteral("XC 23 km"), QStringLiteral("ブローあり、注意。")};
    QRandomGenerator rng(42);
    LogBook book;
    for (int i = 0; i < flights; ++i) {
        FlightRecord &r = book.appendRow();
        r.number = QByteArray::number(i + 1);
        // Two flights a day, from 1990 on: every date and time differs.
        const QDate day = QDate(1990, 1, 1).addDays(i / 2);
        r.date = day.toString(QStringLiteral("yy/MM/dd")).toLatin1();
        r.time = QStringLiteral("%1:%2:%3").arg(i % 2 ? 14 : 10).arg(i * 7 % 60, 2, 10, QChar(u'0'))
                     .arg(i * 13 % 60, 2, 10, QChar(u'0')).toLatin1();
        r.area = cp932::fromUnicode(sites[int(rng.bounded(sites.size()))]);
        r.duration = "01:12:40";
        r.maxAltitude = QByteArray::number(300 + rng.bounded(2500)).rightJustified(4, '0') + " m";
        r.maxClimb = QByteArray::number(rng.bounded(60) / 10.0, 'f', 1) + " m/s";
        QString comment;
        const int n = int(rng.bounded(8));
        for (int w = 0; w < n; ++w)
            comment += words[int(rng.bounded(words.size()))];
        r.comment = cp932::fromUnicode(comment);
        if (rng.bounded(2))
            {
            const QByteArray d = r.date.toByteArray();
            r.barographFile = d.mid(0, 2) + d.mid(3, 2) + d.mid(6, 2) + r.time.toByteArray().left(2) + ".BRG";
        }
    }
    book.renumber();
    return book;
}

/// Median wall time of `runs` calls, in milliseconds.
template<typename F>
double medianMs(int runs, F &&f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace bench
