// The text of a record field. A log file ends every field with a 0x00 byte, so no field may
// hold one: whatever is stored is cut at its first 0x00, whoever stores it (a file, a reply
// from the instrument, the editor, the tool). QtCore only.
//
// FixedText: a fixed-width field, held inline: at most Width - 1 cp932 bytes (the width
// counts the terminator). Cut to fit, never in the middle of a double-byte character.
// VariableText: the comment, any length.
#pragma once

#include "logbook/core/text/cp932.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>

/// `text` up to its first 0x00.
inline QByteArrayView beforeNul(QByteArrayView text)
{
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.first(nul);
}

template<int Width>
class FixedText {
    static_assert(Width >= 2 && Width <= 256);

public:
    static constexpr int kMaxBytes = Width - 1;

    FixedText() = default;
    FixedText(QByteArrayView text) { assign(text); } // NOLINT: implicit on purpose
    FixedText(const char *text) { assign(QByteArrayView(text)); }
    FixedText(const QByteArray &text) { assign(QByteArrayView(text)); }

    FixedText &operator=(QByteArrayView text)
    {
        assign(text);
        return *this;
    }
    FixedText &operator=(const char *text) { return *this = QByteArrayView(text); }
    FixedText &operator=(const QByteArray &text) { return *this = QByteArrayView(text); }

    /// Stores `text` up to its first 0x00, cut to kMaxBytes on a character boundary.
    void assign(QByteArrayView text)
    {
        text = beforeNul(text);
        m_size = static_cast<unsigned char>(cp932::fitLength(text, kMaxBytes));
        if (m_size)
            std::memcpy(m_data, text.data(), m_size);
    }
    void clear() { m_size = 0; }

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    const char *data() const { return m_data; }
    QByteArrayView view() const { return QByteArrayView(m_data, m_size); }
    operator QByteArrayView() const { return view(); } // NOLINT: implicit on purpose
    QByteArray toByteArray() const { return QByteArray(m_data, m_size); }

    friend bool operator==(const FixedText &a, const FixedText &b) { return a.view() == b.view(); }
    friend bool operator!=(const FixedText &a, const FixedText &b) { return !(a == b); }
    friend bool operator==(const FixedText &a, QByteArrayView b) { return a.view() == b; }
    friend bool operator!=(const FixedText &a, QByteArrayView b) { return !(a == b); }
    friend bool operator==(const FixedText &a, const QByteArray &b) { return a.view() == QByteArrayView(b); }
    friend bool operator!=(const FixedText &a, const QByteArray &b) { return !(a == b); }
    friend bool operator==(const FixedText &a, const char *b) { return a.view() == QByteArrayView(b); }
    friend bool operator!=(const FixedText &a, const char *b) { return !(a == b); }

    /// For QCOMPARE in tests: the bytes, readable.
    friend char *toString(const FixedText &t) { return qstrdup(t.toByteArray().toPercentEncoding(" /:.").constData()); }

private:
    char m_data[kMaxBytes];
    unsigned char m_size = 0;
};

class VariableText {
public:
    VariableText() = default;
    VariableText(QByteArrayView text) { assign(text); } // NOLINT: implicit on purpose
    VariableText(const char *text) { assign(QByteArrayView(text)); }
    VariableText(const QByteArray &text) { assign(QByteArrayView(text)); }

    VariableText &operator=(QByteArrayView text)
    {
        assign(text);
        return *this;
    }
    VariableText &operator=(const char *text) { return *this = QByteArrayView(text); }
    VariableText &operator=(const QByteArray &text) { return *this = QByteArrayView(text); }

    /// Stores `text` up to its first 0x00.
    void assign(QByteArrayView text)
    {
        m_text = beforeNul(text).toByteArray();
    }
    void clear() { m_text.clear(); }

    const QByteArray &bytes() const { return m_text; }
    operator const QByteArray &() const { return m_text; } // NOLINT: implicit on purpose
    qsizetype size() const { return m_text.size(); }
    bool isEmpty() const { return m_text.isEmpty(); }
    bool endsWith(QByteArrayView tail) const { return m_text.endsWith(tail); }

    friend bool operator==(const VariableText &a, const VariableText &b) { return a.m_text == b.m_text; }
    friend bool operator!=(const VariableText &a, const VariableText &b) { return !(a == b); }

private:
    QByteArray m_text;
};
