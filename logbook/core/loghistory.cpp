// The undo history of a log book.
#include "loghistory.h"

#include "logbook/core/logbook.h"

#include <QHash>
#include <QSet>

#include <utility>

namespace {

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

// Gives a row the stored content of `from`, keeping its own run-time state.
void copyContent(FlightRecord &to, const FlightRecord &from)
{
    FlightRecord runtime = std::move(to);
    to = from;
    to.editorOpen = runtime.editorOpen;
    to.graphOpen = runtime.graphOpen;
    to.graphWindow = runtime.graphWindow;
    to.editorWindow = runtime.editorWindow;
    to.deviceIndex = runtime.deviceIndex;
    to.rowId = runtime.rowId;
}

QHash<quint64, qsizetype> indexById(const std::vector<FlightRecord> &rows)
{
    QHash<quint64, qsizetype> index;
    index.reserve(qsizetype(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i)
        index.insert(rows[i].rowId, qsizetype(i));
    return index;
}

std::vector<quint64> idsOf(const std::vector<FlightRecord> &rows)
{
    std::vector<quint64> ids;
    ids.reserve(rows.size());
    for (const FlightRecord &r : rows)
        ids.push_back(r.rowId);
    return ids;
}

// The ids of `from` that `to` does not hold.
std::vector<quint64> leaving(const std::vector<quint64> &from, const std::vector<quint64> &to)
{
    const QSet<quint64> staying(to.begin(), to.end());
    std::vector<quint64> gone;
    for (quint64 id : from) {
        if (!staying.contains(id))
            gone.push_back(id);
    }
    return gone;
}

// Brings the rows to the order `to` (when given) and the content `contents`. `from` is
// the order the step leaves behind: a row in neither list came from outside the history
// and stays, at the end.
void applyStep(LogBook &book, const std::vector<quint64> &to, const std::vector<quint64> &from,
               const std::vector<FlightRecord> &contents)
{
    const QHash<quint64, qsizetype> current = indexById(book.records());
    if (to.empty()) {
        for (const FlightRecord &c : contents) {
            if (const auto it = current.constFind(c.rowId); it != current.cend())
                copyContent(book.row(int(*it)), c);
        }
        return;
    }
    QHash<quint64, const FlightRecord *> content;
    content.reserve(qsizetype(contents.size()));
    for (const FlightRecord &c : contents)
        content.insert(c.rowId, &c);

    std::vector<FlightRecord> rows;
    rows.reserve(to.size());
    std::vector<char> used(size_t(book.rowCount()), 0);
    qsizetype usedCount = 0;
    for (quint64 id : to) {
        const auto stored = content.constFind(id);
        if (const auto it = current.constFind(id); it != current.cend()) {
            used[size_t(*it)] = 1;
            ++usedCount;
            rows.push_back(std::move(book.row(int(*it))));
            if (stored != content.cend())
                copyContent(rows.back(), **stored);
        } else if (stored != content.cend()) {
            rows.push_back(**stored);
        }
    }
    if (usedCount < book.rowCount()) {
        const QSet<quint64> stepRows(from.begin(), from.end());
        for (size_t i = 0; i < used.size(); ++i) {
            FlightRecord &row = book.row(int(i));
            if (!used[i] && !stepRows.contains(row.rowId))
                rows.push_back(std::move(row));
        }
    }
    book.restoreRows(std::move(rows));
}

} // namespace

bool sameContent(const FlightRecord &a, const FlightRecord &b)
{
    return a.number == b.number && a.date == b.date && a.time == b.time && a.area == b.area
           && a.duration == b.duration && a.maxAltitude == b.maxAltitude && a.maxClimb == b.maxClimb
           && a.comment == b.comment && a.barographFile == b.barographFile
           && a.excludedFromStatistics == b.excludedFromStatistics && a.downloaded == b.downloaded;
}

void LogHistory::reset(const LogBook &book)
{
    m_steps.clear();
    m_done = 0;
    m_savedAt = 0;
    m_baseline = book.records();
}

bool LogHistory::record(const LogBook &book, const QString &name, std::vector<RetiredFile> retired)
{
    const std::vector<FlightRecord> &now = book.records();
    LogStep step;
    step.name = name;
    step.retired = std::move(retired);
    bool sameOrder = now.size() == m_baseline.size();
    for (size_t i = 0; sameOrder && i < now.size(); ++i)
        sameOrder = now[i].rowId == m_baseline[i].rowId;
    if (sameOrder) {
        for (size_t i = 0; i < now.size(); ++i) {
            if (!sameContent(now[i], m_baseline[i])) {
                step.before.push_back(stored(m_baseline[i]));
                step.after.push_back(stored(now[i]));
            }
        }
    } else {
        step.orderBefore = idsOf(m_baseline);
        step.orderAfter = idsOf(now);
        const QHash<quint64, qsizetype> old = indexById(m_baseline);
        std::vector<char> kept(m_baseline.size(), 0);
        for (const FlightRecord &row : now) {
            const auto it = old.constFind(row.rowId);
            if (it == old.cend()) {
                step.after.push_back(stored(row));
                continue;
            }
            kept[size_t(*it)] = 1;
            if (!sameContent(row, m_baseline[size_t(*it)])) {
                step.before.push_back(stored(m_baseline[size_t(*it)]));
                step.after.push_back(stored(row));
            }
        }
        for (size_t i = 0; i < kept.size(); ++i) {
            if (!kept[i])
                step.before.push_back(stored(m_baseline[i]));
        }
    }
    if (!step.movesRows() && step.before.empty() && step.retired.empty())
        return false;

    m_baseline = now;
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
    return s ? leaving(s->orderAfter, s->orderBefore) : std::vector<quint64>();
}

std::vector<quint64> LogHistory::rowsRedoRemoves() const
{
    const LogStep *s = nextRedo();
    return s ? leaving(s->orderBefore, s->orderAfter) : std::vector<quint64>();
}

const LogStep *LogHistory::undo(LogBook &book)
{
    if (!canUndo())
        return nullptr;
    const LogStep &step = m_steps[size_t(--m_done)];
    applyStep(book, step.orderBefore, step.orderAfter, step.before);
    applied(book);
    return &step;
}

const LogStep *LogHistory::redo(LogBook &book)
{
    if (!canRedo())
        return nullptr;
    const LogStep &step = m_steps[size_t(m_done++)];
    applyStep(book, step.orderAfter, step.orderBefore, step.after);
    applied(book);
    return &step;
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
    book.logModified = m_done != m_savedAt;
}
