// Where the program's questions open: over an on-top dialog that is up, whatever window
// asked, and a box whose dialog is destroyed while it waits answers Cancel instead of
// returning into freed memory.
#include "logbook/ui/prompter.h"
#include "logbook/ui/questionparent.h"
#include "tests/common/modalbox.h"

#include <QDialog>
#include <QMainWindow>
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
};

QTEST_MAIN(TestQuestionParent)
#include "tst_questionparent.moc"
