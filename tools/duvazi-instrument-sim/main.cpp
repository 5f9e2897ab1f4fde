// duvazi-instrument-sim: the simulated instrument on a pseudo-terminal. Prints the terminal's
// path on standard output, then answers whatever opens it until it is stopped. What the host
// sends is logged on standard error with --verbose.
#include "device/sim/ptyinstrument.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

// "silent", "cut:N", "corrupt:N", "garbage", "babble:N", "hangup:N", each optionally with
// "@log" or "@baro" to misbehave in that reply only, or "@baroK" in flight K's barograph only.
std::optional<Misbehaviour> parseFault(QString text)
{
    Misbehaviour m;
    const qsizetype at = text.lastIndexOf(u'@');
    if (at >= 0) {
        const QString where = text.mid(at + 1);
        text.truncate(at);
        if (where == u"log") {
            m.target = Misbehaviour::Target::LogReply;
        } else if (where.startsWith(u"baro")) {
            m.target = Misbehaviour::Target::BarographReply;
            bool ok = true;
            m.flight = where.size() > 4 ? where.mid(4).toInt(&ok) : 0;
            if (!ok || m.flight < 0)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    const QString kind = text.section(u':', 0, 0);
    bool ok = true;
    m.n = text.contains(u':') ? text.section(u':', 1).toInt(&ok) : 0;
    using K = Misbehaviour::Kind;
    static const std::pair<const char *, K> kinds[] = {{"none", K::None},       {"silent", K::NoAnswer},
                                                      {"cut", K::CutAfter},    {"corrupt", K::CorruptByte},
                                                      {"garbage", K::Garbage}, {"babble", K::Babble},
                                                      {"hangup", K::HangUp}};
    for (const auto &[name, k] : kinds) {
        if (kind == QLatin1String(name) && ok) {
            m.kind = k;
            return m;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The DIV-EVODU-REV instrument, simulated on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption flightsOption(QStringLiteral("flights"), QStringLiteral("Flights in its log (default 6)."),
                                           QStringLiteral("N"), QStringLiteral("6"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the flights (default 1)."),
                                        QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption longOption(QStringLiteral("long"),
                                        QStringLiteral("Adds a flight of SECONDS at INTERVAL s per sample (repeatable)."),
                                        QStringLiteral("SECONDS:INTERVAL"));
    const QCommandLineOption twinOption(QStringLiteral("same-minute"),
                                        QStringLiteral("Adds a flight in the same minute as flight K (repeatable)."),
                                        QStringLiteral("K"));
    const QCommandLineOption rateOption(QStringLiteral("bytes-per-second"),
                                        QStringLiteral("Pace of its answers (default 480, the real line; 0 = no pace)."),
                                        QStringLiteral("N"), QStringLiteral("480"));
    const QCommandLineOption piecesOption(QStringLiteral("pieces"),
                                          QStringLiteral("Largest piece written at once (default: no limit)."),
                                          QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption faultOption(
        QStringLiteral("fail"),
        QStringLiteral("Misbehave: silent, cut:N, corrupt:N, garbage, babble:N or hangup:N, optionally @log, @baro "
                       "or @baroK (flight K's barograph only)."),
        QStringLiteral("MODE"));
    const QCommandLineOption keepSendingOption(
        QStringLiteral("keep-sending"),
        QStringLiteral("Finish every reply, even one the host gave up on, before answering the next request."));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"), QStringLiteral("Log the requests on standard error."));
    const QCommandLineOption untilInputEndsOption(
        QStringLiteral("until-input-ends"),
        QStringLiteral("Stop when standard input closes (the program that started it has ended)."));
    parser.addOptions({flightsOption, seedOption, longOption, twinOption, rateOption, piecesOption, faultOption, keepSendingOption,
                       verboseOption, untilInputEndsOption});
    parser.process(app);

    PtyInstrument sim;
    sim.engine.flights = demoFlights(parser.value(flightsOption).toInt(), parser.value(seedOption).toUInt());
    for (const QString &spec : parser.values(longOption))
        sim.engine.flights.push_back(longFlight(spec.section(u':', 0, 0).toInt(), qMax(1, spec.section(u':', 1).toInt())));
    int twins = 0;
    for (const QString &spec : parser.values(twinOption)) {
        const int k = spec.toInt();
        if (k < 1 || k > int(sim.engine.flights.size())) {
            std::fprintf(stderr, "duvazi-instrument-sim: --same-minute names no flight\n");
            return 2;
        }
        sim.engine.flights.push_back(sameMinuteFlight(sim.engine.flights[size_t(k - 1)], ++twins));
    }
    sim.bytesPerSecond = parser.value(rateOption).toInt();
    sim.pieceSize = parser.value(piecesOption).toInt();
    sim.engine.keepsSending = parser.isSet(keepSendingOption);
    if (parser.isSet(faultOption)) {
        const std::optional<Misbehaviour> fault = parseFault(parser.value(faultOption));
        if (!fault) {
            std::fprintf(stderr, "duvazi-instrument-sim: unknown --fail mode\n");
            return 2;
        }
        sim.engine.misbehaviour = *fault;
    }
    if (!sim.start()) {
        std::fprintf(stderr, "duvazi-instrument-sim: %s\n", qPrintable(sim.errorString()));
        return 1;
    }
    if (parser.isSet(verboseOption)) {
        QObject::connect(&sim, &PtyInstrument::hostBytes, [&sim](const QByteArray &bytes) {
            std::fprintf(stderr, "%12.3f ms  < %s\n", double(sim.elapsedUs()) / 1000.0,
                         bytes.toPercentEncoding(" ").constData());
        });
    }
    QObject::connect(&sim, &PtyInstrument::hungUp, &app, [] {
        std::fprintf(stderr, "duvazi-instrument-sim: hung up\n");
        QCoreApplication::exit(0);
    });
    // A program that starts us and then dies without a word must not leave us running.
    if (parser.isSet(untilInputEndsOption)) {
        auto *input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
        QObject::connect(input, &QSocketNotifier::activated, &app, [input] {
            char buffer[256];
            if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                input->setEnabled(false);
                QCoreApplication::exit(0);
            }
        });
    }
    std::printf("%s\n", qPrintable(sim.path()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
