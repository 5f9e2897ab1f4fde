// "send": the instrument's settings from the command line, through the program's own
// messages and upload procedure on a real port.
#include "output.h"
#include "stderrprompter.h"
#include "verbs.h"

#include "device/core/instrumentsettings.h"
#include "device/core/portsession.h"
#include "device/serial/tcomm.h"
#include "logbook/core/logbook.h"
#include "logbook/core/text/cp932.h"

#include <QCoreApplication>
#include <QTimer>

#include <optional>

namespace {

std::optional<int> number(const QString &text, int count)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok && v >= 0 && v < count ? std::optional<int>(v) : std::nullopt;
}

std::optional<bool> flag(const QString &text)
{
    const std::optional<int> v = number(text, 2);
    return v ? std::optional<bool>(*v == 1) : std::nullopt;
}

// The request of a "send" line, or a message on standard error.
std::optional<Uploader::Request> requestOf(const QStringList &values, const QString &what, int delay1, int delay2)
{
    using std::chrono::milliseconds;
    if (what == u"name" && values.size() == 1) {
        if (!cp932::canEncode(values[0])) {
            report(QStringLiteral("フライヤー名に使えない文字があります。"));
            return std::nullopt;
        }
        return Uploader::Request{'F', instrument::flyerNameMessage(cp932::fromUnicode(values[0])), milliseconds(80),
                                 milliseconds(10)};
    }
    if (what == u"param" && values.size() == 9) {
        bool riseOk = false;
        bool sinkOk = false;
        ParameterSettings p;
        p.rise = values[0].toFloat(&riseOk);
        p.sink = values[1].toFloat(&sinkOk);
        const auto autoSet = flag(values[2]);
        const auto takeOff = flag(values[3]);
        const auto sound = number(values[4], instrument::kChoices);
        const auto barGraph = number(values[5], instrument::kChoices);
        const auto numeric = number(values[6], instrument::kChoices);
        const auto sampling = number(values[7], instrument::kSamplingChoices);
        const auto printer = number(values[8], 2);
        if (!riseOk || !sinkOk || !instrument::isThresholdInRange(p.rise) || !instrument::isThresholdInRange(p.sink)) {
            report(QStringLiteral("上昇音、下降音は0.1から4.0までです。"));
            return std::nullopt;
        }
        if (!autoSet || !takeOff || !sound || !barGraph || !numeric || !sampling || !printer) {
            report(QStringLiteral("値が範囲外です。"));
            return std::nullopt;
        }
        p.autoSet = *autoSet;
        p.takeOff = *takeOff;
        p.sound = *sound;
        p.barGraph = *barGraph;
        p.numeric = *numeric;
        p.sampling = *sampling;
        p.printer = *printer;
        return Uploader::Request{'P', instrument::parameterMessage(p), milliseconds(delay1), milliseconds(delay2)};
    }
    if (what == u"option" && values.size() == 7) {
        const auto option1 = number(values[0], instrument::kOption1Choices);
        std::optional<bool> items[6];
        for (int i = 0; i < 6; ++i)
            items[i] = flag(values[1 + i]);
        if (!option1 || std::any_of(std::begin(items), std::end(items), [](const auto &b) { return !b; })) {
            report(QStringLiteral("値が範囲外です。"));
            return std::nullopt;
        }
        const OptionSettings o{*option1, *items[0], *items[1], *items[2], *items[3], *items[4], *items[5]};
        if (!instrument::isValid(o)) {
            report(QStringLiteral("ｵﾌﾟｼｮﾝ表示２は最大４ｱｲﾃﾑまでです。"));
            return std::nullopt;
        }
        return Uploader::Request{'O', instrument::optionMessage(o), milliseconds(delay1), milliseconds(delay2)};
    }
    return std::nullopt;
}

} // namespace

int send(const QStringList &args)
{
    if (args.isEmpty())
        return 2;
    const QString what = args[0];
    QString port;
    int delay1 = 120;
    int delay2 = 10;
    QStringList values;
    for (int i = 1; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == u"--port" && i + 1 < args.size())
            port = args[++i];
        else if (args[i] == u"--delay1" && i + 1 < args.size())
            delay1 = qMax(0, args[++i].toInt(&ok));
        else if (args[i] == u"--delay2" && i + 1 < args.size())
            delay2 = qMax(0, args[++i].toInt(&ok));
        else
            values << args[i];
        if (!ok)
            return 2;
    }
    if (port.isEmpty() || (what != u"name" && what != u"param" && what != u"option"))
        return 2;
    const std::optional<Uploader::Request> request = requestOf(values, what, delay1, delay2);
    if (!request)
        return values.size() == (what == u"name" ? 1 : what == u"param" ? 9 : 7) ? 1 : 2;

    TComm comm;
    LogBook book;
    DownloadState state;
    QTimer loadTimer;
    StderrPrompter prompter;
    NoWindowsObserver downloads; // a send starts none
    PortSession session(comm, [&] { return port; }, book, state, prompter, downloads, loadTimer);
    bool sent = false;
    QObject::connect(&session, &PortSession::uploadFinished, [&](bool allSent) {
        sent = allSent;
        QCoreApplication::exit(0);
    });
    if (!session.startUpload(*request))
        return 1;
    QCoreApplication::exec();
    if (!sent)
        return 1;
    report(QStringLiteral("sent: %1 + %2 bytes").arg(QLatin1Char(request->command)).arg(request->message.size()));
    return 0;
}
