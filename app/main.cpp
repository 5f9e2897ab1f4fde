// Program entry: the command line, the application, Qt's own Japanese texts, the main window.
#include "app/core/messages.h"
#include "app/core/settingsstore.h"
#include "app/ui/mainform.h"
#include "logbook/core/stallprobe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <cstdio>
#include <exception>

namespace {

// What the command line asks for: the window (with a log to open), or an answer printed.
struct CommandLine {
    enum class Ask { Window, Help, Version, Refused } ask = Ask::Window;
    QString logPath;  ///< as given; empty when none was
    QString refused;  ///< the words not understood
};

// Options are words ("-version" is "--version"), so that a Qt option such as "-platform"
// is one unknown word and not a row of letters.
CommandLine parseCommandLine(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    const bool understood = parser.parse(args);
    CommandLine line;
    if (parser.isSet(help))
        line.ask = CommandLine::Ask::Help;
    else if (parser.isSet(version))
        line.ask = CommandLine::Ask::Version;
    else if (!understood || parser.positionalArguments().size() > 1) {
        line.ask = CommandLine::Ask::Refused;
        QStringList words;
        for (const QString &name : parser.unknownOptionNames())
            words << QStringLiteral("--") + name;
        if (words.isEmpty())
            words = parser.positionalArguments().mid(1);
        line.refused = words.join(u' ');
    } else if (!parser.positionalArguments().isEmpty())
        line.logPath = parser.positionalArguments().constFirst();
    return line;
}

// The options QGuiApplication and QApplication take out of the command line themselves
// (their documented list), and whether each takes the next word as its value. Taking them
// out here lets the command line be judged before the application, which needs a display.
bool isQtOption(const QString &word, bool *takesValue)
{
    static const QStringList withValue = {
        "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
        "qwindowtitle", "session", "display", "geometry", "style", "stylesheet", "title", "name", "visual", "qmljsdebugger"};
    static const QStringList alone = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    QString name = word;
    while (name.startsWith(u'-'))
        name.remove(0, 1);
    if (name.size() == word.size())
        return false; // not an option at all
    *takesValue = !name.contains(u'=') && withValue.contains(name);
    return *takesValue || alone.contains(name) || withValue.contains(name.section(u'=', 0, 0));
}

QStringList withoutQtOptions(const QStringList &args)
{
    QStringList kept;
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool takesValue = false;
        if (i > 0 && isQtOption(args[i], &takesValue))
            i += takesValue ? 1 : 0;
        else
            kept << args[i];
    }
    return kept;
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line is answered before any window or display is needed: --help,
    // --version, and words the program cannot use (a QApplication without a display would
    // abort before it could say so).
    QStringList rawArgs;
    for (int i = 0; i < argc; ++i)
        rawArgs << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = parseCommandLine(withoutQtOptions(rawArgs));
    switch (line.ask) {
    case CommandLine::Ask::Help:
        print(stdout, msg::CommandLineHelp.toString());
        return 0;
    case CommandLine::Ask::Version:
        print(stdout, QStringLiteral("duvazi %1\n").arg(QStringLiteral(DUVAZI_VERSION)));
        return 0;
    case CommandLine::Ask::Refused:
        print(stderr, msg::CommandLineRefused.toString().arg(line.refused) + msg::CommandLineHelp.toString());
        return 2;
    case CommandLine::Ask::Window:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("duvazi"));
    QApplication::setApplicationDisplayName(QStringLiteral("DUVAZI"));
    QApplication::setOrganizationName(QStringLiteral("vevave"));
    QApplication::setApplicationVersion(QStringLiteral(DUVAZI_VERSION));

    QApplication::setDesktopFileName(QStringLiteral("duvazi"));
    QIcon icon;
    for (int size : {32, 64, 256})
        icon.addFile(QStringLiteral(":/icons/duvazi-%1.png").arg(size));
    QApplication::setWindowIcon(icon);

    // Qt's own buttons and dialogs (file dialogs, message box buttons) in the desktop's
    // language where Qt has it, otherwise in Japanese like the rest of the program. English
    // is Qt's own language: an English or unset locale gets Japanese too, so that no
    // "Folder" or "Cancel" stands among the Japanese texts.
    QTranslator qtTranslator;
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale locale;
    const bool english = locale.language() == QLocale::English || locale.language() == QLocale::C;
    if ((!english && qtTranslator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), translations))
        || qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                             translations))
        QApplication::installTranslator(&qtTranslator);

    try {
        // "duvazi FILE.log" opens that log once the window has come up. The path is made
        // absolute first: start-up may change the current folder.
        const QString logPath = line.logPath.isEmpty() ? QString() : QFileInfo(line.logPath).absoluteFilePath();
        TMainForm mainForm(openDefaultSettingsStore());
        mainForm.show();
        if (!logPath.isEmpty())
            QTimer::singleShot(0, &mainForm, [&mainForm, logPath] { mainForm.openLog(logPath); });
        // DUVAZI_STALL_PROBE=MS: every hold of the window's event loop of MS or more is said
        // on the error output, and the longest at the end, for trials of long work through
        // the real windows.
        StallProbe probe;
        bool probing = false;
        const double probeMs = qEnvironmentVariable("DUVAZI_STALL_PROBE").toDouble(&probing);
        if (probing) {
            probe.onStall(probeMs, [](double ms, double at) { std::fprintf(stderr, "stall %.1f ms at %.2f s\n", ms, at); });
            probe.start();
        }
        const int code = QApplication::exec();
        if (probing)
            std::fprintf(stderr, "longest stall %.1f ms\n", probe.stop());
        return code;
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QStringLiteral("DUVAZI"), QString::fromLocal8Bit(e.what()));
        return 1;
    }
}
