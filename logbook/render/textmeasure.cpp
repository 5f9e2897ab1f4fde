// Measuring figures in the font they are drawn in.
#include "textmeasure.h"

#include "logbook/core/text/cp932.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

QFontMetricsF metricsOf(const QFont &font, const QPaintDevice *device)
{
    return device ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

int roundedUp(qreal advance)
{
    return int(std::ceil(advance)) + 1;
}

} // namespace

TextMeasure measuredIn(const QFont &font, const QPaintDevice *device)
{
    const QFontMetricsF metrics = metricsOf(font, device);
    return {[metrics](const QByteArray &text) { return qint32(roundedUp(metrics.horizontalAdvance(cp932::toUnicode(text)))); },
            qint32(std::ceil(metrics.height()))};
}

int widestAdvance(const QFont &font, const QStringList &texts, const QPaintDevice *device)
{
    const QFontMetricsF metrics = metricsOf(font, device);
    qreal widest = 0;
    for (const QString &text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return texts.isEmpty() ? 0 : roundedUp(widest);
}

QStringList widestCandidates(qsizetype count, const std::function<QString(qsizetype)> &textAt)
{
    qsizetype longest = 0;
    QStringList candidates;
    for (qsizetype i = 0; i < count; ++i) {
        const QString text = textAt(i);
        if (text.size() < longest - 1)
            continue;
        if (text.size() > longest) {
            longest = text.size();
            candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                            [&](const QString &t) { return t.size() < longest - 1; }),
                             candidates.end());
        }
        if (candidates.size() < 64 && !candidates.contains(text))
            candidates << text;
    }
    return candidates;
}
