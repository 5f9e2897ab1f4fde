// The IGC settings under the options menu: the instrument clock's offset from UTC and the
// flying sites file. Changes only the values it was given; the main window keeps them.
#pragma once

#include <QDialog>

class QLineEdit;

class IgcSettingsDialog : public QDialog {
    Q_OBJECT
public:
    IgcSettingsDialog(qint32 utcOffsetMinutes, const QString &sitesFile, QWidget *parent = nullptr);

    qint32 utcOffsetMinutes() const { return m_offsetMinutes; }
    QString sitesFile() const;

    QLineEdit *offsetEdit() const { return m_offset; }
    QLineEdit *sitesEdit() const { return m_sites; }

    /// OK: an offset that does not read stays in the dialog with a message.
    void accept() override;

private:
    qint32 m_offsetMinutes;
    QLineEdit *m_offset;
    QLineEdit *m_sites;
};
