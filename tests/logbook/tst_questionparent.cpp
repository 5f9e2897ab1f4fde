// Where the program's questions open: over an on-top dialog that is up, whatever window
// asked, and a box whose dialog is destroyed while it waits answers Cancel instead of
// returning into freed memory. The save dialog adds the extension of the type chosen.
#include "logbook/ui/prompter.h"
#include "logbook/ui/questionparent.h"
#include "tests/common/modalbox.h"

#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QtTest/QTest>

class TestQuestionParent : public QObject {
    Q_OBJECT
private slots:
    void questionsOpenOverTheOnTopDialog_data()
    {
        QTest::addColumn<bool>("askedByDialog");
        QTest::addColumn<bool>("closesByItself"); // then the box stays with the main window
        QTest::newRow("asked by the main window") << false << false;
        QTest::newRow("asked by the on-top dialog") << true << false;
        QTest::newRow("asked by the main window, a progress window up") << false << true;
        QTest::newRow("asked by a dialog about to close") << true << true;
    }
    void questionsOpenOverTheOnTopDialog()
    {
        QFETCH(bool, askedByDialog);
        QFETCH(bool, closesByItself);
        QMainWindow main;
        main.show();
        auto *onTop = new QDialog(&main, Qt::Dialog | Qt::WindowStaysOnTopHint);
        onTop->setAttribute(Qt::WA_DeleteOnClose);
        if (closesByItself)
            markClosesByItself(*onTop);
        onTop->show();
        QVERIFY(QTest::qWaitForWindowExposed(onTop));

        QtPrompter prompter(askedByDialog ? static_cast<QWidget *>(onTop) : &main);
        const auto seen = answerNextBox(QMessageBox::Yes);
        const auto answer = prompter.ask(u"送信しますか？", u"確認", Prompter::Buttons::YesNoCancel,
                                         Prompter::Icon::Question);
        QCOMPARE(answer, Prompter::Answer::Yes);
        QCOMPARE(seen->text, QStringLiteral("送信しますか？"));
        QCOMPARE(seen->parent.data(), closesByItself ? static_cast<QWidget *>(&main) : onTop);
        QVERIFY(seen->onTop); // seen above the on-top window all the same
    }

    void aQuestionInsideAModalLoopOpensOverIt()
    {
        QMainWindow main;
        main.show();
        QDialog modal(&main);
        QtPrompter prompter(&main);
        std::shared_ptr<SeenBox> inner;
        whenBoxOpens([&](QWidget *) {
            inner = answerNextBox(QMessageBox::Ok);
            prompter.inform(u"範囲外です。");
            modal.accept();
        });
        modal.exec();
        QVERIFY(inner);
        QCOMPARE(inner->parent.data(), &modal);
    }

    void aBoxWhoseDialogGoesAwayAnswersCancel()
    {
        QMainWindow main;
        main.show();
        QPointer<QDialog> onTop = new QDialog(&main, Qt::Dialog | Qt::WindowStaysOnTopHint);
        onTop->setAttribute(Qt::WA_DeleteOnClose);
        onTop->show();
        QtPrompter prompter(&main);
        whenBoxOpens([onTop](QWidget *) { onTop->close(); });
        const auto answer = prompter.ask(u"送信しますか？", u"確認", Prompter::Buttons::YesNoCancel,
                                         Prompter::Icon::Question);
        QCOMPARE(answer, Prompter::Answer::Cancel);
        QTRY_VERIFY(onTop.isNull());
    }

    // A name typed without an extension is saved with the chosen type's, so that the file is
    // listed by the open dialog of its type.
    void saveDialogsAddTheChosenTypesExtension_data()
    {
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<int>("preselected");
        QTest::addColumn<int>("switchedTo"); // -1: the pilot keeps the preselected type
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        const QStringList csv{QStringLiteral("CSV(UTF-8)(*.csv)"), QStringLiteral("テキスト(*.txt)")};
        QTest::newRow("settings file") << QStringList{QStringLiteral("機器設定ファイル(*.dvs)")} << 0 << -1 << "mine" << "mine.dvs";
        QTest::newRow("pdf typed whole") << QStringList{QStringLiteral("PDF(*.pdf)")} << 0 << -1 << "book.pdf" << "book.pdf";
        QTest::newRow("second type preselected") << csv << 1 << -1 << "list" << "list.txt";
        QTest::newRow("type switched in the dialog") << csv << 1 << 0 << "list" << "list.csv";
        QTest::newRow("no type") << QStringList{} << 0 << -1 << "V1010304" << "V1010304";
    }
    void saveDialogsAddTheChosenTypesExtension()
    {
        QFETCH(QStringList, filters);
        QFETCH(int, preselected);
        QFETCH(int, switchedTo);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QTemporaryDir dir;
        QtPrompter prompter(nullptr);
        whenBoxOpens([&](QWidget *box) {
            auto *dialog = qobject_cast<QFileDialog *>(box);
            QVERIFY(dialog);
            if (switchedTo >= 0) {
                auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
                types->setCurrentIndex(switchedTo);
                emit types->activated(switchedTo); // as a pick with the mouse sends them
                emit types->textActivated(types->itemText(switchedTo));
            }
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        int chosen = preselected;
        const QString path = filters.size() == 1 ? prompter.chooseSaveFile(filters[0], dir.path())
                             : filters.isEmpty() ? prompter.chooseSaveFileKeepingOld(QStringView(), dir.path())
                                                 : prompter.chooseSaveFileAmong(filters, dir.path(), &chosen);
        QCOMPARE(path, dir.filePath(saved));
        if (filters.size() > 1)
            QCOMPARE(chosen, switchedTo >= 0 ? switchedTo : preselected);
    }
};

QTEST_MAIN(TestQuestionParent)
#include "tst_questionparent.moc"
