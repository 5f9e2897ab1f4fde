// The record editor.
#include "tdataedit.h"

#include "logbook/core/fieldformats.h"
#include "logbook/core/logbook.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/messages.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/cp932edit.h"
#include "logbook/ui/japanesefont.h"
#include "logbook/ui/loggrid.h"
#include "logbook/ui/mainformlink.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace {

constexpr int kAreaMaxBytes = fieldWidth(Field::Area) - 1;
constexpr int kBarographFileMaxBytes = fieldWidth(Field::BarographFile) - 1;
// The fields the editor shows and may write back, in the order they are written.
constexpr Field kEditedFields[] = {Field::Date,     Field::Time,          Field::Duration, Field::Area,
                                   Field::MaxAltitude, Field::MaxClimb, Field::BarographFile, Field::Comment};

QLabel *label(QWidget *parent, QStringView text, int x, int y)
{
    auto *l = new QLabel(text.toString(), parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QLineEdit *edit(QWidget *parent, const char *name, int x, int y, int width)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(x, y, width, 20);
    return e;
}

// A date or clock-time field: two digits, separator, two digits, separator, two digits.
// Blank positions are spaces, and the text is always all eight characters.
QLineEdit *maskedEdit(QWidget *parent, const char *name, int x, int y, int width, char separator)
{
    // The widths were chosen for "ＭＳ Ｐゴシック"; where a wider face stands in, the field
    // still shows its eight characters whole (there is room before the next label).
    const QFontMetrics metrics(japaneseUiFont(12));
    width = qMax(width, metrics.horizontalAdvance(QStringLiteral("88/88/88")) + 12);
    QLineEdit *e = edit(parent, name, x, y, width);
    const QString sep(QLatin1Char{separator});
    e->setInputMask(QStringLiteral("99") + sep + QStringLiteral("99") + sep + QStringLiteral("99; "));
    return e;
}

// The comment is stored with Windows line ends, as the other programs that read the log
// write it; the memo works with bare line feeds.
QString commentForMemo(const QByteArray &comment)
{
    QString text = cp932::toUnicode(comment);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// The memo's text as the comment stores it: `stored` keeps the bytes of every character
// the pilot did not touch.
QByteArray commentFromMemo(QString text, QByteArrayView stored)
{
    text.replace(u'\n', QStringLiteral("\r\n"));
    return cp932::encodeEdited(stored, text);
}

} // namespace

TDataEdit::TDataEdit(MainFormLink &link) : m_link(link)
{
    setObjectName(QStringLiteral("DataEdit"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A dialog's border: a title, no buttons on it; only OK, Cancel and the main window's
    // command close it.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(msg::EditorCaption.toString());
    setFont(japaneseUiFont(12));

    auto *body = new QWidget(this);
    LabelNum = new QLabel(body);
    LabelNum->setObjectName(QStringLiteral("LabelNum"));
    LabelNum->setFont(japaneseUiFont(16));
    LabelNum->setAutoFillBackground(true);
    LabelNum->move(32, 8);

    label(body, msg::EditorDate, 32, 36);
    EdDate = maskedEdit(body, "EdDate", 72, 32, 57, '/');
    label(body, msg::EditorTime, 152, 36);
    EdTime = maskedEdit(body, "EdTime", 184, 32, 49, ':');
    label(body, msg::EditorDuration, 256, 36);
    EdDuration = maskedEdit(body, "EdDuration", 320, 32, 49, ':');
    label(body, msg::EditorArea, 32, 68);
    EdArea = edit(body, "EdArea", 72, 64, 161);
    label(body, msg::EditorMaxAltitude, 32, 100);
    EdMaxH = edit(body, "EdMaxH", 96, 96, 49);
    EdMaxH->setMaxLength(7);
    label(body, u"m", 152, 100);
    label(body, msg::EditorMaxClimb, 176, 100);
    EdMaxRise = edit(body, "EdMaxRise", 248, 96, 41);
    EdMaxRise->setMaxLength(5);
    label(body, u"m/s", 296, 100);
    label(body, msg::EditorBarographFile, 32, 132);
    EdBFile = edit(body, "EdBFile", 136, 128, 113);
    label(body, msg::EditorComment, 32, 160);
    Memo = new QPlainTextEdit(body);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setGeometry(32, 176, 433, 97);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setTabChangesFocus(true);
    BBOk = new QPushButton(msg::EditorOk.toString(), body);
    BBOk->setObjectName(QStringLiteral("BBOk"));
    BBOk->setGeometry(392, 32, 75, 25);
    BBOk->setDefault(true);
    BBCancel = new QPushButton(msg::EditorCancel.toString(), body);
    BBCancel->setObjectName(QStringLiteral("BBCancel"));
    BBCancel->setGeometry(392, 72, 75, 25);
    setWidget(body);

    // Tab order: the fields top to bottom, then the buttons.
    QWidget *order[] = {EdDate, EdTime, EdDuration, EdArea, EdMaxH, EdMaxRise, EdBFile, Memo, BBOk, BBCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(EdArea, &QLineEdit::textEdited, this, [this] { keepCp932Bytes(EdArea, kAreaMaxBytes); });
    m_maxH.edit = EdMaxH;
    m_maxRise.edit = EdMaxRise;
    for (NumberField *field : {&m_maxH, &m_maxRise}) {
        field->edit->installEventFilter(this);
        connect(field->edit, &QLineEdit::textChanged, this, [this, field] { numberChanged(*field); });
    }
    connect(BBOk, &QPushButton::clicked, this, &TDataEdit::BBOkClick);
    connect(BBCancel, &QPushButton::clicked, this, &TDataEdit::BBCancelClick);

    if (QMdiArea *area = link.workspaceArea())
        area->addSubWindow(this);
}

void TDataEdit::showEvent(QShowEvent *event)
{
    QMdiSubWindow::showEvent(event);
    setFixedSize(500, 320);
    if (m_shown)
        return;
    m_shown = true;
    placeInView();
    EDOnShow();
}

void TDataEdit::placeInView()
{
    // The workspace's own placement puts a window in free space, which may lie beyond its
    // right edge; an editor whose OK button cannot be seen is moved in, a step further
    // down and right than the editors already open.
    QMdiArea *area = mdiArea();
    if (!area)
        return;
    const QRect room = area->viewport()->rect();
    if (room.contains(geometry()))
        return;
    int others = 0;
    for (QMdiSubWindow *w : area->subWindowList())
        others += w != this && qobject_cast<TDataEdit *>(w) ? 1 : 0;
    const int step = 24 * (1 + others % 8);
    move(qBound(0, step, qMax(0, room.width() - width())), qBound(0, step, qMax(0, room.height() - height())));
}

void TDataEdit::EDOnShow()
{
    LogBook &book = m_link.logBook();
    const int row = m_link.currentRow();
    m_newFlight = row < 1 || row >= book.rowCount();
    QPalette heading = LabelNum->palette();
    if (!m_newFlight) {
        m_rowId = book.row(row).rowId;
        const FlightRecord &flight = book.row(row);
        LabelNum->setText(msg::EditorFlightHeading.toString().arg(cp932::toUnicode(flight.number)));
        heading.setColor(QPalette::Window, QColor(0x00, 0xFF, 0xFF));
        EdDate->setText(cp932::toUnicode(flight.date));
        EdTime->setText(cp932::toUnicode(flight.time));
        EdArea->setText(cp932::toUnicode(flight.area));
        EdDuration->setText(cp932::toUnicode(flight.duration));
        EdBFile->setText(cp932::toUnicode(flight.barographFile));
        Memo->setPlainText(commentForMemo(flight.comment));
        for (Field field : kEditedFields)
            m_shownBytes[size_t(field)] = flight.fieldText(field).toByteArray();
        EdMaxH->setText(QString::fromLatin1(fieldformat::altitudeEditText(flight.maxAltitude)));
        EdMaxRise->setText(QString::fromLatin1(fieldformat::climbEditText(flight.maxClimb)));
    } else {
        LabelNum->setText(msg::EditorNewFlightHeading.toString());
        heading.setColor(QPalette::Window, QColor(0xFF, 0x00, 0xFF));
        EdDate->setText(QStringLiteral("00/00/00"));
        EdTime->setText(QStringLiteral("00:00:00"));
        EdDuration->setText(QStringLiteral("00:00:00"));
        EdMaxH->setText(QStringLiteral("0.0"));
        EdMaxRise->setText(QStringLiteral("0.0"));
    }
    heading.setColor(QPalette::WindowText, Qt::black);
    LabelNum->setPalette(heading);
    LabelNum->adjustSize();
    keepCp932Bytes(EdArea, kAreaMaxBytes);
    for (NumberField *field : {&m_maxH, &m_maxRise}) {
        field->savedText = field->edit->text();
        field->savedCaret = field->edit->cursorPosition();
    }
    rememberShownTexts();
    // Typing starts over the first digit of the date.
    EdDate->setCursorPosition(0);
    EdDate->setFocus();

    emit editorShown(m_newFlight);
    if (!m_newFlight)
        book.row(row).editorOpen = true;
}

bool TDataEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        for (NumberField *field : {&m_maxH, &m_maxRise}) {
            if (watched == field->edit) {
                field->savedText = field->edit->text();
                field->savedCaret = field->edit->hasSelectedText() ? field->edit->selectionStart()
                                                                   : field->edit->cursorPosition();
            }
        }
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void TDataEdit::numberChanged(NumberField &field)
{
    if (fieldformat::isNumberText(cp932::fromUnicode(field.edit->text()))) {
        // A change without a key press (a paste with the mouse) goes back to this text, not
        // to whatever stood there before the last key press.
        field.savedText = field.edit->text();
        field.savedCaret = field.edit->cursorPosition();
        return;
    }
    const int caret = field.savedCaret;
    field.edit->setText(field.savedText); // a change itself, and one that passes
    field.edit->setCursorPosition(caret);
}

QString TDataEdit::fieldText(Field field) const
{
    // A masked field's displayText() keeps the blank positions as spaces; text() would drop them.
    switch (field) {
    case Field::Date: return EdDate->displayText();
    case Field::Time: return EdTime->displayText();
    case Field::Duration: return EdDuration->displayText();
    case Field::Area: return EdArea->text();
    case Field::MaxAltitude: return EdMaxH->text();
    case Field::MaxClimb: return EdMaxRise->text();
    case Field::BarographFile: return EdBFile->text();
    case Field::Comment: return Memo->toPlainText();
    case Field::Number: break;
    }
    return QString();
}

QByteArray TDataEdit::storedText(Field field) const
{
    const QString text = fieldText(field);
    // A text field keeps the bytes of what the pilot did not touch: encoded whole, every
    // character with two codes would change to the one Unicode maps back to.
    const QByteArray &shown = m_shownBytes[size_t(field)];
    switch (field) {
    case Field::MaxAltitude:
        return fieldformat::editedAltitudeText(fieldformat::numberAtStart(cp932::fromUnicode(text)));
    case Field::MaxClimb:
        return fieldformat::editedClimbText(fieldformat::numberAtStart(cp932::fromUnicode(text)));
    case Field::Comment:
        return commentFromMemo(text, shown);
    default:
        return cp932::encodeEdited(shown, text); // the masked fields hold digits, separators and spaces
    }
}

void TDataEdit::rememberShownTexts()
{
    for (Field field : kEditedFields)
        m_shownTexts[size_t(field)] = fieldText(field);
}

int TDataEdit::rowIndex() const
{
    return m_rowId ? m_link.logBook().rowOfId(m_rowId) : -1;
}

bool TDataEdit::DataSave()
{
    // Only what the pilot changed is written: the row may have changed since the editor
    // opened (a download naming its barograph, a barograph window saving its figures back),
    // and a field left alone keeps its bytes, whatever the editor's formats would make of it.
    std::vector<Field> changed;
    for (Field field : kEditedFields) {
        if (m_newFlight || fieldText(field) != m_shownTexts[size_t(field)])
            changed.push_back(field);
    }
    if (changed.empty())
        return true;
    const bool nameChanged = std::find(changed.begin(), changed.end(), Field::BarographFile) != changed.end();
    LogBook &book = m_link.logBook();
    const QByteArray name = nameChanged ? storedText(Field::BarographFile) : QByteArray();
    const BarographNameFault fault = name.isEmpty() ? BarographNameFault::None : barographNameFault(name);
    if (name.size() > kBarographFileMaxBytes || fault != BarographNameFault::None) {
        const int row = m_newFlight ? book.rowCount() : rowIndex();
        m_link.prompter().inform(name.size() > kBarographFileMaxBytes
                                     ? msg::BarographNameTooLong.toString().arg(kBarographFileMaxBytes)
                                     : msg::LogRowProblem.toString().arg(row).arg(barographNameRefusal(name, fault)));
        EdBFile->setFocus();
        return false;
    }

    if (m_newFlight) {
        m_rowId = book.appendRow().rowId; // deviceIndex -1: no barograph to download
        m_link.setGridRowCount(book.rowCount());
    }
    const int row = rowIndex();
    if (row < 1)
        return true; // the flight is gone (an undo took it away): nothing to store into
    FlightRecord &flight = book.row(row);
    for (Field field : changed)
        flight.setField(field, storedText(field));
    book.logModified = true;
    m_link.redrawGrid();
    book.history.record(book, (m_newFlight ? msg::StepNewFlight : msg::StepEdit).toString());
    emit editorSaved();
    return true;
}

void TDataEdit::BBOkClick()
{
    if (DataSave())
        close();
}

void TDataEdit::BBCancelClick()
{
    close();
}

void TDataEdit::keyPressEvent(QKeyEvent *event)
{
    // Enter is OK and Esc is Cancel from every field; the memo keeps Enter for its lines.
    // On a button Enter presses that button: Enter on Cancel must not store the edits.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        else
            BBOk->click();
        return;
    case Qt::Key_Escape:
        BBCancel->click();
        return;
    default:
        QMdiSubWindow::keyPressEvent(event);
    }
}

void TDataEdit::closeEvent(QCloseEvent *event)
{
    if (!m_closed && m_shown) {
        m_closed = true;
        LogBook &book = m_link.logBook();
        if (const int row = rowIndex(); row >= 1)
            book.row(row).editorOpen = false;
        emit editorClosed(m_newFlight);
    }
    QMdiSubWindow::closeEvent(event);
}
