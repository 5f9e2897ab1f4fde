// The undo history of a log book.
#include "loghistory.h"

#include "logbook/core/logbook.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <utility>

namespace {

// The fields a step compares: all but the number, which is the row's place.
constexpr Field kContentFields[] = {Field::Date,     Field::Time,    Field::Area,
                                    Field::Duration, Field::MaxAltitude, Field::MaxClimb,
                                    Field::Comment,  Field::BarographFile};

// A row as the history keeps it: without the windows that happened to be open on it.
FlightRecord stored(const FlightRecord &row)
{
    FlightRecord s = row;
    s.editorOpen = false;
    s.graphOpen = false;
    s.graphWindow = nullptr;
    s.editorWindow = nullptr;
    return s;
}

CarriedOver carriedOf(const LogBook &book)
{
    return {book.companion.carriedFlights, book.companion.carriedSeconds};
}

CurrencyPlans plansOf(const LogBook &book)
{
    return {book.companion.rules, book.companion.gear};
}

std::vector<quint64> idsOf(const std::vector<FlightRecord> &rows)
{
    std::vector<quint64> ids;
    ids.reserve(rows.size());
    for (const FlightRecord &r : rows)
        ids.push_back(r.rowId);
    return ids;
}

std::vector<quint64> idsOf(const std::vector<PlacedRow> &rows)
{
    std::vector<quint64> ids;
    ids.reserve(rows.size());
    for (const PlacedRow &r : rows)
        ids.push_back(r.row.rowId);
    return ids;
}

// What changed in a row that stayed, when anything did.
void compareRow(const FlightRecord &before, const FlightRecord &after, std::vector<RowChange> &changes)
{
    RowChange change;
    for (Field f : kContentFields) {
        const QByteArrayView b = before.fieldText(f);
        const QByteArrayView a = after.fieldText(f);
        if (a == b)
            continue;
        // The comment shares its bytes with the row; the fixed fields are short.
        if (f == Field::Comment)
            change.fields.push_back({f, {before.comment.bytes(), after.comment.bytes()}});
        else
            change.fields.push_back({f, {b.toByteArray(), a.toByteArray()}});
    }
    if (before.excludedFromStatistics != after.excludedFromStatistics)
        change.excluded = BeforeAfter<bool>{before.excludedFromStatistics, after.excludedFromStatistics};
    if (before.downloaded != after.downloaded)
        change.downloaded = BeforeAfter<std::shared_ptr<const DownloadedFlight>>{before.downloaded, after.downloaded};
    if (change.fields.empty() && !change.excluded && !change.downloaded)
        return;
    change.rowId = after.rowId;
    changes.push_back(std::move(change));
}

// The rows' difference from `before` to `after` into `step`. Rows at the start and at the
// end that kept their ids are only compared; in the part between, a row is kept, removed or
// added by its id, and only when the kept rows changed their order are the orders stored.
void compareRows(const std::vector<FlightRecord> &before, const std::vector<FlightRecord> &after, LogStep &step)
{
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head].rowId == after[head].rowId) {
        compareRow(before[head], after[head], step.changed);
        ++head;
    }
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before[before.size() - 1 - tail].rowId == after[after.size() - 1 - tail].rowId) {
        compareRow(before[before.size() - 1 - tail], after[after.size() - 1 - tail], step.changed);
        ++tail;
    }
    const size_t beforeEnd = before.size() - tail;
    const size_t afterEnd = after.size() - tail;
    QHash<quint64, size_t> afterIndex;
    afterIndex.reserve(qsizetype(afterEnd - head));
    for (size_t j = head; j < afterEnd; ++j)
        afterIndex.insert(after[j].rowId, j);
    std::vector<char> kept(afterEnd - head, 0);
    bool keptOrder = true;
    qsizetype lastKept = -1; // where the latest kept row now stands
    for (size_t i = head; i < beforeEnd; ++i) {
        const auto it = afterIndex.constFind(before[i].rowId);
        if (it == afterIndex.cend()) {
            step.removed.push_back({int(i), stored(before[i])});
            continue;
        }
        keptOrder = keptOrder && qsizetype(*it) > lastKept;
        lastKept = qsizetype(*it);
        kept[*it - head] = 1;
        compareRow(before[i], after[*it], step.changed);
    }
    for (size_t j = head; j < afterEnd; ++j) {
        if (!kept[j - head])
            step.added.push_back({int(j), stored(after[j])});
    }
    if (!keptOrder) {
        step.orderBefore = idsOf(before);
        step.orderAfter = idsOf(after);
    }
}

// Rows that kept their order: takes away the rows `leaving` names and puts `coming` in at
// their places, each at its index as rows are counted once it is in.
void splice(LogBook &book, const std::vector<PlacedRow> &leaving, const std::vector<PlacedRow> &coming)
{
    const std::vector<quint64> leavingIds = idsOf(leaving);
    const QSet<quint64> gone(leavingIds.begin(), leavingIds.end());
    std::vector<FlightRecord> rows;
    rows.reserve(size_t(book.rowCount()) + coming.size());
    auto next = coming.begin();
    const auto bringDue = [&] {
        while (next != coming.end() && next->index <= int(rows.size()))
            rows.push_back((next++)->row);
    };
    for (int r = 0; r < book.rowCount(); ++r) {
        if (gone.contains(book.row(r).rowId))
            continue;
        bringDue();
        rows.push_back(std::move(book.row(r)));
    }
    bringDue();
    while (next != coming.end())
        rows.push_back((next++)->row);
    book.restoreRows(std::move(rows));
}

// Rows put in another order: brings them to the order `to`, from the rows at hand and those
// `coming` holds. `from` is the order the step leaves behind: a row in neither list came
// from outside the history and stays, at the end.
void reorder(LogBook &book, const std::vector<quint64> &to, const std::vector<quint64> &from,
             const std::vector<PlacedRow> &coming)
{
    QHash<quint64, int> current;
    current.reserve(book.rowCount());
    for (int r = 0; r < book.rowCount(); ++r)
        current.insert(book.row(r).rowId, r);
    QHash<quint64, const FlightRecord *> content;
    for (const PlacedRow &c : coming)
        content.insert(c.row.rowId, &c.row);

    std::vector<FlightRecord> rows;
    rows.reserve(to.size());
    std::vector<char> used(size_t(book.rowCount()), 0);
    for (quint64 id : to) {
        if (const auto it = current.constFind(id); it != current.cend()) {
            used[size_t(*it)] = 1;
            rows.push_back(std::move(book.row(*it)));
        } else if (const auto c = content.constFind(id); c != content.cend()) {
            rows.push_back(**c);
        }
    }
    const QSet<quint64> stepRows(from.begin(), from.end());
    for (size_t i = 0; i < used.size(); ++i) {
        FlightRecord &row = book.row(int(i));
        if (!used[i] && !stepRows.contains(row.rowId))
            rows.push_back(std::move(row));
    }
    book.restoreRows(std::move(rows));
}

// Takes the rows, the carried-over figures and the currency plans over a step, backwards or
// forwards.
void applyStep(LogBook &book, const LogStep &step, bool back)
{
    const std::vector<PlacedRow> &leaving = back ? step.added : step.removed;
    const std::vector<PlacedRow> &coming = back ? step.removed : step.added;
    if (!step.orderBefore.empty())
        reorder(book, back ? step.orderBefore : step.orderAfter, back ? step.orderAfter : step.orderBefore, coming);
    else if (!leaving.empty() || !coming.empty())
        splice(book, leaving, coming);

    if (!step.changed.empty()) {
        QHash<quint64, int> rowOf;
        rowOf.reserve(book.rowCount());
        for (int r = 0; r < book.rowCount(); ++r)
            rowOf.insert(book.row(r).rowId, r);
        for (const RowChange &c : step.changed) {
            const auto it = rowOf.constFind(c.rowId);
            if (it == rowOf.cend())
                continue;
            FlightRecord &row = book.row(*it);
            for (const auto &[field, text] : c.fields)
                row.setField(field, back ? text.before : text.after);
            if (c.excluded)
                row.excludedFromStatistics = back ? c.excluded->before : c.excluded->after;
            if (c.downloaded)
                row.downloaded = back ? c.downloaded->before : c.downloaded->after;
        }
    }
    if (step.carried) {
        const CarriedOver &to = back ? step.carried->before : step.carried->after;
        book.companion.carriedFlights = to.flights;
        book.companion.carriedSeconds = to.seconds;
    }
    if (step.plans) {
        const CurrencyPlans &to = back ? step.plans->before : step.plans->after;
        book.companion.rules = to.rules;
        book.companion.gear = to.gear;
    }
    book.renumber();
}

} // namespace

void LogHistory::reset(const LogBook &book)
{
    m_steps.clear();
    m_done = 0;
    m_savedAt = 0;
    m_baseline = book.records();
    m_baselineCarried = carriedOf(book);
    m_baselinePlans = plansOf(book);
}

bool LogHistory::record(const LogBook &book, const QString &name, std::vector<RetiredFile> retired)
{
    LogStep step;
    step.name = name;
    step.retired = std::move(retired);
    compareRows(m_baseline, book.records(), step);
    if (const CarriedOver carried = carriedOf(book); carried != m_baselineCarried)
        step.carried = BeforeAfter<CarriedOver>{m_baselineCarried, carried};
    if (CurrencyPlans plans = plansOf(book); plans != m_baselinePlans)
        step.plans = BeforeAfter<CurrencyPlans>{m_baselinePlans, std::move(plans)};
    if (!step.movesRows() && step.changed.empty() && !step.carried && !step.plans && step.retired.empty())
        return false;

    m_baseline = book.records();
    m_baselineCarried = carriedOf(book);
    m_baselinePlans = plansOf(book);
    m_steps.erase(m_steps.begin() + m_done, m_steps.end());
    if (m_savedAt > m_done)
        m_savedAt = -1; // the saved state was undone and is now out of reach
    m_steps.push_back(std::move(step));
    ++m_done;
    while (int(m_steps.size()) > kMaxSteps) {
        m_steps.pop_front();
        --m_done;
        if (m_savedAt >= 0)
            --m_savedAt;
    }
    return true;
}

std::vector<quint64> LogHistory::rowsUndoRemoves() const
{
    const LogStep *s = nextUndo();
    return s ? idsOf(s->added) : std::vector<quint64>();
}

std::vector<quint64> LogHistory::rowsRedoRemoves() const
{
    const LogStep *s = nextRedo();
    return s ? idsOf(s->removed) : std::vector<quint64>();
}

const LogStep *LogHistory::undo(LogBook &book)
{
    if (!canUndo())
        return nullptr;
    const LogStep &step = m_steps[size_t(--m_done)];
    applyStep(book, step, true);
    applied(book);
    return &step;
}

const LogStep *LogHistory::redo(LogBook &book)
{
    if (!canRedo())
        return nullptr;
    const LogStep &step = m_steps[size_t(m_done++)];
    applyStep(book, step, false);
    applied(book);
    return &step;
}

void LogHistory::dropLatest(LogBook &book)
{
    if (!undo(book))
        return;
    m_steps.erase(m_steps.begin() + m_done, m_steps.end());
    if (m_savedAt > m_done)
        m_savedAt = -1;
}

void LogHistory::setRetired(const LogStep *step, std::vector<RetiredFile> retired)
{
    for (LogStep &s : m_steps) {
        if (&s == step)
            s.retired = std::move(retired);
    }
}

void LogHistory::applied(LogBook &book)
{
    m_baseline = book.records();
    m_baselineCarried = carriedOf(book);
    m_baselinePlans = plansOf(book);
    book.logModified = m_done != m_savedAt;
}
