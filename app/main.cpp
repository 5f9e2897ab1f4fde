// Program entry: the application, Qt's own Japanese texts, the main window.
#include "app/core/settingsstore.h"
#include "app/ui/mainform.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <exception>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("duvazi"));
    QApplication::setApplicationDisplayName(QStringLiteral("DUVAZI"));
    QApplication::setOrganizationName(QStringLiteral("vevave"));
    QApplication::setApplicationVersion(QStringLiteral(DUVAZI_VERSION));

    // Qt's own buttons and dialogs speak Japanese like the rest of the program.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    try {
        // "duvazi FILE.log" opens that log once the window has come up. The path is made
        // absolute first: start-up may change the current folder.
        const QStringList args = QApplication::arguments();
        const QString logPath = args.size() > 1 ? QFileInfo(args.at(1)).absoluteFilePath() : QString();
        TMainForm mainForm(openDefaultSettingsStore());
        mainForm.show();
        if (!logPath.isEmpty())
            QTimer::singleShot(0, &mainForm, [&mainForm, logPath] { mainForm.openLog(logPath); });
        return QApplication::exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, QStringLiteral("DUVAZI"), QString::fromLocal8Bit(e.what()));
        return 1;
    }
}
