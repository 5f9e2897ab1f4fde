// Settings in the registry key HKEY_CURRENT_USER\Software\vevave\duvazi (Windows only):
// integers and bools as REG_DWORD, doubles as 8 bytes of REG_BINARY, text as REG_SZ.
#pragma once

#include "app/core/settingsstore.h"

class RegistrySettingsStore : public SettingsStore {
public:
    /// Opens the key, creating it if it is missing.
    RegistrySettingsStore();
    ~RegistrySettingsStore() override;

    std::optional<qint32> readInt(const QString &name) const override;
    std::optional<double> readDouble(const QString &name) const override;
    std::optional<QString> readString(const QString &name) const override;
    void writeInt(const QString &name, qint32 value) override;
    void writeDouble(const QString &name, double value) override;
    void writeString(const QString &name, const QString &value) override;
    bool commit() override;

private:
    void *m_key = nullptr; ///< HKEY; null when the key could not be opened
    bool m_failed = false;
};
