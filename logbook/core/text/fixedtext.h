// Text of a fixed-width record field, held inline: at most Width - 1 cp932 bytes (the
// width counts the terminator the file writes after it). Whatever is stored is cut to fit,
// never in the middle of a double-byte character. QtCore only.
#pragma once

#include "logbook/core/text/cp932.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>

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

    /// Stores `text` cut to kMaxBytes on a character boundary.
    void assign(QByteArrayView text)
    {
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
