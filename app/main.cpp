// Program entry: the application, Qt's own Japanese texts, the main window.
#include "app/core/settingsstore.h"
#include "app/ui/mainform.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
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
