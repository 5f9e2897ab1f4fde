// Reading and writing a 20,000-flight log, against reading the same bytes into memory.
// Goal: reading and writing each within 5x of the raw read.
#include "benchdata.h"

#include "logbook/core/logfile.h"
#include "logbook/core/logfiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main()
{
    QTemporaryDir dir;
    LogBook book = bench::realisticLog(20000);
    book.workFolder = dir.path() + u'/';
    const QString path = dir.filePath("bench.log");
    saveLogBook(book, path, "bench");
    const double mb = double(QFile(path).size()) / 1e6;

    QByteArray sink;
    const double raw = bench::medianMs(21, [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        sink = f.readAll();
    });
    const double read = bench::medianMs(21, [&] {
        LogBook b;
        loadContents(b, *readLogFile(path));
    });
    const double build = bench::medianMs(21, [&] { sink = buildLogImage(book); });
    const double write = bench::medianMs(21, [&] { saveLogBook(book, path, "bench"); });

    std::printf("log of 20000 flights: %.2f MB\n", mb);
    std::printf("  raw read into memory   %8.2f ms  %8.1f MB/s\n", raw, mb / raw * 1e3);
    std::printf("  read into a LogBook    %8.2f ms  %8.1f MB/s  %5.2fx raw  (goal < 5x)\n", read, mb / read * 1e3, read / raw);
    std::printf("  build the file image   %8.2f ms  %8.1f MB/s  %5.2fx raw\n", build, mb / build * 1e3, build / raw);
    std::printf("  save with backup link   %8.2f ms  %6.1f MB/s  %5.2fx raw  (goal < 5x)\n", write, mb / write * 1e3, write / raw);
    return 0;
}
