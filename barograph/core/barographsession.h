// One barograph being looked at and edited: the trace with its statistics, the surface
// layout and the visible window, the cursor, the drag in progress, and the edits (cuts,
// altitude corrections) with the modified flag, down to saving the file and the flight's
// row. The barograph window and duvazi-tool both work through it. QtCore only.
#pragma once

#include "barograph/core/barographtrace.h"
#include "barograph/core/flightanalysis.h"
#include "barograph/core/flightstats.h"
#include "barograph/core/graphlayout.h"
#include "barograph/core/graphview.h"
#include "logbook/core/filewriter.h"

#include <QByteArray>
#include <QPoint>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

struct FlightRecord;

/// The eight operations of the zoom tool window's buttons (plain click, and with Shift).
enum class ZoomStep { ZoomInH, ZoomOutH, ZoomInV, ZoomOutV, ScrollLeft, ScrollRight, ScrollUp, ScrollDown };

/// How an altitude correction finds its offset.
enum class CorrectionMode {
    None,    ///< no mode chosen: offset 0
    Zero,    ///< the lowest sample becomes 0 m
    Takeoff, ///< the first sample becomes the given take-off altitude
    Offset   ///< the given offset
};

/// An altitude or offset in metres as the pilot typed it into the correction dialog. Read as
/// C reads a real number (leading blanks, a sign, digits with a decimal point and exponent,
/// up to the first character that does not fit: "350m" is 350), after full-width digits,
/// signs, decimal point and space and the minus sign U+2212 are taken as their ASCII forms,
/// since a Japanese input method types those. std::nullopt when the text does not begin
/// with a number ("", "abc", "-"): it must not count as 0 m. A number beyond a double's
/// range reads as an infinity, which no correction accepts.
std::optional<double> readTypedMetres(QStringView typed);

/// The state of a mouse drag on the altitude panel, recorded at the press.
struct GraphDrag {
    enum Mode { None = 0, Pan = 1, Rubber = 2 };
    int mode = None;
    QPoint press;
    qint32 pressViewStart = 0;   ///< panning
    qint32 pressAltMin = 0;      ///< panning
    float xFraction = 0;         ///< rubber zoom: (press x - plotLeft) / plot width
    float yFraction = 0;         ///< rubber zoom: (plotBottom - press y) / plot height
    qint32 pressViewSamples = 0; ///< rubber zoom
    qint32 pressAltSpan = 0;     ///< rubber zoom
    qint32 anchorSample = 0;     ///< rubber zoom: the sample under the press
    qint32 anchorAltitude = 0;   ///< rubber zoom: the altitude under the press
    GraphView pressView;         ///< the view at the press
};

class BarographSession {
public:
    /// A session on a trace of at least 2 samples whose first sample was taken
    /// `takeoffSeconds` after midnight, drawn on a surface `surfaceWidth` pixels wide.
    BarographSession(BarographTrace trace, qint32 takeoffSeconds, qint32 surfaceWidth);

    /// Reads the barograph a flight record names in `workFolder` (barographPath: a name
    /// with a path in it is refused). std::nullopt when the file cannot be used.
    static std::optional<BarographSession> load(const QString &workFolder, const FlightRecord &record,
                                                qint32 surfaceWidth);
    /// Reads a barograph file by its path; the take-off time is a record's `time` text. Why
    /// it could not be read goes to `why` when given (readBarographFile).
    static std::optional<BarographSession> loadFile(const QString &path, QByteArrayView takeoffTime,
                                                    qint32 surfaceWidth, ReadFailure *why = nullptr);

    const BarographTrace &trace() const { return m_trace; }
    const FlightStats &stats() const { return m_stats; }
    /// Take-off, landing, climbs and the climb-rate distribution of the trace as it stands.
    const FlightAnalysis &analysis() const { return m_analysis; }
    const GraphLayout &layout() const { return m_layout; }
    const GraphView &view() const { return m_view; }
    qint32 takeoffSeconds() const { return m_takeoffSeconds; }
    bool baroModified() const { return m_baroModified; }
    /// The altitude corrections applied since the file was read, added up; none when none was.
    std::optional<float> appliedCorrection() const { return m_correctionM; }
    /// The file the trace was read from (empty for a session made from a trace).
    const QString &path() const { return m_path; }
    const GraphDrag &drag() const { return m_drag; }

    // The cursor: whether it is shown, and its elapsed time (kept while it is off).
    bool cursorOn = false;
    float cursorTime = 0;
    /// The second mark the cursor's figures are measured from (elapsed seconds); none until
    /// the pilot sets one. A cut clears it, since its time would name another sample.
    std::optional<float> markTime;

    /// Statistics, analysis and the whole view again (after loading, a cut or a correction).

    void recompute();
    /// The surface changed width: the layout follows, the view ticks are computed anew.
    void setSurfaceWidth(qint32 width);
    /// The whole trace in view, with its ticks (the zoom window closed).
    void showWholeTrace();

    /// Zooms to the stretch from `startSec` to `endSec` (elapsed seconds) with a quarter of
    /// its length on each side, at least 16 samples, and to the altitudes flown there with a
    /// margin above and below, at least 30 m; always inside the whole trace and its axis. A
    /// shown cursor is held inside the new view.
    void showStretch(double startSec, double endSec);

    /// A button of the zoom window. False when nothing at all happened (a zoom at its
    /// limit); otherwise the view changed or stayed as it was, and is drawn again.
    bool zoom(ZoomStep step);

    /// A mouse press at a surface position: the right button in the altitude panel starts
    /// panning, the left button a rubber zoom. False when no drag started.
    bool beginDrag(QPoint pos, bool rightButton);
    /// A mouse move during a drag (x is held to the panels' width): one pan or rubber-zoom
    /// step from the view at the press. False when it does not apply (no drag, or a
    /// pan outside the altitude panel).
    bool dragTo(QPoint pos);
    /// The drag of that button ends.
    void endDrag(bool rightButton);

    /// The right cut at the cursor: the samples after the cursor's go, and the cursor stands
    /// at the new end. False (nothing changed) when there is nothing to remove.
    bool canCutRight() const;
    bool cutRight();
    /// The left cut: the samples before the one just before the cursor's go, the take-off
    /// time moves later, the cursor stands at 0. False when there is nothing to remove.
    bool canCutLeft() const;
    bool cutLeft();

    /// The offset a correction adds: minus the lowest sample, the take-off altitude minus
    /// the first sample, or the offset itself.
    float correctionOffset(CorrectionMode mode, double takeoffAltitudeM, double offsetM) const;
    /// Adds `offsetM` to every altitude (varios stay as they are), recomputes and marks the
    /// trace modified; a shown cursor keeps its time. False, with nothing changed, when a
    /// sample would leave the range a barograph file can hold.
    bool correctAltitudes(float offsetM);

    // The history of the edits: each cut, correction or revert is a step. The samples of
    // every state are kept whole (a few tens of kilobytes for a usual flight), so undo
    // gives back every sample's bytes, never a sum taken back.
    static constexpr int kMaxSteps = 100;
    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done + 1 < int(m_states.size()); }
    /// The names of the steps undo and redo would take (empty when none).
    QString undoName() const { return canUndo() ? m_states[size_t(m_done)].name : QString(); }
    QString redoName() const { return canRedo() ? m_states[size_t(m_done + 1)].name : QString(); }
    /// Takes the trace back to before the latest step / forward over the step undone last.
    /// The trace is modified unless it is now as it was saved or read; the view shows the
    /// whole trace and the cursor, when shown, stays in it. False when there was no step.
    bool undo();
    bool redo();
    /// Puts in another barograph as one step (the file as downloaded, for one): the trace,
    /// the take-off time and no correction; modified as any edit is. False, with nothing
    /// changed and no step, when the trace shown is already that one.
    bool replaceTrace(BarographTrace trace, qint32 takeoffSeconds, const QString &stepName);

    enum class SaveStatus { Saved, NameRefused, WriteFailed };
    struct SaveResult {
        SaveStatus status = SaveStatus::Saved;
        std::optional<WriteFailure> failure; ///< WriteFailed: why
        bool renamed = false;                ///< the record now names another file
    };
    /// The other files one save changes with the barograph (the log holding the record, a
    /// companion file), given the record as the save leaves it.
    using CompanionFiles = std::function<std::vector<FileImage>(const FlightRecord &saved)>;
    /// Writes the trace to `chosenPath` (barographImage: the version it replaces kept in
    /// `workFolder`'s "bak"), then the record, when there is one: the upper-case name when
    /// the path is not the file read, and the take-off time, duration, maximum altitude and
    /// climb. The files `companions` gives are written in the same write, all or nothing.
    /// NameRefused: the record could not hold the name, nothing written. On a failure
    /// nothing on disk and in the record has changed. Once saved, the trace is no longer
    /// modified until an edit, an undo or a redo moves it from the state saved.
    SaveResult save(const QString &chosenPath, const QString &workFolder, FlightRecord *record,
                    const CompanionFiles &companions = {});

private:
    /// One state of the trace the history can go back to.
    struct State {
        std::shared_ptr<const BarographTrace> trace;
        qint32 takeoffSeconds = 0;
        std::optional<float> correctionM;
        QString name; ///< the step that led here
    };
    State current() const;
    void pushState(const QString &name);
    /// After a save: the samples as the file holds them, so that the window shows what a
    /// later opening of the file will.
    void adoptSavedImage(QByteArrayView image);
    void restore(const State &state);
    void clampCursor(bool atMostEnd, bool atLeastStart);
    bool rubberStep(QPoint pos);

    BarographTrace m_trace;
    FlightStats m_stats;
    FlightAnalysis m_analysis;
    GraphLayout m_layout;
    GraphView m_view;
    GraphDrag m_drag;
    QString m_path;
    qint32 m_takeoffSeconds = 0;
    bool m_baroModified = false;
    std::optional<float> m_correctionM;
    std::deque<State> m_states; ///< the states the history holds, from the oldest
    int m_done = 0;             ///< index of the present state in m_states
    int m_savedAt = 0;          ///< index of the state on disk; -1 when none is
};

/// Where a surface of `surface` pixels goes on a page whose printable area is `page`
/// printer pixels: scaled by s = min(PW / W x 0.9, PH / H x 0.9) in 32-bit floats and
/// centred, each edge truncated: (trunc((PW - W s) / 2), trunc((PH - H s) / 2)) to
/// (trunc((PW + W s) / 2), trunc((PH + H s) / 2)). The rectangle's right and bottom are
/// those edges (QRect's inclusive right is one less).
struct PrintPlacement {
    float scale = 1;
    qint32 left = 0, top = 0, right = 0, bottom = 0;
};
PrintPlacement printPlacement(qint32 surfaceWidth, qint32 surfaceHeight, qint32 pageWidth, qint32 pageHeight);
