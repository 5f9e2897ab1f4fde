// DownloadState: the one transfer state shared by the log and barograph downloads, owned
// by the main window. QtCore only.
#pragma once

#include <QByteArray>

#include <algorithm>
#include <vector>

enum class TransferMode { Idle = 0, Log = 1, Barograph = 3 };

struct DownloadState {
    TransferMode transferMode = TransferMode::Idle;
    QByteArray rxBuffer;        ///< bytes of the current transfer, in arrival order
    int expectedLength = 0;     ///< log download: whole reply length once known
    int flightCount = 0;        ///< flights announced by the latest log reply
    int baroInterval = 0;
    int baroRow = 0;
    int durationSeconds = 0;
    int loadAllNext = 0;        ///< load-all sequence: next row
    int loadAllLast = 0;        ///< load-all sequence: last row
    std::vector<int> baroQueue; ///< rows waiting for their barograph
    std::vector<int> openList;  ///< rows whose downloaded barograph is still to be opened

    bool isQueued(int row) const
    {
        return std::find(baroQueue.begin(), baroQueue.end(), row) != baroQueue.end();
    }
};
