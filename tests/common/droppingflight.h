// A barograph of a flight whose launch and landing are known: still on launch at 1000 m for two
// minutes, up 200 m, down to `dropM` below the launch, still for two minutes. `inTheAir` leaves
// out the still start, as when the recording began in flight.
#pragma once

#include "barograph/core/barographfile.h"

inline QByteArray flightDropping(int dropM, bool inTheAir = false)
{
    BarographFile file;
    file.interval = 1;
    if (!inTheAir)
        file.altitudes.assign(120, 1000.0f);
    else
        file.altitudes.push_back(1000.0f);
    for (int t = 0; t < 100; ++t)
        file.altitudes.push_back(file.altitudes.back() + 2);
    for (int t = 0; t < 200 + dropM; ++t)
        file.altitudes.push_back(file.altitudes.back() - 1);
    file.altitudes.insert(file.altitudes.end(), 120, file.altitudes.back());
    return buildBarographImage(file);
}
