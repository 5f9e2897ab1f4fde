// The settings file.
#include "settingsstore.h"

#include "logbook/core/filereader.h"
#include "logbook/core/filewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstring>

#ifdef Q_OS_WIN
#include "app/core/registrysettingsstore_win.h"
#endif

namespace {

QByteArray escape(const QByteArray &utf8)
{
    QByteArray out;
    for (const char c : utf8) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

QByteArray unescape(const QByteArray &text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char n = text[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

FileSettingsStore::FileSettingsStore(const QString &path) : m_path(path)
{
    // The program's own file, but a hand-edited or damaged one must not stall the start:
    // a few dozen short lines are all it ever holds.
    const std::optional<QByteArray> bytes = readInputFile(path, 1024 * 1024);
    if (!bytes)
        return;
    const QList<QByteArray> lines = bytes->split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype eq = line.indexOf('=');
        const qsizetype colon = line.indexOf(':', eq + 1);
        if (eq <= 0 || colon < 0)
            continue;
        const QString name = QString::fromUtf8(line.left(eq));
        const QByteArray type = line.mid(eq + 1, colon - eq - 1);
        const QByteArray text = line.mid(colon + 1);
        if (type == "dword") {
            bool ok = false;
            const qlonglong v = text.toLongLong(&ok);
            if (!ok || v < -2147483648LL || v > 4294967295LL)
                continue;
            const auto u = quint32(v);
            QByteArray data(4, '\0');
            for (int i = 0; i < 4; ++i)
                data[i] = char((u >> (8 * i)) & 0xFF);
            m_values[name] = {Type::Dword, data};
        } else if (type == "binary") {
            const QByteArray data = QByteArray::fromHex(text);
            if (data.toHex() != text.toLower())
                continue;
            m_values[name] = {Type::Binary, data};
        } else if (type == "sz") {
            m_values[name] = {Type::Sz, unescape(text)};
        }
    }
}

const FileSettingsStore::Value *FileSettingsStore::find(const QString &name, Type type) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end() || it->second.type != type)
        return nullptr;
    return &it->second;
}

std::optional<qint32> FileSettingsStore::readInt(const QString &name) const
{
    const Value *v = find(name, Type::Dword);
    if (!v)
        return std::nullopt;
    quint32 u = 0;
    for (int i = 0; i < 4; ++i)
        u |= quint32(quint8(v->data[i])) << (8 * i);
    return qint32(u);
}

std::optional<bool> SettingsStore::readBool(const QString &name) const
{
    const auto v = readInt(name);
    if (!v)
        return std::nullopt;
    return *v != 0;
}

std::optional<double> FileSettingsStore::readDouble(const QString &name) const
{
    const Value *v = find(name, Type::Binary);
    if (!v || v->data.size() != 8)
        return std::nullopt;
    quint64 bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= quint64(quint8(v->data[i])) << (8 * i);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::optional<QString> FileSettingsStore::readString(const QString &name) const
{
    const Value *v = find(name, Type::Sz);
    if (!v)
        return std::nullopt;
    return QString::fromUtf8(v->data);
}

void FileSettingsStore::writeInt(const QString &name, qint32 value)
{
    const auto u = quint32(value);
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = char((u >> (8 * i)) & 0xFF);
    m_values[name] = {Type::Dword, data};
}

void FileSettingsStore::writeDouble(const QString &name, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray data(8, '\0');
    for (int i = 0; i < 8; ++i)
        data[i] = char((bits >> (8 * i)) & 0xFF);
    m_values[name] = {Type::Binary, data};
}

void FileSettingsStore::writeString(const QString &name, const QString &value)
{
    m_values[name] = {Type::Sz, value.toUtf8()};
}

bool FileSettingsStore::commit()
{
    QByteArray text = "# DUVAZI settings: Name=type:value (dword, binary, sz)\n";
    for (const auto &[name, value] : m_values) {
        text += name.toUtf8() + '=';
        switch (value.type) {
        case Type::Dword: text += "dword:" + QByteArray::number(*readInt(name)); break;
        case Type::Binary: text += "binary:" + value.data.toHex(); break;
        case Type::Sz: text += "sz:" + escape(value.data); break;
        }
        text += '\n';
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    return !writeFile(m_path, text);
}

QString FileSettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/vevave/duvazi.conf");
}

std::unique_ptr<SettingsStore> openDefaultSettingsStore()
{
#ifdef Q_OS_WIN
    return std::make_unique<RegistrySettingsStore>();
#else
    return std::make_unique<FileSettingsStore>(FileSettingsStore::defaultPath());
#endif
}
