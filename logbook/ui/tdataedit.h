// TDataEdit, the record editor: an MDI child in which the pilot corrects one flight or types
// in a flight the instrument did not record. Nothing reaches the log book until OK, which
// writes the fields the pilot changed; Cancel (or any other close) discards the edits.
#pragma once

#include "logbook/core/flightrecord.h"

#include <QByteArray>
#include <QMdiSubWindow>
#include <QString>

#include <array>

class MainFormLink;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TDataEdit : public QMdiSubWindow {
    Q_OBJECT
public:
    /// Adds itself to the link's workspace. Reads link.currentRow() once, when first shown:
    /// a flight's row, or -1 for a new flight.
    explicit TDataEdit(MainFormLink &link);

    bool isNewFlight() const { return m_newFlight; }
    /// The row written to: the edited flight's, or a new flight's once saved (-1 before, and
    /// once the row is gone). Followed by its rowId wherever undo or redo moves it.
    int rowIndex() const;

    /// OK: stores the fields whose text differs from what the editor showed when it opened
    /// (every field of a new flight), after checking the barograph file name, and closes.
    /// Without a change nothing is stored and the log is not marked modified.
    void BBOkClick();
    /// Cancel: closes; nothing is stored.
    void BBCancelClick();

    QLabel *LabelNum;
    QLineEdit *EdDate, *EdTime, *EdDuration, *EdArea, *EdMaxH, *EdMaxRise, *EdBFile;
    QPlainTextEdit *Memo;
    QPushButton *BBOk, *BBCancel;

signals:
    /// Shown with its flight (`newFlight`: one not yet in the log); the row is marked after.
    void editorShown(bool newFlight);
    /// OK stored the fields in the log book.
    void editorSaved();
    /// Closed; its row is no longer marked as edited.
    void editorClosed(bool newFlight);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The number filter of one of the two number fields: the text and caret to go back to
    // when a change would make the field something other than a number.
    struct NumberField {
        QLineEdit *edit = nullptr;
        QString savedText;
        int savedCaret = 0;
    };
    void placeInView();
    void EDOnShow();
    bool DataSave();
    /// A field's text as its control holds it, and as the field would store it.
    QString fieldText(Field field) const;
    QByteArray storedText(Field field) const;
    void rememberShownTexts();
    void numberChanged(NumberField &field);

    MainFormLink &m_link;
    bool m_shown = false;
    bool m_closed = false;
    bool m_newFlight = false;
    quint64 m_rowId = 0;
    NumberField m_maxH;
    NumberField m_maxRise;
    std::array<QString, kFieldCount> m_shownTexts; ///< each field's text when the editor opened
    std::array<QByteArray, kFieldCount> m_shownBytes; ///< and the bytes it came from
};
