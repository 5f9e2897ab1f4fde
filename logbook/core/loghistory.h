// The undo history of a log book. Each step the pilot takes on the rows (add, edit, delete,
// sort, a CSV's flights, a download, the renumbering that follows them) is kept as the
// difference it made, by rowId: the rows that went with their content, the rows that came,
// the old and new content of the rows that changed, and the order of the rows as two rowId
// lists when rows came, went or moved. Undo and redo rebuild the rows from it, giving every
// field back byte for byte and every row its rowId, so that whatever follows a row by its
// id keeps following it. Run-time state (open windows, the instrument's index) is never
// taken from the history. QtCore only.
#pragma once

#include "logbook/core/flightrecord.h"

#include <QString>

#include <deque>
#include <vector>

class LogBook;

/// A barograph file that a step (Delete) takes into the backup folder with the next save of
/// the log, to be left or put back by its undo.
struct RetiredFile {
    QString path; ///< where the file stands
};

/// One step of the history.
struct LogStep {
    QString name; ///< as the Edit menu shows it ("削除 3件")
    /// The rows' ids before and after the step; both empty when the step left every row
    /// where it was.
    std::vector<quint64> orderBefore, orderAfter;
    std::vector<FlightRecord> before; ///< rows the step removed or changed, as they were
    std::vector<FlightRecord> after;  ///< rows the step added or changed, as they became
    std::vector<RetiredFile> retired;

    bool movesRows() const { return !orderBefore.empty(); }
};

/// The stored content of a row, what undo gives back: the nine fields, whether it counts in
/// the statistics and its row as downloaded.
bool sameContent(const FlightRecord &a, const FlightRecord &b);

class LogHistory {
public:
    /// Steps kept; the oldest goes when one more is recorded.
    static constexpr int kMaxSteps = 200;

    /// Forgets every step: the rows as they stand are the saved state (a log opened, a
    /// new log).
    void reset(const LogBook &book);
    /// Records what changed in the rows since the last record, undo or redo as one step
    /// called `name`, dropping the steps undone before it. Nothing is recorded when nothing
    /// changed (false).
    bool record(const LogBook &book, const QString &name, std::vector<RetiredFile> retired = {});

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < int(m_steps.size()); }
    /// The step undo or redo would take (null when there is none).
    const LogStep *nextUndo() const { return canUndo() ? &m_steps[size_t(m_done - 1)] : nullptr; }
    const LogStep *nextRedo() const { return canRedo() ? &m_steps[size_t(m_done)] : nullptr; }
    /// The rows an undo or redo would remove (those with a window open must close first).
    std::vector<quint64> rowsUndoRemoves() const;
    std::vector<quint64> rowsRedoRemoves() const;

    /// Takes the rows back to before the latest step / forward over the step undone last;
    /// the log is modified unless this is the saved state. Returns the step (null: none).
    const LogStep *undo(LogBook &book);
    const LogStep *redo(LogBook &book);
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
    /// The rows as the history last saw them.
    std::vector<FlightRecord> m_baseline;
};
