// The settings dialogs: what OK sends and stores for each answer, the checks, the option
// items' limit, the delays, and the settings file that fills a dialog without sending; where
// the keyboard is when they open; and, on the port session with the simulated instrument and
// the real boxes, a dialog closed while it sends, OK while "送信終了" shows, and a second
// upload while one sends.
#include "device/core/messages.h"
#include "device/core/portsession.h"
#include "logbook/core/logbook.h"
#include "device/serial/tcomm.h"
#include "device/sim/ptyinstrument.h"
#include "device/ui/settingsdialogs.h"
#include "logbook/ui/prompter.h"
#include "tests/common/modalbox.h"
#include "tests/common/scriptedprompter.h"
#include "tests/device/rununtil.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FakeSender : public SettingsSender {
public:
    std::vector<Request> sent;
    std::function<void(int)> progress;
    std::function<void(bool)> finished;
    bool refuse = false;
    PortSession *session = nullptr; ///< when set, the upload is the session's
    std::pair<int, int> delays{120, 10};
    QByteArray name = "OLD";
    ParameterSettings params;
    OptionSettings opts;
    int stores = 0;

    bool startUpload(const Request &r, QObject *listener, std::function<void(int)> p, std::function<void(bool)> f) override
    {
        if (session)
            return session->startUpload(r, listener, std::move(p), std::move(f));
        if (refuse)
            return false;
        sent.push_back(r);
        progress = std::move(p);
        finished = std::move(f);
        return true;
    }
    std::pair<int, int> sendDelays() const override { return delays; }
    void setSendDelays(int a, int b) override { delays = {a, b}; }
    QByteArray flyerName() const override { return name; }
    void storeFlyerName(const QByteArray &n) override { name = n, ++stores; }
    ParameterSettings parameters() const override { return params; }
    void storeParameters(const ParameterSettings &s) override { params = s, ++stores; }
    OptionSettings options() const override { return opts; }
    void storeOptions(const OptionSettings &s) override { opts = s, ++stores; }
};

using Answer = Prompter::Answer;

// The dialogs on a real port session, the simulated instrument on a pseudo-terminal, and the
// program's own boxes.
struct PortRig {
    PtyInstrument sim;
    TComm comm;
    LogBook book;
    DownloadState state;
    QTimer loadTimer;
    QtPrompter prompter{nullptr};
    NoWindowsObserver observer;
    PortSession session{comm, [this] { return sim.path(); }, book, state, prompter, observer, loadTimer};
    FakeSender sender;
    int ends = 0;

    PortRig()
    {
        sim.start();
        sender.session = &session;
        QObject::connect(&session, &PortSession::uploadFinished, [this] { ++ends; });
    }
    /// A name dialog that has been answered Yes and is sending `name`.
    TFormName *sending(const QString &name)
    {
        auto *dialog = new TFormName(sender, prompter);
        dialog->show();
        dialog->EditFName->setText(name);
        answerNextBox(QMessageBox::Yes);
        dialog->BBOK->click();
        return dialog;
    }
    QByteArrayList received() const
    {
        QByteArrayList out;
        for (const auto &m : sim.engine.settingsMessages())
            out << m.bytes;
        return out;
    }
};

} // namespace

class TestSettingsDialogs : public QObject {
    Q_OBJECT
private slots:
    void nameAnswers();
    void parametersSendWhatTheyShow();
    void thresholdOutOfRangeSendsNothing();
    void fourOptionItemsAtMost();
    void delays();
    void settingsFileFillsWithoutSending();
    void keyboardStartsInTheFirstField();
    void closingWhileSendingLetsTheMessageFinish_data();
    void closingWhileSendingLetsTheMessageFinish();
    void okWhileSentShowsAsksNothing();
    void secondUploadIsToldToWait();
};

void TestSettingsDialogs::nameAnswers()
{
    FakeSender sender;
    ScriptedPrompter prompter;
    // Cancel: nothing stored, the dialog stays.
    QPointer<TFormName> dialog = new TFormName(sender, prompter);
    dialog->show();
    dialog->EditFName->setText(QStringLiteral("ABCDE"));
    prompter.answers = {Answer::Cancel};
    dialog->BBOK->click();
    QCOMPARE(prompter.asked.back().text, QStringLiteral("DIV-EVODU-REV に送信しますか？"));
    QCOMPARE(sender.stores, 0);
    QVERIFY(dialog && dialog->isVisible());
    // No: stored, nothing sent, closed.
    prompter.answers = {Answer::No};
    dialog->BBOK->click();
    QCOMPARE(sender.name, QByteArray("ABCDE"));
    QVERIFY(sender.sent.empty());
    QTRY_VERIFY(!dialog);
    // Yes: stored and sent; locked until it closes, "送信終了" showing at the end.
    dialog = new TFormName(sender, prompter);
    dialog->show();
    QCOMPARE(dialog->EditFName->text(), QStringLiteral("ABCDE"));
    prompter.answers = {Answer::Yes};
    dialog->BBOK->click();
    QCOMPARE(sender.sent.size(), size_t(1));
    QCOMPARE(sender.sent[0].command, 'F');
    QCOMPARE(sender.sent[0].message, QByteArray("ABCDE           "));
    QCOMPARE(sender.sent[0].afterCommand, std::chrono::milliseconds(80));
    QCOMPARE(sender.sent[0].afterByte, std::chrono::milliseconds(10));
    QVERIFY(!dialog->BBOK->isEnabled());
    sender.progress(93);
    QCOMPARE(dialog->ProgressBar->value(), 93);
    sender.finished(true);
    QVERIFY(dialog->Label->isVisible() && !dialog->ProgressBar->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog, 3000);
}

void TestSettingsDialogs::parametersSendWhatTheyShow()
{
    FakeSender sender;
    sender.delays = {300, 50};
    ScriptedPrompter prompter;
    auto *dialog = new TFormParam(sender, prompter);
    dialog->show();
    dialog->EDRise->setText(QStringLiteral("1.5"));
    dialog->EDSink->setText(QStringLiteral("0.3"));
    dialog->RGTakeoff->button(1)->setChecked(true);
    dialog->RBSound->button(4)->setChecked(true);
    dialog->RBPrinter->button(1)->setChecked(true);
    prompter.answers = {Answer::Yes};
    dialog->BBOK->click();
    QCOMPARE(sender.sent.size(), size_t(1));
    QCOMPARE(sender.sent[0].command, 'P');
    QCOMPARE(sender.sent[0].message, QByteArray("11" "0000" "15" "03" "00" "7<?\?64" "58?\?28" "58?\?28" "04" "00" "00" "1"));
    QCOMPARE(sender.sent[0].afterCommand, std::chrono::milliseconds(300));
    QCOMPARE(sender.sent[0].afterByte, std::chrono::milliseconds(50));
    QCOMPARE(sender.params.rise, 1.5f);
    // A port that does not open: the values stay stored, the dialog open for another try.
    sender.finished(false);
    QVERIFY(dialog->BBOK->isEnabled() && dialog->EDRise->isEnabled() && dialog->isVisible());
    delete dialog;
}

void TestSettingsDialogs::thresholdOutOfRangeSendsNothing()
{
    FakeSender sender;
    ScriptedPrompter prompter;
    TFormParam dialog(sender, prompter);
    for (const char *text : {"0.0", "4.1", "._"}) {
        dialog.EDRise->setText(QString::fromLatin1(text));
        dialog.BBOK->click();
    }
    QCOMPARE(prompter.informed, QStringList(3, QStringLiteral("上昇音、下降音は0.1から4.0までです。")));
    QVERIFY(prompter.asked.empty());
    QCOMPARE(sender.stores, 0);
}

void TestSettingsDialogs::fourOptionItemsAtMost()
{
    FakeSender sender;
    sender.opts = {0, true, true, true, true, true, true}; // six, from edited settings
    ScriptedPrompter prompter;
    TFormOption dialog(sender, prompter);
    QCOMPARE(dialog.optionCount(), 4);
    QVERIFY(!dialog.CBAlt3->isEnabled() && !dialog.CBWindV->isEnabled() && dialog.CBBaro->isEnabled());
    dialog.CBBaro->click(); // unchecking one enables all again
    QCOMPARE(dialog.optionCount(), 3);
    QVERIFY(dialog.CBAlt3->isEnabled() && dialog.CBWindV->isEnabled());
    prompter.answers = {Answer::Yes};
    dialog.BBOK->click();
    QCOMPARE(sender.sent.size(), size_t(1));
    QCOMPARE(sender.sent[0].command, 'O');
    QCOMPARE(sender.sent[0].message[1], '3');
}

void TestSettingsDialogs::delays()
{
    FakeSender sender;
    ScriptedPrompter prompter;
    QPointer<TFormDelay> dialog = new TFormDelay(sender, prompter);
    dialog->show();
    QCOMPARE(dialog->Delay1->text(), QStringLiteral("120"));
    dialog->Delay1->setText(QStringLiteral("0"));
    dialog->Delay2->setText(QStringLiteral("x"));
    dialog->BitBtn1->click();
    QCOMPARE(prompter.informed.size(), 1);
    QCOMPARE(sender.delays, std::make_pair(120, 10)); // neither taken
    QVERIFY(dialog);
    dialog->Delay2->setText(QStringLiteral("-5"));
    dialog->BitBtn1->click();
    QCOMPARE(sender.delays, std::make_pair(0, 0));
    QTRY_VERIFY(!dialog);
}

void TestSettingsDialogs::settingsFileFillsWithoutSending()
{
    QTemporaryDir dir;
    FakeSender sender;
    ScriptedPrompter prompter;
    TFormOption first(sender, prompter);
    first.CBThermo->click();
    first.RGOption1->button(3)->setChecked(true);
    prompter.files = {dir.filePath("club.dvs")};
    first.BBSaveFile->click();

    TFormOption second(sender, prompter);
    prompter.files = {dir.filePath("club.dvs")};
    second.BBLoadFile->click();
    QVERIFY(second.CBThermo->isChecked());
    QCOMPARE(second.RGOption1->checkedId(), 3);
    QVERIFY(sender.sent.empty() && prompter.asked.empty() && sender.stores == 0);
}

void TestSettingsDialogs::keyboardStartsInTheFirstField()
{
    FakeSender sender;
    ScriptedPrompter prompter;
    auto *name = new TFormName(sender, prompter);
    auto *param = new TFormParam(sender, prompter);
    auto *option = new TFormOption(sender, prompter);
    auto *delay = new TFormDelay(sender, prompter);
    const std::pair<QDialog *, QWidget *> dialogs[] = {
        {name, name->EditFName}, {param, param->EDRise}, {option, option->RGOption1->button(0)}, {delay, delay->Delay1}};
    for (const auto &[dialog, first] : dialogs) {
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QCOMPARE(dialog->focusWidget(), first);
        delete dialog;
    }
}

void TestSettingsDialogs::closingWhileSendingLetsTheMessageFinish_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel") << QStringLiteral("cancel");
    QTest::newRow("the window's close button") << QStringLiteral("close");
    QTest::newRow("Esc") << QStringLiteral("escape");
}

void TestSettingsDialogs::closingWhileSendingLetsTheMessageFinish()
{
    QFETCH(QString, how);
    PortRig rig;
    QPointer<TFormName> dialog = rig.sending(QStringLiteral("ABCDE"));
    QVERIFY(rig.session.isUploading());
    QVERIFY(!dialog->BBOK->isEnabled() && !dialog->EditFName->isEnabled() && dialog->BBCancel->isEnabled());
    QVERIFY(runUntil([&] { return dialog->ProgressBar->value() > 0; }));
    if (how == u"cancel")
        dialog->BBCancel->click();
    else if (how == u"close")
        dialog->close();
    else
        QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(!dialog || !dialog->isVisible());
    QVERIFY(rig.session.isUploading());
    QVERIFY(runUntil([&] { return rig.ends == 1 && rig.received().size() == 1; }));
    QCOMPARE(rig.received(), QByteArrayList{"ABCDE           "});
    QVERIFY(!rig.comm.isOpen());
    delete dialog; // one hidden by Esc
}

void TestSettingsDialogs::okWhileSentShowsAsksNothing()
{
    PortRig rig;
    QPointer<TFormName> dialog = rig.sending(QStringLiteral("ABCDE"));
    QVERIFY(runUntil([&] { return rig.ends == 1; }));
    QVERIFY(dialog->Label->isVisible());
    // OK by mouse and by Enter, while the dialog is about to close by itself. A question
    // would open at once; the watch ends before the dialog closes.
    const std::shared_ptr<SeenBox> box = answerNextBox(QMessageBox::Yes, 1000);
    QTest::mouseClick(dialog->BBOK, Qt::LeftButton);
    QTest::keyClick(dialog, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog, 3000);
    QVERIFY(box->text.isEmpty());
    QCOMPARE(rig.received(), QByteArrayList{"ABCDE           "});
}

void TestSettingsDialogs::secondUploadIsToldToWait()
{
    PortRig rig;
    QPointer<TFormName> first = rig.sending(QStringLiteral("FIRST"));
    QVERIFY(rig.session.isUploading());
    QPointer<TFormName> second = new TFormName(rig.sender, rig.prompter);
    second->show();
    second->EditFName->setText(QStringLiteral("SECOND"));
    // The refusal is read slowly: the first upload ends while it is open. The second
    // dialog hears nothing of that upload (it once showed "送信終了" and closed, its own
    // message never sent).
    QString refusal;
    bool endedWhileOpen = false;
    whenBoxOpens([&](QWidget *box) {
        whenBoxOpens([&](QWidget *refused) {
            QPointer<QMessageBox> shown = qobject_cast<QMessageBox *>(refused);
            refusal = shown->text();
            // The first dialog shows 送信終了 and goes: the refusal must not go with it.
            endedWhileOpen = runUntil([&] { return rig.ends == 1 && !first; });
            QVERIFY(shown);
            shown->button(QMessageBox::Ok)->click();
        }, 20000);
        qobject_cast<QMessageBox *>(box)->button(QMessageBox::Yes)->click();
    });
    second->BBOK->click();
    QCOMPARE(refusal, msg::SendWhileSending.toString());
    QVERIFY(endedWhileOpen);
    QVERIFY(second && second->BBOK->isEnabled()); // ready for another try
    QVERIFY(!second->Label->isVisible() && !second->ProgressBar->isVisible());
    QCOMPARE(rig.sender.name, QByteArray("FIRST")); // nothing stored as if sent
    QTest::qWait(2000); // longer than "送信終了" would stand
    QVERIFY(second && second->isVisible());
    QCOMPARE(rig.received(), QByteArrayList{"FIRST           "});
    delete second;
}

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settingsdialogs.moc"
