// Where AppSettings live between runs: typed values under one key. On Windows the registry
// key HKEY_CURRENT_USER\Software\vevave\duvazi; elsewhere a small file in the user's
// configuration folder (organisation "vevave", application "duvazi"). QtCore only.
#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>
#include <optional>

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    /// Each read returns std::nullopt when the value is missing or has another type.
    virtual std::optional<qint32> readInt(const QString &name) const = 0;
    /// A bool is a 32-bit integer: non-zero reads as true.
    std::optional<bool> readBool(const QString &name) const;
    virtual std::optional<double> readDouble(const QString &name) const = 0; ///< 8-byte binary
    virtual std::optional<QString> readString(const QString &name) const = 0;

    virtual void writeInt(const QString &name, qint32 value) = 0;
    /// Stored as the integer 0 or 1.
    void writeBool(const QString &name, bool value) { writeInt(name, value ? 1 : 0); }
    virtual void writeDouble(const QString &name, double value) = 0;
    virtual void writeString(const QString &name, const QString &value) = 0;

    /// Makes what was written permanent. Returns false when it could not be.
    virtual bool commit() = 0;
};

/// A store in a text file, one "Name=type:value" line per value, where type is the
/// registry's: dword (decimal), binary (hex bytes; a double is 8 of them) or sz (escaped
/// text). Lines that do not parse are ignored. Saved all or nothing.
class FileSettingsStore : public SettingsStore {
public:
    /// Reads the file if it exists; a missing or unreadable file is an empty store.
    explicit FileSettingsStore(const QString &path);

    std::optional<qint32> readInt(const QString &name) const override;
    std::optional<double> readDouble(const QString &name) const override;
    std::optional<QString> readString(const QString &name) const override;
    void writeInt(const QString &name, qint32 value) override;
    void writeDouble(const QString &name, double value) override;
    void writeString(const QString &name, const QString &value) override;
    bool commit() override;

    const QString &path() const { return m_path; }

    /// ~/.config/vevave/duvazi.conf (or the platform's equivalent folder).
    static QString defaultPath();

private:
    enum class Type { Dword, Binary, Sz };
    struct Value {
        Type type;
        QByteArray data; ///< Dword: 4 bytes little-endian; Binary: raw; Sz: UTF-8
    };
    const Value *find(const QString &name, Type type) const;

    QString m_path;
    std::map<QString, Value> m_values;
};

/// The store this platform uses: the registry key on Windows, the file elsewhere.
std::unique_ptr<SettingsStore> openDefaultSettingsStore();
