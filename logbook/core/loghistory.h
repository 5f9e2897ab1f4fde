// The undo history of a log book. Each step the pilot takes on the rows (add, edit, delete,
// sort, a CSV's flights, a download, leaving flights out of the statistics), on the time
// carried over or on the currency rules and gear is kept as the difference it made, so that a step costs what it changed and
// not what the log holds: per row that stayed, by rowId, only the fields that changed (the
// number never counts: every redraw of the list rewrites it, and undo and redo renumber);
// the rows that went, with where they stood and all they held; the rows that came; and only
// when rows were put in another order (a sort) the order as two rowId lists. Undo and redo
// rebuild the rows from it, giving every field back byte for byte and every row its rowId,
// so that whatever follows a row by its id keeps following it. Run-time state (open
// windows, the instrument's index) is never taken from the history. QtCore only.
#pragma once

#include "logbook/core/currency.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/gear.h"

#include <QString>

#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class LogBook;

/// A barograph file that a step (Delete) takes into the backup folder with the next save of
/// the log, to be left or put back by its undo.
struct RetiredFile {
    QString path; ///< where the file stands
};

/// A value as a step found it and as it left it.
template<typename T>
struct BeforeAfter {
    T before, after;
};

/// What a step changed in a row that was there before it and after it.
struct RowChange {
    quint64 rowId = 0;
    std::vector<std::pair<Field, BeforeAfter<QByteArray>>> fields; ///< never Field::Number
    /// The companion-held state, when the step changed it.
    std::optional<BeforeAfter<bool>> excluded;
    std::optional<BeforeAfter<std::shared_ptr<const DownloadedFlight>>> downloaded;
};

/// A row a step took away or brought: where it stood (its index among the rows) and all it
/// held, for undo or redo to put it back.
struct PlacedRow {
    int index = 0;
    FlightRecord row;
};

/// The log-wide figures carried over from before the log (a paper log book).
struct CarriedOver {
    int flights = 0;
    qint64 seconds = 0;
    bool operator==(const CarriedOver &) const = default;
};

/// The pilot's currency rules and gear, kept whole: a handful of entries, so a step that
/// changes them stores both lists.
struct CurrencyPlans {
    std::vector<CurrencyRule> rules;
    std::vector<GearItem> gear;
    bool operator==(const CurrencyPlans &) const = default;
};

/// One step of the history.
struct LogStep {
    QString name;                   ///< as the Edit menu shows it ("削除 3件")
    std::vector<PlacedRow> removed; ///< by ascending index before the step
    std::vector<PlacedRow> added;   ///< by ascending index after the step
    std::vector<RowChange> changed;
    /// The rows' ids before and after the step, only when the rows that stayed changed
    /// their order; otherwise `removed` and `added` say all that moved.
    std::vector<quint64> orderBefore, orderAfter;
    std::optional<BeforeAfter<CarriedOver>> carried;
    std::optional<BeforeAfter<CurrencyPlans>> plans;
    std::vector<RetiredFile> retired;

    bool movesRows() const { return !removed.empty() || !added.empty() || !orderBefore.empty(); }
};

class LogHistory {
public:
    /// Steps kept; the oldest goes when one more is recorded.
    static constexpr int kMaxSteps = 200;

    /// Forgets every step: the rows as they stand are the saved state (a log opened, a
    /// new log).
    void reset(const LogBook &book);
    /// Records what changed in the rows and the carried-over figures since the last record,
    /// undo or redo as one step called `name`, dropping the steps undone before it. Nothing
    /// is recorded when nothing changed (false).
    bool record(const LogBook &book, const QString &name, std::vector<RetiredFile> retired = {});

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < int(m_steps.size()); }
    /// The step undo or redo would take (null when there is none).
    const LogStep *nextUndo() const { return canUndo() ? &m_steps[size_t(m_done - 1)] : nullptr; }
    const LogStep *nextRedo() const { return canRedo() ? &m_steps[size_t(m_done)] : nullptr; }
    /// The rows an undo or redo would remove (those with a window open must close first).
    std::vector<quint64> rowsUndoRemoves() const;
    std::vector<quint64> rowsRedoRemoves() const;

    /// Takes the rows back to before the latest step / forward over the step undone last,
    /// and renumbers them as the list does; the log is modified unless this is the saved
    /// state. Returns the step (null: none).
    const LogStep *undo(LogBook &book);
    const LogStep *redo(LogBook &book);
    /// Takes the rows back to before the latest step and forgets it, as if never taken (the
    /// files its rows name could not be written: no redo may bring them back).
    void dropLatest(LogBook &book);
    /// Updates where a step's retired files now lie (a redo moved them into the backup
    /// folder again).
    void setRetired(const LogStep *step, std::vector<RetiredFile> retired);

    /// The rows as they stand were saved.
    void markSaved() { m_savedAt = m_done; }
    /// Something the history does not hold was changed (the log's name): no state it can
    /// go back to is the saved one any more.
    void markChangedOutside() { m_savedAt = -1; }

    int undoCount() const { return m_done; }
    int redoCount() const { return int(m_steps.size()) - m_done; }

private:
    void applied(LogBook &book);

    std::deque<LogStep> m_steps;
    int m_done = 0;     ///< steps before the present state
    int m_savedAt = 0;  ///< m_done of the saved state; -1 when none of the history's is
    /// The rows and carried-over figures as the history last saw them.
    std::vector<FlightRecord> m_baseline;
    CarriedOver m_baselineCarried;
    CurrencyPlans m_baselinePlans;
};
