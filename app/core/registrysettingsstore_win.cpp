// The registry store (compiled on Windows only).
#include "registrysettingsstore_win.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

HKEY key(void *k)
{
    return static_cast<HKEY>(k);
}

std::wstring wide(const QString &s)
{
    return s.toStdWString();
}

} // namespace

RegistrySettingsStore::RegistrySettingsStore()
{
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\vevave\\duvazi", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &k, nullptr) == ERROR_SUCCESS)
        m_key = k;
}

RegistrySettingsStore::~RegistrySettingsStore()
{
    if (m_key)
        RegCloseKey(key(m_key));
}

std::optional<qint32> RegistrySettingsStore::readInt(const QString &name) const
{
    DWORD type = 0, value = 0, size = sizeof value;
    if (!m_key
        || RegQueryValueExW(key(m_key), wide(name).c_str(), nullptr, &type,
                            reinterpret_cast<BYTE *>(&value), &size) != ERROR_SUCCESS
        || type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return qint32(value);
}

std::optional<double> RegistrySettingsStore::readDouble(const QString &name) const
{
    DWORD type = 0, size = 8;
    BYTE bytes[8] = {};
    if (!m_key
        || RegQueryValueExW(key(m_key), wide(name).c_str(), nullptr, &type, bytes, &size)
               != ERROR_SUCCESS
        || type != REG_BINARY || size != 8)
        return std::nullopt;
    double d;
    std::memcpy(&d, bytes, 8);
    return d;
}

std::optional<QString> RegistrySettingsStore::readString(const QString &name) const
{
    DWORD type = 0, size = 0;
    const std::wstring n = wide(name);
    if (!m_key || RegQueryValueExW(key(m_key), n.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS
        || type != REG_SZ)
        return std::nullopt;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key(m_key), n.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE *>(buffer.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return QString::fromWCharArray(buffer.data());
}

void RegistrySettingsStore::writeInt(const QString &name, qint32 value)
{
    const DWORD v = DWORD(value);
    if (!m_key || RegSetValueExW(key(m_key), wide(name).c_str(), 0, REG_DWORD,
                                 reinterpret_cast<const BYTE *>(&v), sizeof v) != ERROR_SUCCESS)
        m_failed = true;
}

void RegistrySettingsStore::writeDouble(const QString &name, double value)
{
    BYTE bytes[8];
    std::memcpy(bytes, &value, 8);
    if (!m_key || RegSetValueExW(key(m_key), wide(name).c_str(), 0, REG_BINARY, bytes, 8) != ERROR_SUCCESS)
        m_failed = true;
}

void RegistrySettingsStore::writeString(const QString &name, const QString &value)
{
    const std::wstring v = wide(value);
    if (!m_key || RegSetValueExW(key(m_key), wide(name).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE *>(v.c_str()),
                                 DWORD((v.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        m_failed = true;
}

bool RegistrySettingsStore::commit()
{
    return m_key && !m_failed;
}
