// A table of values and the names they have in JSON, read both ways. QtCore only.
#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

template <typename T, size_t N>
QString nameIn(const std::pair<T, const char16_t *> (&table)[N], T value)
{
    for (const auto &[v, name] : table) {
        if (v == value)
            return QString::fromUtf16(name);
    }
    return {};
}

template <typename T, size_t N>
std::optional<T> valueIn(const std::pair<T, const char16_t *> (&table)[N], QStringView name)
{
    for (const auto &[v, n] : table) {
        if (name == QStringView(n))
            return v;
    }
    return std::nullopt;
}
