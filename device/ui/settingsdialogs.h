// The dialogs that send the instrument its settings: the flyer name (TFormName), the
// parameters (TFormParam), the option displays (TFormOption), and the two send delays
// (TFormDelay). Each is modeless, stays on top and reads its values when it is made; OK
// checks them, asks "DIV-EVODU-REV に送信しますか？", stores them (Yes and No) and on Yes
// hands the message to the upload. The upload is the port session's, not the dialog's: the
// dialog only follows it, its values locked, and may be closed meanwhile (the message still
// goes out whole).
#pragma once

#include "device/core/instrumentsettings.h"
#include "device/core/uploader.h"

#include <QDialog>

#include <chrono>
#include <optional>
#include <functional>

class Prompter;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

/// What the dialogs need from the program: the upload on the instrument's port, the two
/// send delays, and where their values are kept.
class SettingsSender {
public:
    virtual ~SettingsSender() = default;

    using Request = Uploader::Request;
    /// Starts an upload: `progress` gets each byte's percentage, `finished` whether it was
    /// all sent, both for as long as `listener` lives (never after). Returns false when it
    /// cannot start (a download is running, another upload sends, the port does not open):
    /// the reason was shown.
    virtual bool startUpload(const Request &request, QObject *listener, std::function<void(int percent)> progress,
                             std::function<void(bool sent)> finished) = 0;
    /// Delay1 and Delay2: the pauses after the command and after each byte of the
    /// parameter and option messages, in milliseconds.
    virtual std::pair<int, int> sendDelays() const = 0;
    virtual void setSendDelays(int afterCommand, int afterByte) = 0;

    virtual QByteArray flyerName() const = 0;
    virtual void storeFlyerName(const QByteArray &name) = 0;
    virtual ParameterSettings parameters() const = 0;
    virtual void storeParameters(const ParameterSettings &settings) = 0;
    virtual OptionSettings options() const = 0;
    virtual void storeOptions(const OptionSettings &settings) = 0;
};

/// What the three sending dialogs share: the progress bar, the completion label, OK and
/// Cancel, and the upload itself.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    QProgressBar *ProgressBar;
    QLabel *Label; ///< "送信終了"
    QPushButton *BBOK;
    QPushButton *BBCancel;

protected:
    SettingsDialog(SettingsSender &sender, Prompter &prompter, QWidget *parent, const QString &caption);
    /// The dialog's own controls go into this layout, above the buttons.
    class QVBoxLayout *body() const { return m_body; }

    /// Asks, stores (`store`) on Yes and No, and on Yes sends `command` and the message
    /// that `build` makes from the stored values.
    void confirmAndSend(char command, const std::function<void()> &store, const std::function<QByteArray()> &build,
                        std::chrono::milliseconds afterCommand, std::chrono::milliseconds afterByte);
    /// OK: the dialog's checks, then confirmAndSend.
    virtual void okClicked() = 0;

    SettingsSender &m_sender;
    Prompter &m_prompter;

private:
    void uploadEnded(bool sent);
    /// While the message goes out and "送信終了" shows, the values and OK are locked; Cancel
    /// and the window's close stay (closing leaves the upload running).
    void lock(bool locked);
    QWidget *m_fields;
    QVBoxLayout *m_body;
};

class TFormName : public SettingsDialog {
    Q_OBJECT
public:
    TFormName(SettingsSender &sender, Prompter &prompter, QWidget *parent = nullptr);
    QLineEdit *EditFName;

protected:
    void okClicked() override;
};

class TFormParam : public SettingsDialog {
    Q_OBJECT
public:
    TFormParam(SettingsSender &sender, Prompter &prompter, QWidget *parent = nullptr);

    QLineEdit *EDRise;
    QLineEdit *EDSink;
    QButtonGroup *RGAutoSet;
    QButtonGroup *RGTakeoff;
    QButtonGroup *RBSound;
    QButtonGroup *RBBarGraph;
    QButtonGroup *RBNumeric;
    QButtonGroup *RBSampling;
    QButtonGroup *RBPrinter;
    QPushButton *BBSaveFile; ///< keeps the values in a settings file
    QPushButton *BBLoadFile; ///< fills the controls from one; sends nothing

    /// The controls' values; std::nullopt with the message shown when a threshold is out
    /// of range or no number.
    std::optional<ParameterSettings> values();
    void showValues(const ParameterSettings &settings);

protected:
    void okClicked() override;
};

class TFormOption : public SettingsDialog {
    Q_OBJECT
public:
    TFormOption(SettingsSender &sender, Prompter &prompter, QWidget *parent = nullptr);

    QButtonGroup *RGOption1;
    QGroupBox *GroupBox1;
    QCheckBox *CBBaro, *CBThermo, *CBMaxAlt, *CBAlt2, *CBAlt3, *CBWindV;
    QPushButton *BBSaveFile;
    QPushButton *BBLoadFile;

    /// Checked boxes of option display 2.
    int optionCount() const { return m_optionCount; }
    /// Counts the checked boxes; with four, the unchecked ones are disabled.
    void MakeDisable();
    OptionSettings values() const;
    void showValues(const OptionSettings &settings);

protected:
    void okClicked() override;

private:
    int m_optionCount = 0;
};

class TFormDelay : public QDialog {
    Q_OBJECT
public:
    TFormDelay(SettingsSender &sender, Prompter &prompter, QWidget *parent = nullptr);
    QLineEdit *Delay1;
    QLineEdit *Delay2;
    QPushButton *BitBtn1; ///< OK
    QPushButton *BitBtn2; ///< Cancel

private:
    void BitBtn1Click();
    SettingsSender &m_sender;
    Prompter &m_prompter;
};
