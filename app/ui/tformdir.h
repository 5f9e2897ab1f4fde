// TFormDir, the start-folder dialog: the working folder, and how the next start chooses its
// folder and whether it shows this dialog. Modeless and on top; a double-click on a log file
// takes the settings and opens that log.
#pragma once

#include <QDialog>
#include <QString>

class FolderBrowser;
class Prompter;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// The values the dialog edits.
struct StartFolderChoice {
    QString workFolder;   ///< with a trailing '/'
    qint32 ifDirSet = 0;  ///< "IfDirSet": 0 the folder current at start, 1 workFolder
    bool dontAskDir = false; ///< "DontAskdir"
};

class TFormDir : public QDialog {
    Q_OBJECT
public:
    TFormDir(const StartFolderChoice &current, Prompter &prompter, QWidget *parent);

    /// OK: the chosen folder and options (a folder path too long for the setting is refused
    /// with a message, and the dialog stays open).
    void BBOKClick();
    void BBCancelClick();

    FolderBrowser *browser() const { return m_browser; }
    QGroupBox *RGFolder;
    QRadioButton *RBFolder[2];
    QCheckBox *CheckBox;
    QPushButton *BBOK, *BBCancel;
    QLineEdit *EdPath; ///< a path to go to, or part of a log file's name

signals:
    /// OK took these values.
    void chosen(const StartFolderChoice &choice);
    /// A log file was double-clicked: after OK's work, open it.
    void logFileChosen(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool takeChoice();

    Prompter &m_prompter;
    FolderBrowser *m_browser;
};
