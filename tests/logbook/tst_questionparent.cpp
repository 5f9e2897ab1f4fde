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
        QTest::newRow("asked by the main window") << false;
        QTest::newRow("asked by the on-top dialog") << true;
    }
    void questionsOpenOverTheOnTopDialog()
    {
        QFETCH(bool, askedByDialog);
        QMainWindow main;
        main.show();
        auto *onTop = new QDialog(&main, Qt::Dialog | Qt::WindowStaysOnTopHint);
        onTop->setAttribute(Qt::WA_DeleteOnClose);
        onTop->show();
        QVERIFY(QTest::qWaitForWindowExposed(onTop));

        QtPrompter prompter(askedByDialog ? static_cast<QWidget *>(onTop) : &main);
        const auto seen = answerNextBox(QMessageBox::Yes);
        const auto answer = prompter.ask(u"送信しますか？", u"確認", Prompter::Buttons::YesNoCancel,
                                         Prompter::Icon::Question);
        QCOMPARE(answer, Prompter::Answer::Yes);
        QCOMPARE(seen->text, QStringLiteral("送信しますか？"));
        QCOMPARE(seen->parent.data(), onTop);
        QVERIFY(seen->onTop);
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
