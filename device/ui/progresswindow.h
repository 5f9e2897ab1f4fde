// TProgress (form Progress): the window a barograph download shows while it runs: the
// flight's date and time and a bar from 0 to 100, with a Cancel button that ends the
// transfer at once.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class TProgress : public QDialog {
    Q_OBJECT
public:
    explicit TProgress(QWidget *parent = nullptr);

    /// The flight: "%s  %s" of its date and time.
    void setFlightText(const QString &text);
    void setProgress(int percent);

    QLabel *ProgFile;
    QProgressBar *ProgressBar;
    QPushButton *BBCancel;

signals:
    /// The user wants the transfer ended.
    void cancelled();

protected:
    void showEvent(QShowEvent *event) override;
    /// Escape and the window manager's close cancel the transfer; the window itself stays
    /// until the transfer has ended and its owner hides it.
    void reject() override;
};
