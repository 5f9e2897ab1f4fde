// DownloadState: the one transfer state shared by the log and barograph downloads, owned
// by the main window. The reply bytes themselves live in the procedures' decoders
// (downloader.h). QtCore only.
#pragma once

#include <algorithm>
#include <vector>

enum class TransferMode { Idle = 0, Log = 1, Barograph = 3 };

struct DownloadState {
    TransferMode transferMode = TransferMode::Idle;
    int expectedLength = 0;     ///< log download: whole reply length once known
    int flightCount = 0;        ///< flights announced by the latest log reply
    int baroInterval = 0;       ///< seconds per sample of the reply being received; 0 until known
    int baroRow = 0;            ///< row whose barograph is being downloaded
    int durationSeconds = 0;    ///< that row's duration, for the progress bar
    int loadAllNext = 0;        ///< load-all sequence: next row; 0 when no sequence runs
    int loadAllLast = 0;        ///< load-all sequence: last row; 0 until the first tick sets it
    std::vector<int> baroQueue; ///< rows waiting for their barograph; the head stays while it downloads
    std::vector<int> openList;  ///< rows whose downloaded barograph is still to be opened

    bool isQueued(int row) const
    {
        return std::find(baroQueue.begin(), baroQueue.end(), row) != baroQueue.end();
    }
    /// Work waits for the load timer: a sequence, queued rows or windows to open.
    bool hasPendingWork() const { return loadAllNext > 0 || !baroQueue.empty() || !openList.empty(); }
};
