// duvazi-tool: scripting and export on the program's own core.
#include "output.h"
#include "verbs.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

struct Verb {
    const char *group;
    const char *name;
    const char *usage;
    int (*run)(const QStringList &args);
};

const Verb kVerbs[] = {
    {"log", "show", "log show FILE.log [--json|--csv]   print every row, text decoded to UTF-8", logShow},
    {"log", "copy", "log copy IN.log OUT.log            read a log and write it anew", logCopy},
    {"log", "sort", "log sort IN.log OUT.log            sort the flights by date and time", logSort},
    {"log", "merge", "log merge IN.log ADD.log OUT.log  add the flights of ADD.log after those of IN.log", logMerge},
    {"log", "delete", "log delete FILE.log --row N [--to M] [--barographs]\n"
                      "                                      delete flights N to M (and their barographs, kept in bak)", logDelete},
    {"log", "exclude", "log exclude FILE.log --row N [--include]\n"
                       "                                      leave flight N out of the statistics (or count it again)", logExclude},
    {"log", "carry", "log carry FILE.log --flights N --time H:MM:SS\n"
                     "                                      flights and flying time carried over from before the log", logCarry},
    {"log", "totals", "log totals FILE.log [--json]       flying time by month and year, sorted first", logTotals},
    {"log", "export", "log export FILE.log --csv OUT.csv [--encoding utf8|cp932]\n"
                      "                                      the log as CSV (UTF-8 with a byte-order mark, or cp932)", logExport},
    {"log", "import", "log import IN.csv OUT.log          add the flights of a CSV to OUT.log (made when missing)", logImport},
    {"log", "import-flights", "log import-flights FILE.log SOURCE... [--dry-run] [--duplicates skip|keep] [--utc-offset H]\n"
                              "                  [--json] [--sites SITES.cup]\n"
                              "                                      flights of IGC and GPX logs (folders searched) into FILE.log",
     logImportFlights},
    {"log", "stats", "log stats FILE.log [--json]        per year, month of the year and site, and the records", logStats},
    {"log", "print", "log print FILE.log --out BOOK.pdf [--from YY/MM/DD --to YY/MM/DD]\n"
                     "                                      the log book on paper: A4 pages with their totals", logPrint},
    {"log", "currency", "log currency FILE.log [--rules RULES.json] [--on YY/MM/DD] [--json]\n"
                        "                                      each rule's count, whether it is met, its rows and when it lapses",
     logCurrency},
    {"gear", "", "gear FILE.log add NAME --kind glider|harness|reserve|instrument [--every-months M]\n"
                 "                  [--every-hours H] [--every-flights N] | use NAME --from YY/MM/DD\n"
                 "                  | check NAME --on YY/MM/DD | due [--on YY/MM/DD] [--json]\n"
                 "                                      the pilot's gear and when each item is due for its check", gear},
    {"baro", "stats", "baro stats FILE [--json]          the statistics of a barograph file", baroStats},
    {"baro", "climbs", "baro climbs FILE [--json]         take-off, landing, every climb and the climb rates flown", baroClimbs},
    {"baro", "render", "baro render FILE --out PICTURE.png|PAGE.pdf [--mono] [--width W] [--log LOG.log --row N]\n"
                       "                  [--view OPERATION...]   draw a barograph as its window does, a PDF as its print",
     baroRender},
    {"baro", "view", "baro view FILE [--width W] [OPERATION...] --json\n"
                     "                                  the view after zoom-in-h, zoom-out-h, zoom-in-v, zoom-out-v,\n"
                     "                                  scroll-left, scroll-right, scroll-up, scroll-down,\n"
                     "                                  pan X0,Y0:X1,Y1 (right button), rubber X0,Y0:X1,Y1 (left button)",
     baroView},
    {"baro", "correct", "baro correct FILE --zero|--takeoff M|--offset M [--out OUT] [--log LOG.log --row N]\n"
                        "                                  shift the altitudes and save as the window does", baroCorrect},
    {"baro", "cut", "baro cut FILE --left SECONDS|--right SECONDS [--out OUT] [--log LOG.log --row N]\n"
                    "                                  cut at a time and save as the window does", baroCut},
    {"baro", "revert", "baro revert FILE [--log LOG.log --row N]\n"
                       "                                  the barograph (and the row) back as downloaded", baroRevert},
    {"baro", "export", "baro export FILE --igc OUT.igc --log LOG.log --row N [--sites SITES.cup] [--site NAME]\n"
                       "                  [--utc-offset +9] [--pilot NAME]\n"
                       "                                      an IGC file of the barograph at the flight's site", baroExport},
    {"send", "", "send name TEXT | param RISE SINK AUTOSET TAKEOFF SOUND BARGRAPH NUMERIC SAMPLING PRINTER\n"
                 "                                      | option OPTION1 BARO THERMO MAXALT ALT2 ALT3 WINDV\n"
                 "                                      --port DEVICE [--delay1 MS --delay2 MS]\n"
                 "                                      send the instrument its settings (choices as the dialogs' indexes)", send},
    {"download", "", "download --port DEVICE --log FILE.log [--barographs] [--new-only] [--trace FILE]\n"
                     "                                      the instrument's log (and barographs) into FILE.log;\n"
                     "                                      --new-only skips flights the log holds already", download},
};

void printUsage(FILE *out)
{
    std::fputs("usage: duvazi-tool <verb> ...\n", out);
    for (const Verb &v : kVerbs)
        std::fprintf(out, "  duvazi-tool %s\n", v.usage);
}

int usage()
{
    printUsage(stderr);
    return 2;
}

} // namespace

// Verbs that draw need fonts, hence a GUI application, which never needs a display.
bool drawsPictures(int argc, char *argv[])
{
    return argc > 2 && ((std::strcmp(argv[1], "baro") == 0 && std::strcmp(argv[2], "render") == 0) ||
                        (std::strcmp(argv[1], "log") == 0 && std::strcmp(argv[2], "print") == 0));
}

int main(int argc, char *argv[])
{
    const bool draws = drawsPictures(argc, argv);
    if (draws && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(draws ? new QGuiApplication(argc, argv)
                                                      : new QCoreApplication(argc, argv));
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        printUsage(stdout);
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        std::printf("duvazi-tool %s\n", DUVAZI_VERSION);
        return 0;
    }
    if (args.size() < 2)
        return usage();
    for (const Verb &v : kVerbs) {
        const bool oneWord = !*v.name; // a verb of one word takes everything after it
        if (args[0] == QLatin1String(v.group) && (oneWord || args[1] == QLatin1String(v.name))) {
            const int rc = v.run(args.mid(oneWord ? 1 : 2));
            if (rc == 2)
                std::fprintf(stderr, "usage: duvazi-tool %s\n", v.usage);
            return finishOut() ? rc : 1;
        }
    }
    return usage();
}
