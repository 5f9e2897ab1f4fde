// A rule's proof on paper.
#include "currencyproof.h"

#include "barograph/core/messages.h"
#include "logbook/core/logbook.h"
#include "logbook/core/messages.h"
#include "logbook/core/text/cp932.h"
#include "logbook/core/text/numbertext.h"
#include "logbook/render/logbookprint.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <array>

namespace {

// Each column's share of the width: row, date, time, site, duration, height difference, origin.
constexpr std::array<double, 7> kShare = {0.07, 0.12, 0.12, 0.25, 0.12, 0.12, 0.20};

void drawRow(QPainter &p, QRect line, const std::array<QString, 7> &cells, bool ruled)
{
    int x = line.left();
    for (size_t c = 0; c < cells.size(); ++c) {
        const int w = int(line.width() * kShare[c]);
        const QRect cell(x, line.top(), w, line.height());
        const QRect inner = cell.adjusted(line.height() / 6, 0, -line.height() / 6, 0);
        p.drawText(inner, int((c == 3 || c == 6 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter),
                   p.fontMetrics().elidedText(cells[c], Qt::ElideRight, inner.width()));
        if (ruled)
            p.drawRect(cell);
        x += w;
    }
}

} // namespace

QByteArray currencyProofPdf(const LogBook &book, const CurrencyReport &report, size_t rule, const QString &title)
{
    using namespace baromsg;
    const CurrencyRule &r = report.rules.at(rule);
    const RuleStatus &s = report.status.at(rule);
    const std::vector<ProofRow> proof = proofRows(book, report, rule);

    const auto labelled = [](QStringView label, const QString &value) { return label.toString() + u'：' + value; };
    QString status = labelled(CurrencyOn, QString::fromLatin1(numtext::dateText(report.on))) + u'　' +
                     (s.met ? CurrencyMet : CurrencyNotMet).toString();
    if (r.kind != RuleKind::Expiry)
        status += u'　' + labelled(CurrencyCount, ruleCountText(r, s) + QStringLiteral(" / ") + QString::number(r.min));
    if (s.lapses)
        status += u'　' + labelled(CurrencyLapses, QString::fromLatin1(numtext::dateText(*s.lapses)));
    QStringList heading = {CurrencyProofTitle.toString().arg(cp932::toUnicode(r.name)), ruleConditionText(r), status};
    if (!r.source.isEmpty())
        heading.append(labelled(CurrencySource, cp932::toUnicode(r.source)));
    QStringList notes;
    for (const auto &[row, state] : s.notMeasured)
        notes.append(CurrencyNotCounted.toString().arg(row).arg(heightStateText(state)));

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("DUVAZI"));
        pdf.setTitle(title);
        pdf.setResolution(300);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                      QPageLayout::Millimeter));
        QPainter p(&pdf);
        const QRect page = p.viewport();
        const int lineHeight = page.height() / 50;
        p.setFont(pageFont(lineHeight * 3 / 5));
        const std::array<QString, 7> titles = {CurrencyRow.toString(),      msg::TitleDate.toString(),
                                               msg::TitleTime.toString(),   msg::TitleArea.toString(),
                                               msg::TitleDuration.toString(), CurrencyDrop.toString(),
                                               CurrencyOrigin.toString()};
        size_t next = 0;     // the next flight to print
        qsizetype noted = 0; // the next note
        for (bool first = true; first || next < proof.size() || noted < notes.size(); first = false) {
            if (!first)
                pdf.newPage();
            int y = page.top();
            const auto line = [&] {
                const QRect at(page.left(), y, page.width(), lineHeight);
                y += lineHeight;
                return at;
            };
            p.drawText(line(), int(Qt::AlignLeft | Qt::AlignVCenter), title);
            if (first) {
                for (const QString &h : heading)
                    p.drawText(line(), int(Qt::AlignLeft | Qt::AlignVCenter), h);
                line();
            }
            if (next < proof.size() || first) {
                drawRow(p, line(), titles, true);
                for (; next < proof.size() && y + lineHeight <= page.bottom(); ++next) {
                    const ProofRow &row = proof[next];
                    const FlightRecord &f = book.row(row.row);
                    drawRow(p, line(),
                            {QString::number(row.row), cp932::toUnicode(f.date), cp932::toUnicode(f.time),
                             cp932::toUnicode(f.area), cp932::toUnicode(f.duration),
                             row.height.state == RowHeight::State::Measured
                                 ? QString::fromLatin1(numtext::fixed(row.height.dropM, 1)) + QStringLiteral(" m")
                                 : heightStateText(row.height.state),
                             (row.fromInstrument ? CurrencyFromInstrument : CurrencyTyped).toString()},
                            true);
                }
            }
            if (next < proof.size())
                continue;
            if (noted == 0 && y + lineHeight <= page.bottom())
                line();
            for (; noted < notes.size() && y + lineHeight <= page.bottom(); ++noted)
                p.drawText(line(), int(Qt::AlignLeft | Qt::AlignVCenter), notes[noted]);
        }
    }
    return bytes;
}
