// The instrument settings file.
#include "instrumentsettingsfile.h"

#include "logbook/core/filereader.h"

#include <QList>

#include <functional>
#include <map>

namespace {

// One name of the file: how to show its value and how to take one back.
struct Entry {
    const char *name;
    bool parameter; ///< belongs to the parameters, else to the options
    std::function<QByteArray(const InstrumentSettingsFile &)> show;
    std::function<bool(InstrumentSettingsFile &, QByteArrayView)> take;
    QStringView refused = u"値が範囲外です。"; ///< why a value `take` refuses is wrong
};

std::optional<int> indexIn(QByteArrayView text, int count)
{
    bool ok = false;
    const int v = text.toByteArray().toInt(&ok);
    return ok && v >= 0 && v < count && text.size() <= 2 ? std::optional<int>(v) : std::nullopt;
}

Entry choice(const char *name, int ParameterSettings::*field, int count)
{
    return {name, true, [field](const InstrumentSettingsFile &f) { return QByteArray::number((*f.parameters).*field); },
            [field, count](InstrumentSettingsFile &f, QByteArrayView v) {
                const std::optional<int> i = indexIn(v, count);
                if (i)
                    f.parameters.value().*field = *i;
                return i.has_value();
            }};
}

Entry parameterFlag(const char *name, bool ParameterSettings::*field)
{
    return {name, true, [field](const InstrumentSettingsFile &f) { return QByteArray((*f.parameters).*field ? "1" : "0"); },
            [field](InstrumentSettingsFile &f, QByteArrayView v) {
                const std::optional<int> i = indexIn(v, 2);
                if (i)
                    f.parameters.value().*field = *i == 1;
                return i.has_value();
            }};
}

// The instrument takes a threshold in tenths: a value between two steps (1.51) would be
// sent, and written back, as another (1.5), so it is refused rather than changed unseen.
Entry threshold(const char *name, float ParameterSettings::*field)
{
    return {name, true, [field](const InstrumentSettingsFile &f) { return instrument::thresholdText((*f.parameters).*field); },
            [field](InstrumentSettingsFile &f, QByteArrayView v) {
                bool ok = false;
                const float value = v.toByteArray().toFloat(&ok);
                if (!ok || v.size() > 8 || !instrument::isThresholdInRange(value)
                    || instrument::thresholdText(value).toFloat() != value)
                    return false;
                f.parameters.value().*field = value;
                return true;
            },
            u"値は0.1～4.0を0.1きざみで書いてください。"};
}

Entry optionFlag(const char *name, bool OptionSettings::*field)
{
    return {name, false, [field](const InstrumentSettingsFile &f) { return QByteArray((*f.options).*field ? "1" : "0"); },
            [field](InstrumentSettingsFile &f, QByteArrayView v) {
                const std::optional<int> i = indexIn(v, 2);
                if (i)
                    f.options.value().*field = *i == 1;
                return i.has_value();
            }};
}

const std::vector<Entry> &entries()
{
    static const std::vector<Entry> all = {
        threshold("Rise", &ParameterSettings::rise),
        threshold("Sink", &ParameterSettings::sink),
        parameterFlag("AutoSet", &ParameterSettings::autoSet),
        parameterFlag("TakeOff", &ParameterSettings::takeOff),
        choice("Sound", &ParameterSettings::sound, instrument::kChoices),
        choice("BarGraph", &ParameterSettings::barGraph, instrument::kChoices),
        choice("Numeric", &ParameterSettings::numeric, instrument::kChoices),
        choice("Sampling", &ParameterSettings::sampling, instrument::kSamplingChoices),
        choice("Printer", &ParameterSettings::printer, 2),
        {"Option1", false, [](const InstrumentSettingsFile &f) { return QByteArray::number(f.options->option1); },
         [](InstrumentSettingsFile &f, QByteArrayView v) {
             const std::optional<int> i = indexIn(v, instrument::kOption1Choices);
             if (i)
                 f.options->option1 = *i;
             return i.has_value();
         }},
        optionFlag("Barometer", &OptionSettings::barometer),
        optionFlag("Thermo", &OptionSettings::thermo),
        optionFlag("MaxAlt", &OptionSettings::maxAlt),
        optionFlag("Alt2", &OptionSettings::alt2),
        optionFlag("Alt3", &OptionSettings::alt3),
        optionFlag("WindV", &OptionSettings::windV),
    };
    return all;
}

} // namespace

QByteArray buildInstrumentSettingsFile(const InstrumentSettingsFile &settings)
{
    QByteArray text = "# DUVAZI instrument settings\n";
    for (const Entry &e : entries()) {
        if (e.parameter ? settings.parameters.has_value() : settings.options.has_value())
            text += QByteArray(e.name) + '=' + e.show(settings) + '\n';
    }
    return text;
}

std::variant<InstrumentSettingsFile, SettingsFileError> parseInstrumentSettingsFile(QByteArrayView image)
{
    InstrumentSettingsFile file;
    file.parameters.emplace();
    file.options.emplace();
    int parametersSeen = 0;
    int optionsSeen = 0;
    std::map<QByteArray, bool> seen;
    const QList<QByteArray> lines = image.toByteArray().split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QByteArray line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype eq = line.indexOf('=');
        const QByteArray name = eq < 0 ? line : line.left(eq).trimmed();
        const auto entry = std::find_if(entries().begin(), entries().end(),
                                        [&](const Entry &e) { return name == e.name; });
        if (eq < 0 || entry == entries().end())
            return SettingsFileError{n + 1, QStringLiteral("知らない項目です。")};
        if (seen[name])
            return SettingsFileError{n + 1, QStringLiteral("同じ項目が2回あります。")};
        seen[name] = true;
        if (!entry->take(file, QByteArrayView(line).sliced(eq + 1).trimmed()))
            return SettingsFileError{n + 1, entry->refused.toString()};
        ++(entry->parameter ? parametersSeen : optionsSeen);
    }
    // Whatever is missing is missing at the end of the file.
    const int lastLine = int(lines.size()) - (image.endsWith('\n') ? 1 : 0);
    const auto groupSize = [](bool parameter) {
        return int(std::count_if(entries().begin(), entries().end(), [parameter](const Entry &e) { return e.parameter == parameter; }));
    };
    if (parametersSeen != 0 && parametersSeen != groupSize(true))
        return SettingsFileError{lastLine, QStringLiteral("パラメータの項目が足りません。")};
    if (optionsSeen != 0 && optionsSeen != groupSize(false))
        return SettingsFileError{lastLine, QStringLiteral("オプション表示の項目が足りません。")};
    if (parametersSeen == 0)
        file.parameters.reset();
    if (optionsSeen == 0)
        file.options.reset();
    if (file.options && file.options->checkedCount() > instrument::kMaxOptionItems)
        return SettingsFileError{lastLine, QStringLiteral("オプション表示２は最大４アイテムまでです。")};
    if (!file.parameters && !file.options)
        return SettingsFileError{1, QStringLiteral("設定がありません。")};
    return file;
}

std::variant<InstrumentSettingsFile, SettingsFileError> readInstrumentSettingsFile(const QString &path)
{
    ReadFailure why;
    const std::optional<QByteArray> bytes = readInputFile(path, kMaxSettingsFileBytes, &why);
    if (!bytes)
        return SettingsFileError{0, why.reason()};
    return parseInstrumentSettingsFile(*bytes);
}
