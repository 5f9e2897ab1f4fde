// The settings dialogs.
#include "settingsdialogs.h"

#include "logbook/ui/questionparent.h"

#include "device/core/instrumentsettingsfile.h"
#include "device/core/messages.h"
#include "logbook/core/filewriter.h"
#include "logbook/core/prompter.h"
#include "logbook/core/text/cp932.h"
#include "logbook/ui/loggrid.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kDoneShownMs = 1500;

// A radio group as the dialogs show them: a titled box, the items in `columns` columns.
QButtonGroup *radioGroup(QWidget *owner, QLayout *into, const QString &title, const QStringList &items, int columns = 1)
{
    auto *box = new QGroupBox(title, owner);
    auto *grid = new QGridLayout(box);
    auto *group = new QButtonGroup(owner);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], box);
        group->addButton(button, i);
        grid->addWidget(button, i / columns, i % columns);
    }
    into->addWidget(box);
    return group;
}

void select(QButtonGroup *group, int index)
{
    if (QAbstractButton *b = group->button(index))
        b->setChecked(true);
}

// The masked threshold field: a digit, the point, a digit; blank places show as '_'.
QLineEdit *thresholdField(QWidget *owner)
{
    auto *edit = new QLineEdit(owner);
    edit->setInputMask(QStringLiteral("0.0;_"));
    edit->setMaximumWidth(60);
    return edit;
}

std::optional<float> thresholdOf(const QLineEdit *edit)
{
    bool ok = false;
    const float value = edit->text().toFloat(&ok);
    return ok && instrument::isThresholdInRange(value) ? std::optional<float>(value) : std::nullopt;
}

// Saving and loading the settings file of the parameter and option dialogs.
void saveSettingsFile(Prompter &prompter, const InstrumentSettingsFile &settings)
{
    const QString path = prompter.chooseSaveFile(msg::SettingsFileFilter, QString());
    if (path.isEmpty())
        return;
    if (const std::optional<WriteFailure> failure = writeFile(path, buildInstrumentSettingsFile(settings)))
        prompter.inform(msg::SettingsFileCannotWrite.toString() + u'\n' + failure->reason());
}

std::optional<InstrumentSettingsFile> loadSettingsFile(Prompter &prompter)
{
    const QString path = prompter.chooseOpenFile(msg::SettingsFileFilter, QString());
    if (path.isEmpty())
        return std::nullopt;
    // The bounded reader: a pipe or a device chosen in the dialog is refused at once.
    const auto result = readInstrumentSettingsFile(path);
    if (const auto *error = std::get_if<SettingsFileError>(&result)) {
        prompter.inform(msg::SettingsFileUnreadable.toString().arg(error->line).arg(error->reason));
        return std::nullopt;
    }
    return std::get<InstrumentSettingsFile>(result);
}

QHBoxLayout *fileButtons(QWidget *owner, QVBoxLayout *into, QPushButton **save, QPushButton **load)
{
    auto *row = new QHBoxLayout;
    *save = new QPushButton(msg::SettingsFileSave.toString(), owner);
    *load = new QPushButton(msg::SettingsFileLoad.toString(), owner);
    row->addWidget(*save);
    row->addWidget(*load);
    into->addLayout(row);
    return row;
}

} // namespace

// ---- What the three sending dialogs share ------------------------------------------------

SettingsDialog::SettingsDialog(SettingsSender &sender, Prompter &prompter, QWidget *parent, const QString &caption)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_sender(sender), m_prompter(prompter)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(caption);
    auto *outer = new QVBoxLayout(this);
    m_fields = new QWidget(this);
    m_body = new QVBoxLayout(m_fields);
    m_body->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_fields);

    ProgressBar = new QProgressBar(this);
    ProgressBar->setRange(0, 100);
    ProgressBar->hide();
    outer->addWidget(ProgressBar);
    Label = new QLabel(msg::SendDone.toString(), this);
    Label->setAutoFillBackground(true);
    QPalette red = Label->palette();
    red.setColor(QPalette::Window, Qt::red);
    red.setColor(QPalette::WindowText, Qt::black);
    Label->setPalette(red);
    QFont big = Label->font();
    big.setPixelSize(21);
    Label->setFont(big);
    Label->setAlignment(Qt::AlignCenter);
    Label->hide();
    outer->addWidget(Label);

    auto *buttons = new QHBoxLayout;
    BBOK = new QPushButton(QStringLiteral("OK"), this);
    BBOK->setDefault(true);
    BBCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    buttons->addStretch();
    buttons->addWidget(BBOK);
    buttons->addWidget(BBCancel);
    outer->addLayout(buttons);
    connect(BBOK, &QPushButton::clicked, this, [this] { okClicked(); });
    connect(BBCancel, &QPushButton::clicked, this, &QWidget::close);
}

void SettingsDialog::lock(bool locked)
{
    m_fields->setEnabled(!locked);
    BBOK->setEnabled(!locked);
}

void SettingsDialog::confirmAndSend(char command, const std::function<void()> &store,
                                    const std::function<QByteArray()> &build, std::chrono::milliseconds afterCommand,
                                    std::chrono::milliseconds afterByte)
{
    // The dialog may be closed while the question waits (the box then answers Cancel).
    const QPointer<SettingsDialog> self(this);
    const Prompter::Answer answer =
        m_prompter.ask(msg::AskSend, msg::Confirm, Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
    if (!self)
        return;
    switch (answer) {
    case Prompter::Answer::Cancel:
        return;
    case Prompter::Answer::No:
        store();
        close();
        return;
    default:
        break;
    }
    ProgressBar->setValue(0);
    ProgressBar->show();
    lock(true);
    const bool started = m_sender.startUpload(
        {command, build(), afterCommand, afterByte}, this, [this](int percent) { ProgressBar->setValue(percent); },
        [this](bool sent) { uploadEnded(sent); });
    if (!self)
        return;
    if (started) {
        store(); // what the instrument is being sent
        // Once the message is out the dialog closes by itself: no box raised meanwhile
        // (another dialog's refusal, say) may go down with it.
        markClosesByItself(*this);
        return;
    }
    // Refused (said why): nothing stored as if sent; the dialog keeps the values for
    // another try.
    ProgressBar->hide();
    lock(false);
}

void SettingsDialog::uploadEnded(bool sent)
{
    if (!sent) {
        ProgressBar->hide();
        markClosesByItself(*this, false);
        lock(false); // said why; the dialog stays for another try
        return;
    }
    ProgressBar->hide();
    Label->show();
    Label->repaint();
    QTimer::singleShot(kDoneShownMs, this, [this] {
        Label->hide();
        close();
    });
}

// ---- TFormName ------------------------------------------------------------------------------

TFormName::TFormName(SettingsSender &sender, Prompter &prompter, QWidget *parent)
    : SettingsDialog(sender, prompter, parent, msg::FlyerNameCaption.toString())
{
    setObjectName(QStringLiteral("FormName"));
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("フライヤー名"), this));
    EditFName = new QLineEdit(this);
    row->addWidget(EditFName);
    body()->addLayout(row);
    for (const char *text : {"最大16文字まで。", "使える文字は半角のみです。", "（半角ｶﾀｶﾅ、ｱﾙﾌｧﾍﾞｯﾄ、記号）"})
        body()->addWidget(new QLabel(QString::fromUtf8(text), this));
    // A stored name longer than the instrument takes is cut on a character boundary.
    EditFName->setText(cp932::toUnicode(instrument::fittedFlyerName(sender.flyerName())));
    connect(EditFName, &QLineEdit::textEdited, this,
            [this] { keepCp932Bytes(EditFName, instrument::kFlyerNameBytes); });
    EditFName->setFocus(); // what the pilot types goes into the name, not to OK
}

void TFormName::okClicked()
{
    const QByteArray name = instrument::fittedFlyerName(cp932::fromUnicode(EditFName->text()));
    confirmAndSend(
        'F', [this, name] { m_sender.storeFlyerName(name); }, [name] { return instrument::flyerNameMessage(name); },
        std::chrono::milliseconds(80), std::chrono::milliseconds(10));
}

// ---- TFormParam -----------------------------------------------------------------------------

TFormParam::TFormParam(SettingsSender &sender, Prompter &prompter, QWidget *parent)
    : SettingsDialog(sender, prompter, parent, msg::ParameterCaption.toString())
{
    setObjectName(QStringLiteral("FormParam"));
    auto *thresholds = new QGridLayout;
    EDRise = thresholdField(this);
    EDSink = thresholdField(this);
    thresholds->addWidget(new QLabel(QStringLiteral("上昇音"), this), 0, 0);
    thresholds->addWidget(EDRise, 0, 1);
    thresholds->addWidget(new QLabel(QStringLiteral("m"), this), 0, 2);
    thresholds->addWidget(new QLabel(QStringLiteral("下降音"), this), 1, 0);
    thresholds->addWidget(EDSink, 1, 1);
    thresholds->addWidget(new QLabel(QStringLiteral("m"), this), 1, 2);
    thresholds->addWidget(new QLabel(QStringLiteral("上昇、下降音は"), this), 0, 3);
    thresholds->addWidget(new QLabel(QStringLiteral("0.1 ～ 4.0 m"), this), 1, 3);
    body()->addLayout(thresholds);

    auto *groups = new QGridLayout;
    const QStringList offOn{QStringLiteral("OFF"), QStringLiteral("ON")};
    const QStringList responses{QStringLiteral("４０"), QStringLiteral("５０"), QStringLiteral("６０"),
                                QStringLiteral("７０"), QStringLiteral("１００")};
    const auto cell = [&](int r, int c) {
        auto *l = new QVBoxLayout;
        groups->addLayout(l, r, c);
        return l;
    };
    RGAutoSet = radioGroup(this, cell(0, 0), QStringLiteral("ｵｰﾄｾｯﾄ"), offOn);
    RGTakeoff = radioGroup(this, cell(0, 1), QStringLiteral("ｵｰﾄﾃｲｸｵﾌ"), offOn);
    RBSound = radioGroup(this, cell(1, 0), QStringLiteral("音声応答"), responses, 2);
    RBBarGraph = radioGroup(this, cell(1, 1), QStringLiteral("ﾊﾞｰｸﾞﾗﾌ応答"), responses, 2);
    RBNumeric = radioGroup(this, cell(1, 2), QStringLiteral("数値表示応答"), responses, 2);
    RBSampling = radioGroup(this, cell(0, 2), QStringLiteral("ｻﾝﾌﾟﾘﾝｸﾞﾀｲﾑ"),
                            {QStringLiteral("１　秒"), QStringLiteral("２　秒"), QStringLiteral("４　秒")});
    RBPrinter = radioGroup(this, cell(2, 0), QStringLiteral("ﾌﾟﾘﾝﾀｰ"), {QStringLiteral("DPU-201"), QStringLiteral("DPU-411")});
    body()->addLayout(groups);
    fileButtons(this, body(), &BBSaveFile, &BBLoadFile);

    showValues(sender.parameters());
    connect(BBSaveFile, &QPushButton::clicked, this, [this] {
        if (const std::optional<ParameterSettings> v = values())
            saveSettingsFile(m_prompter, {*v, std::nullopt});
    });
    connect(BBLoadFile, &QPushButton::clicked, this, [this] {
        const std::optional<InstrumentSettingsFile> file = loadSettingsFile(m_prompter);
        if (file && file->parameters)
            showValues(*file->parameters);
    });
    EDRise->setFocus();
}

void TFormParam::showValues(const ParameterSettings &s)
{
    EDRise->setText(QString::fromLatin1(instrument::thresholdText(s.rise)));
    EDSink->setText(QString::fromLatin1(instrument::thresholdText(s.sink)));
    select(RGAutoSet, s.autoSet ? 1 : 0);
    select(RGTakeoff, s.takeOff ? 1 : 0);
    select(RBSound, s.sound);
    select(RBBarGraph, s.barGraph);
    select(RBNumeric, s.numeric);
    select(RBSampling, s.sampling);
    select(RBPrinter, s.printer);
}

std::optional<ParameterSettings> TFormParam::values()
{
    const std::optional<float> rise = thresholdOf(EDRise);
    const std::optional<float> sink = thresholdOf(EDSink);
    if (!rise || !sink) {
        m_prompter.inform(msg::ThresholdRange);
        return std::nullopt;
    }
    ParameterSettings s;
    s.rise = *rise;
    s.sink = *sink;
    s.autoSet = RGAutoSet->checkedId() > 0;
    s.takeOff = RGTakeoff->checkedId() > 0;
    // A group nothing was chosen in (a stored index out of range) sends its first choice.
    s.sound = qMax(0, RBSound->checkedId());
    s.barGraph = qMax(0, RBBarGraph->checkedId());
    s.numeric = qMax(0, RBNumeric->checkedId());
    s.sampling = qMax(0, RBSampling->checkedId());
    s.printer = qMax(0, RBPrinter->checkedId());
    return s;
}

void TFormParam::okClicked()
{
    const std::optional<ParameterSettings> v = values();
    if (!v)
        return;
    const auto [delay1, delay2] = m_sender.sendDelays();
    confirmAndSend(
        'P', [this, v] { m_sender.storeParameters(*v); }, [v] { return instrument::parameterMessage(*v); },
        std::chrono::milliseconds(delay1), std::chrono::milliseconds(delay2));
}

// ---- TFormOption ----------------------------------------------------------------------------

TFormOption::TFormOption(SettingsSender &sender, Prompter &prompter, QWidget *parent)
    : SettingsDialog(sender, prompter, parent, msg::OptionCaption.toString())
{
    setObjectName(QStringLiteral("FormOption"));
    RGOption1 = radioGroup(this, body(), QStringLiteral("ｵﾌﾟｼｮﾝ表示１"),
                           {QStringLiteral("最大高度"), QStringLiteral("風速"), QStringLiteral("ＡＬＴ２"),
                            QStringLiteral("ＡＬＴ３")},
                           2);
    GroupBox1 = new QGroupBox(QStringLiteral("ｵﾌﾟｼｮﾝ表示２"), this);
    auto *grid = new QGridLayout(GroupBox1);
    const auto box = [&](const char *text, int i) {
        auto *cb = new QCheckBox(QString::fromUtf8(text), GroupBox1);
        grid->addWidget(cb, i / 2, i % 2);
        connect(cb, &QCheckBox::clicked, this, &TFormOption::MakeDisable);
        return cb;
    };
    CBBaro = box("気圧", 0);
    CBThermo = box("温度", 1);
    CBMaxAlt = box("最大高度", 2);
    CBAlt2 = box("ＡＬＴ２", 3);
    CBAlt3 = box("ＡＬＴ３", 4);
    CBWindV = box("風速", 5);
    body()->addWidget(GroupBox1);
    body()->addWidget(new QLabel(QStringLiteral("ｵﾌﾟｼｮﾝ表示２は"), this));
    body()->addWidget(new QLabel(QStringLiteral("最大４ｱｲﾃﾑまで"), this));
    fileButtons(this, body(), &BBSaveFile, &BBLoadFile);

    showValues(sender.options());
    connect(BBSaveFile, &QPushButton::clicked, this, [this] { saveSettingsFile(m_prompter, {std::nullopt, values()}); });
    connect(BBLoadFile, &QPushButton::clicked, this, [this] {
        const std::optional<InstrumentSettingsFile> file = loadSettingsFile(m_prompter);
        if (file && file->options)
            showValues(*file->options);
    });
    (RGOption1->checkedButton() ? RGOption1->checkedButton() : RGOption1->button(0))->setFocus();
}

void TFormOption::showValues(const OptionSettings &stored)
{
    // More than four stored items cannot be sent: the first four stay.
    const OptionSettings s = instrument::limitedToFour(stored);
    select(RGOption1, s.option1);
    const std::pair<QCheckBox *, bool> boxes[] = {{CBBaro, s.barometer}, {CBThermo, s.thermo}, {CBMaxAlt, s.maxAlt},
                                                  {CBAlt2, s.alt2},     {CBAlt3, s.alt3},     {CBWindV, s.windV}};
    for (const auto &[cb, on] : boxes)
        cb->setChecked(on);
    MakeDisable();
}

void TFormOption::MakeDisable()
{
    const QCheckBox *const all[] = {CBBaro, CBThermo, CBMaxAlt, CBAlt2, CBAlt3, CBWindV};
    m_optionCount = int(std::count_if(std::begin(all), std::end(all), [](const QCheckBox *cb) { return cb->isChecked(); }));
    for (QCheckBox *cb : {CBBaro, CBThermo, CBMaxAlt, CBAlt2, CBAlt3, CBWindV})
        cb->setEnabled(m_optionCount < instrument::kMaxOptionItems || cb->isChecked());
}

OptionSettings TFormOption::values() const
{
    OptionSettings s;
    s.option1 = qMax(0, RGOption1->checkedId());
    s.barometer = CBBaro->isChecked();
    s.thermo = CBThermo->isChecked();
    s.maxAlt = CBMaxAlt->isChecked();
    s.alt2 = CBAlt2->isChecked();
    s.alt3 = CBAlt3->isChecked();
    s.windV = CBWindV->isChecked();
    return s;
}

void TFormOption::okClicked()
{
    const OptionSettings v = values();
    const auto [delay1, delay2] = m_sender.sendDelays();
    confirmAndSend(
        'O', [this, v] { m_sender.storeOptions(v); }, [v] { return instrument::optionMessage(v); },
        std::chrono::milliseconds(delay1), std::chrono::milliseconds(delay2));
}

// ---- TFormDelay -----------------------------------------------------------------------------

TFormDelay::TFormDelay(SettingsSender &sender, Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_sender(sender), m_prompter(prompter)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(msg::DelayCaption.toString());
    auto *grid = new QGridLayout(this);
    const auto [d1, d2] = sender.sendDelays();
    Delay1 = new QLineEdit(QString::number(d1), this);
    Delay2 = new QLineEdit(QString::number(d2), this);
    grid->addWidget(new QLabel(QStringLiteral("ディレイ１"), this), 0, 0);
    grid->addWidget(Delay1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("ms"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("ディレイ２"), this), 1, 0);
    grid->addWidget(Delay2, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("ms"), this), 1, 2);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("キャンセル"), this);
    grid->addWidget(BitBtn1, 2, 1);
    grid->addWidget(BitBtn2, 2, 2);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormDelay::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::close);
    Delay1->setFocus();
}

void TFormDelay::BitBtn1Click()
{
    bool ok1 = false;
    bool ok2 = false;
    const int d1 = Delay1->text().trimmed().toInt(&ok1);
    const int d2 = Delay2->text().trimmed().toInt(&ok2);
    if (!ok1 || !ok2) {
        // Neither is taken: the dialog stays with the pilot's text to mend.
        m_prompter.inform(msg::DelayNotNumber);
        return;
    }
    m_sender.setSendDelays(qMax(0, d1), qMax(0, d2)); // a negative pause is no pause
    close();
}
