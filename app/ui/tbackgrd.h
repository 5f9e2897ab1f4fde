// TBackGrd, the background dialog: whether the workspace shows a picture, stretched or
// tiled, and which picture. Modeless and on top; OK hands the choice to the main window,
// which loads the picture and repaints at once.
#pragma once

#include <QDialog>
#include <QString>

class FolderBrowser;
class Prompter;
class QCheckBox;
class QPushButton;

/// The values the dialog edits ("IfUseBmp", "IfScaleBmp", "BmpFileName").
struct BackgroundChoice {
    bool usePicture = false;
    bool stretch = false;
    QString pictureFile; ///< full path; empty when none is chosen
};

class TBackGrd : public QDialog {
    Q_OBJECT
public:
    /// The lists start in `workFolder`, or at the chosen picture's folder when there is one.
    TBackGrd(const BackgroundChoice &current, const QString &workFolder, Prompter &prompter, QWidget *parent);

    /// OK (also a double-click on a file). With the picture on, a file must be selected and
    /// its path must fit the setting; otherwise a message says so and the dialog stays open.
    void BBOKClick();
    void BBCancelClick();

    /// Pictures the list offers: Windows bitmaps, and PNG and JPEG as pilots have them today.
    static QStringList pictureFilters();

    FolderBrowser *browser() const { return m_browser; }
    QCheckBox *CBUse, *CBSize;
    QPushButton *BBOK, *BBCancel;

signals:
    /// OK took these values.
    void chosen(const BackgroundChoice &choice);

private:
    void CBUseClick();

    Prompter &m_prompter;
    FolderBrowser *m_browser;
};
