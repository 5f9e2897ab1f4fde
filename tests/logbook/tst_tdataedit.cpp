// The record editor on a fake main window: what OK writes (only what the pilot changed) and
// in which formats, Enter and Esc, the number filter for typing and pasting, new flights,
// byte limits, and the events it raises.
#include "logbook/core/logbook.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/tdataedit.h"
#include "tests/common/fakemainformlink.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QPointer>

#include <functional>

namespace {

// Three flights, the first as the instrument delivered it.
void fillThreeFlights(LogBook &book)
{
    for (int i = 0; i < 3; ++i) {
        FlightRecord &f = book.appendRow();
        f.date = "24/05/0" + QByteArray::number(i + 3);
        f.time = "10:21:05";
        f.area = cp932::fromUnicode(u"足尾山");
        f.duration = "01:12:40";
        f.maxAltitude = "0345 m";
        f.maxClimb = "05.4 m/s";
        f.comment = "thermal\r\nwind";
        f.barographFile = "24050310.BRG";
        f.deviceIndex = i + 1;
    }
    book.renumber();
}

struct Rig {
    FakeMainFormLink link;
    QPointer<TDataEdit> editor;

    explicit Rig(int row, const std::function<void(FlightRecord &)> &change = {})
    {
        fillThreeFlights(link.book);
        if (change)
            change(link.book.row(row));
        link.gridRows = link.book.rowCount();
        link.row = row;
        link.area.show();
        editor = new TDataEdit(link);
        // What the editor announces, in order with what it asks of the link.
        QStringList &events = link.events;
        QObject::connect(editor, &TDataEdit::editorShown, [&events](bool n) { events << QStringLiteral("editorShown %1").arg(n); });
        QObject::connect(editor, &TDataEdit::editorSaved, [&events] { events << QStringLiteral("editorSaved"); });
        QObject::connect(editor, &TDataEdit::editorClosed, [&events](bool n) { events << QStringLiteral("editorClosed %1").arg(n); });
        editor->show();
    }
    ~Rig() { delete editor.data(); }
};

} // namespace

class TestTDataEdit : public QObject {
    Q_OBJECT
private slots:
    void okWithoutChangesStoresNothing();
    void okKeepsWhatChangedElsewhere();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void numberFilterRestoresTypingAndPasting();
    void newFlightAppendsOneRow();
    void textsKeepToTheirFieldWidths();
    void cancelStoresNothing();
    void editKeepsTheBytesOfUntouchedCharacters();
};

void TestTDataEdit::okWithoutChangesStoresNothing()
{
    Rig rig(1);
    QCOMPARE(rig.editor->LabelNum->text(), QStringLiteral(" Flight #1 "));
    QCOMPARE(rig.editor->EdMaxH->text(), QStringLiteral("345.0"));
    QCOMPARE(rig.editor->EdMaxRise->text(), QStringLiteral("5.4"));
    QCOMPARE(rig.editor->Memo->toPlainText(), QStringLiteral("thermal\nwind"));
    QVERIFY(rig.link.book.row(1).editorOpen);
    QCOMPARE(rig.editor->size(), QSize(500, 320));
    QCOMPARE(rig.editor->focusWidget(), rig.editor->EdDate);
    const FlightRecord before = rig.link.book.row(1);

    rig.editor->BBOk->click();
    QTRY_VERIFY(!rig.editor); // closed and gone
    // The instrument's formats stay as they were, byte for byte.
    const FlightRecord &f = rig.link.book.row(1);
    for (int i = 0; i < kFieldCount; ++i)
        QCOMPARE(f.fieldText(Field(i)).toByteArray(), before.fieldText(Field(i)).toByteArray());
    QVERIFY(!f.editorOpen);
    QVERIFY(!rig.link.book.logModified);
    QCOMPARE(rig.link.events, QStringList({"editorShown 0", "editorClosed 0"}));
}

void TestTDataEdit::okKeepsWhatChangedElsewhere()
{
    Rig rig(2);
    // While the editor is open, a download names the barograph and a barograph window
    // saves its figures back; the pilot changes only the site.
    FlightRecord &row = rig.link.book.row(2);
    row.barographFile = "24050411.BRG";
    row.maxAltitude = "1234 m";
    rig.editor->EdArea->setText(QStringLiteral("筑波山"));
    rig.editor->BBOk->click();
    QCOMPARE(row.area, cp932::fromUnicode(u"筑波山"));
    QCOMPARE(row.barographFile, "24050411.BRG");
    QCOMPARE(row.maxAltitude, "1234 m");
    QCOMPARE(row.maxClimb, "05.4 m/s");
    QVERIFY(rig.link.book.logModified);
    QCOMPARE(rig.link.events, QStringList({"editorShown 0", "redrawGrid", "editorSaved", "editorClosed 0"}));
}

void TestTDataEdit::keysPressTheFocusedButton_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("stored");
    QTest::newRow("Enter in a field") << "EdArea" << int(Qt::Key_Return) << true;
    QTest::newRow("Enter on OK") << "BBOk" << int(Qt::Key_Enter) << true;
    QTest::newRow("Enter on Cancel") << "BBCancel" << int(Qt::Key_Return) << false;
    QTest::newRow("Esc on OK") << "BBOk" << int(Qt::Key_Escape) << false;
}

void TestTDataEdit::keysPressTheFocusedButton()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, stored);
    Rig rig(1);
    rig.editor->EdArea->setText(QStringLiteral("other"));
    auto *target = rig.editor->findChild<QWidget *>(focus);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key));
    QTRY_VERIFY(!rig.editor); // closed and gone
    QCOMPARE(rig.link.book.row(1).area, stored ? QByteArray("other") : cp932::fromUnicode(u"足尾山"));
    QCOMPARE(rig.link.book.logModified, stored);
}

void TestTDataEdit::numberFilterRestoresTypingAndPasting()
{
    Rig rig(2);
    QLineEdit *h = rig.editor->EdMaxH;
    h->setFocus();
    h->selectAll();
    QTest::keyClicks(h, "12.3");
    QCOMPARE(h->text(), QStringLiteral("12.3"));
    h->setCursorPosition(4);
    QTest::keyClick(h, Qt::Key_4);
    QCOMPARE(h->text(), QStringLiteral("12.3"));
    QCOMPARE(h->cursorPosition(), 4);
    // A second digit typed before the last one: the caret goes back to where it was.
    h->setCursorPosition(3);
    QTest::keyClick(h, Qt::Key_9);
    QCOMPARE(h->text(), QStringLiteral("12.3"));
    QCOMPARE(h->cursorPosition(), 3);

    QLineEdit *rise = rig.editor->EdMaxRise;
    QTest::keyClick(rise, Qt::Key_End);
    QTest::keyClick(rise, Qt::Key_A);
    QCOMPARE(rise->text(), QStringLiteral("5.4"));
    // A change with no key press before it (a paste with the mouse) goes back to the last
    // good text, not to an older one.
    rise->setText(QStringLiteral("-2.5"));
    rise->insert(QStringLiteral("x"));
    QCOMPARE(rise->text(), QStringLiteral("-2.5"));

    rig.editor->BBOk->click();
    QCOMPARE(rig.link.book.row(2).maxAltitude, "12.3 m");
    QCOMPARE(rig.link.book.row(2).maxClimb, "-2.5 m/s");
}

void TestTDataEdit::newFlightAppendsOneRow()
{
    Rig rig(-1);
    QVERIFY(rig.editor->isNewFlight());
    QCOMPARE(rig.editor->LabelNum->text(), QStringLiteral(" New Flight "));
    QCOMPARE(rig.editor->LabelNum->palette().color(QPalette::Window), QColor(0xFF, 0x00, 0xFF));
    QCOMPARE(rig.editor->EdMaxH->text(), QStringLiteral("0.0"));
    rig.editor->EdDate->clear(); // a cleared date keeps its separators, blanks as spaces
    rig.editor->EdMaxH->setText(QString());
    rig.editor->Memo->setPlainText(QStringLiteral("手入力"));
    rig.editor->BBOk->click();

    QCOMPARE(rig.link.book.rowCount(), 5);
    const FlightRecord &f = rig.link.book.row(4);
    QCOMPARE(f.number, "4");
    QCOMPARE(f.date, "  /  /  ");
    QCOMPARE(f.time, "00:00:00");
    QCOMPARE(f.maxAltitude, "00.0 m");
    QCOMPARE(f.maxClimb, "0.0 m/s");
    QVERIFY(!f.hasBarograph());
    QCOMPARE(f.deviceIndex, -1);
    QCOMPARE(f.comment.bytes(), cp932::fromUnicode(u"手入力"));
    QCOMPARE(rig.link.events, QStringList({"editorShown 1", "setGridRowCount 5", "redrawGrid",
                                           "editorSaved", "editorClosed 1"}));
}

void TestTDataEdit::textsKeepToTheirFieldWidths()
{
    Rig rig(3);
    // The area keeps 24 bytes, never half a character: 13 kanji typed, 12 kept.
    rig.editor->EdArea->clear();
    for (int i = 0; i < 13; ++i)
        QTest::sendKeyEvent(QTest::Click, rig.editor->EdArea, Qt::Key_unknown, QStringLiteral("高"), {});
    QCOMPARE(rig.editor->EdArea->text(), QStringLiteral("高高高高高高高高高高高高"));
    rig.editor->EdArea->setText(QStringLiteral("a高高高高高高高高高高高高")); // 25 bytes by a paste
    emit rig.editor->EdArea->textEdited(rig.editor->EdArea->text());
    QCOMPARE(cp932::fromUnicode(rig.editor->EdArea->text()).size(), 23);

    // A barograph file name longer than 13 bytes is refused; the editor stays open.
    rig.editor->EdBFile->setText(QStringLiteral("24050310.BRGX"));
    rig.editor->EdMaxH->setText(QStringLiteral("999"));
    rig.editor->EdBFile->setText(QStringLiteral("24050310-1.BRG"));
    rig.editor->BBOk->click();
    QVERIFY(rig.editor && rig.editor->isVisible());
    QCOMPARE(rig.link.prompts.informed.size(), 1);
    QVERIFY(rig.link.prompts.informed[0].contains(u"13"));
    QCOMPARE(rig.link.book.row(3).maxAltitude, "0345 m");
    QVERIFY(!rig.link.book.logModified);
    // So is a name a delete could take the log away by, with the row named.
    rig.editor->EdBFile->setText(QStringLiteral("flights.lif"));
    rig.editor->BBOk->click();
    QVERIFY(rig.editor && rig.editor->isVisible());
    QCOMPARE(rig.link.prompts.informed.value(1), QStringLiteral("3行目のログ：バログラフファイル名「flights.lif」は使えません。"
                                                                "ログファイルかその付属ファイルの名前です。"));
    rig.editor->EdBFile->setText(QStringLiteral("ｱｼｵ.BRG")); // 7 bytes
    rig.editor->BBOk->click();
    QTRY_VERIFY(!rig.editor); // closed and gone
    QCOMPARE(rig.link.book.row(3).barographFile, cp932::fromUnicode(u"ｱｼｵ.BRG"));
    QCOMPARE(rig.link.book.row(3).area, cp932::fromUnicode(u"a高高高高高高高高高高高"));
}

void TestTDataEdit::cancelStoresNothing()
{
    Rig rig(1);
    rig.editor->EdArea->setText(QStringLiteral("other"));
    QTest::keyClick(rig.editor->EdArea, Qt::Key_Escape);
    QTRY_VERIFY(!rig.editor); // closed and gone
    QCOMPARE(rig.link.book.row(1).area, cp932::fromUnicode(u"足尾山"));
    QVERIFY(!rig.link.book.row(1).editorOpen && !rig.link.book.logModified);
    QCOMPARE(rig.link.events, QStringList({"editorShown 0", "editorClosed 0"}));
}

// One word of the comment changed: the NEC-selected 纊 (0xED40) and the IBM Ⅰ (0xFA4A)
// elsewhere in it keep their bytes, though Unicode maps them back to 0xFA5C and 0x8754.
void TestTDataEdit::editKeepsTheBytesOfUntouchedCharacters()
{
    const QByteArray comment("\xED\x40 thermal\r\n\xFA\x4A wind");
    Rig rig(2, [&](FlightRecord &f) { f.comment = comment; });
    QString text = rig.editor->Memo->toPlainText();
    rig.editor->Memo->setPlainText(text.replace(QStringLiteral("wind"), QStringLiteral("calm")));
    rig.editor->BBOk->click();
    QCOMPARE(static_cast<const QByteArray &>(rig.link.book.row(2).comment), QByteArray("\xED\x40 thermal\r\n\xFA\x4A calm"));
}

QTEST_MAIN(TestTDataEdit)
#include "tst_tdataedit.moc"
