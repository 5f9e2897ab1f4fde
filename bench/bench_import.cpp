// The import of other instruments' logs as the pilot waits for it: 100 one-hour IGC files
// with 1 s fixes (a folder of a season's flights) read, turned into flights, checked against
// a log of 2,000 flights and written with the log in one save. Goal: under 10 s.
#include "benchdata.h"

#include "barograph/core/flightimport.h"
#include "logbook/core/logfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

// An hour of a thermal flight: five minutes on launch, climbs and glides, the landing field.
QByteArray oneHourIgc(int day)
{
    QByteArray out = "AXYZ123 bench logger\r\nHFDTEDATE:" + QDate(2023, 1, 1).addDays(day).toString(QStringLiteral("ddMMyy")).toLatin1()
        + ",01\r\nHFFTYFRTYPE:BENCH,VARIO 2\r\n";
    for (int s = 0; s < 3600; ++s) {
        double alt = 900;
        if (s >= 300 && s < 3300)
            alt = 900 + 400 * std::sin((s - 300) / 300.0) + (s - 300) * 0.05;
        else if (s >= 3300)
            alt = 300;
        const int t = 9 * 3600 + s;
        char line[64];
        std::snprintf(line, sizeof line, "B%02d%02d%02d3617583N14007250EA%05d%05d\r\n", t / 3600, t / 60 % 60, t % 60,
                      int(alt), int(alt) + 30);
        out += line;
    }
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("logs"));
    for (int i = 0; i < 100; ++i) {
        QFile f(dir.filePath(QStringLiteral("logs/%1.igc").arg(i, 3, 10, QLatin1Char('0'))));
        if (!f.open(QIODevice::WriteOnly) || f.write(oneHourIgc(i)) <= 0)
            return 1;
    }
    int added = 0;
    const double ms = bench::medianMs(3, [&] {
        LogBook book = bench::realisticLog(2000);
        const QString logPath = dir.filePath(QStringLiteral("F.log"));
        QFile::remove(logPath);
        book.workFolder = withTrailingSlash(dir.path());
        std::vector<ImportItem> items;
        for (const QString &source : collectImportSources({dir.filePath(QStringLiteral("logs"))}))
            items.push_back(readImportSource(source, ImportSettings{9 * 60, {}}));
        markDuplicates(items, book);
        std::vector<FileImage> barographs = applyImport(book, items);
        for (const FileImage &f : barographs) // each run writes its own files anew
            QFile::remove(f.path);
        added = countImport(items).added;
        if (saveLogBook(book, logPath, "bench", {}, std::move(barographs)).outcome != LogSaveResult::Outcome::Written)
            added = -1;
    });
    std::printf("import of 100 one-hour IGC files (1 s fixes) into a log of 2000 flights  %8.0f ms  (goal < 10000 ms), %d added\n",
                ms, added);
    return added == 100 ? 0 : 1;
}
