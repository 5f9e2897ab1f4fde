// One barograph being looked at and edited.
#include "barographsession.h"

#include "barograph/core/barographfile.h"
#include "barograph/core/barographsave.h"
#include "barograph/core/messages.h"
#include "logbook/core/fieldformats.h"
#include "logbook/core/flightrecord.h"
#include "logbook/core/logfiles.h"
#include "logbook/core/logoperations.h"
#include "logbook/core/text/numbertext.h"

#include <QDir>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace {

// The fewest samples and metres a zoom may show. The rubber zoom's floor never exceeds
// what the whole trace offers (a trace of 10 samples, an axis of 10 m).
constexpr qint32 kRubberMinSamples = 16;
constexpr qint32 kRubberMinAltSpan = 30;
constexpr qint32 kButtonZoomInBelowSamples = 16;
constexpr qint32 kButtonZoomInBelowAltSpan = 60;
// A stretch shown on its own keeps this much of its length beside it on each side, and
// this much of its height (but at least kStretchMinAltMarginM) above and below, so that
// the pilot sees how it began and ended.
constexpr double kStretchTimeMargin = 0.25;
constexpr double kStretchAltMargin = 0.15;
constexpr double kStretchMinAltMarginM = 10;

} // namespace

BarographSession::BarographSession(BarographTrace trace, qint32 takeoffSeconds, qint32 surfaceWidth)
    : m_trace(std::move(trace)), m_layout(GraphLayout::forWidth(surfaceWidth)), m_takeoffSeconds(takeoffSeconds)
{
    recompute();
    m_states.push_back(current());
}

BarographSession::State BarographSession::current() const
{
    return State{std::make_shared<const BarographTrace>(m_trace), m_takeoffSeconds, m_correctionM, QString()};
}

void BarographSession::pushState(const QString &name)
{
    m_states.erase(m_states.begin() + m_done + 1, m_states.end());
    if (m_savedAt > m_done)
        m_savedAt = -1; // the state on disk was undone and is now out of reach
    State s = current();
    s.name = name;
    m_states.push_back(std::move(s));
    ++m_done;
    while (int(m_states.size()) > kMaxSteps + 1) {
        m_states.pop_front();
        --m_done;
        if (m_savedAt >= 0)
            --m_savedAt;
    }
    m_baroModified = true;
}

void BarographSession::restore(const State &state)
{
    m_trace = *state.trace;
    m_takeoffSeconds = state.takeoffSeconds;
    m_correctionM = state.correctionM;
    recompute();
    markTime.reset(); // its time may name another sample now
    cursorTime = std::clamp(cursorTime, 0.0f, float(m_stats.flightSeconds));
    m_baroModified = m_done != m_savedAt;
}

bool BarographSession::undo()
{
    if (!canUndo())
        return false;
    --m_done;
    restore(m_states[size_t(m_done)]);
    return true;
}

bool BarographSession::redo()
{
    if (!canRedo())
        return false;
    ++m_done;
    restore(m_states[size_t(m_done)]);
    return true;
}

bool BarographSession::replaceTrace(BarographTrace trace, qint32 takeoffSeconds, const QString &stepName)
{
    // A revert of a trace never edited would otherwise be a step that changes nothing yet
    // marks the window changed and asks to save on closing.
    if (!m_correctionM && takeoffSeconds == m_takeoffSeconds && trace.interval == m_trace.interval &&
        trace.marks == m_trace.marks && trace.altitudes == m_trace.altitudes)
        return false;
    m_trace = std::move(trace);
    m_takeoffSeconds = takeoffSeconds;
    m_correctionM.reset();
    recompute();
    markTime.reset();
    cursorTime = std::clamp(cursorTime, 0.0f, float(m_stats.flightSeconds));
    pushState(stepName);
    return true;
}

std::optional<BarographSession> BarographSession::load(const QString &workFolder, const FlightRecord &record,
                                                       qint32 surfaceWidth)
{
    const std::optional<QString> path = barographPath(workFolder, record.barographFile);
    if (!path)
        return std::nullopt;
    return loadFile(*path, record.time, surfaceWidth);
}

std::optional<BarographSession> BarographSession::loadFile(const QString &path, QByteArrayView takeoffTime,
                                                           qint32 surfaceWidth, ReadFailure *why)
{
    std::optional<BarographFile> file = readBarographFile(path, why);
    if (!file)
        return std::nullopt;
    BarographSession session(BarographTrace::fromFile(std::move(*file)), fieldformat::secondsOf(takeoffTime), surfaceWidth);
    session.m_path = path;
    return session;
}

void BarographSession::recompute()
{
    m_stats = computeFlightStats(m_trace);
    // A correction moves no climb in time, but recomputing costs a few milliseconds even for
    // the longest trace and leaves one rule for every change.
    m_analysis = analyseFlight(m_trace);
    m_view = GraphView::fullView(m_trace, m_stats);
}

void BarographSession::setSurfaceWidth(qint32 width)
{
    m_layout = GraphLayout::forWidth(width);
    m_view.updateTicks();
}

void BarographSession::showWholeTrace()
{
    m_view = GraphView::fullView(m_trace, m_stats);
}

void BarographSession::clampCursor(bool atMostEnd, bool atLeastStart)
{
    if (!cursorOn)
        return;
    if (atMostEnd)
        cursorTime = std::min(cursorTime, float(m_view.viewEnd));
    if (atLeastStart)
        cursorTime = std::max(cursorTime, float(m_view.viewStart));
}

void BarographSession::showStretch(double startSec, double endSec)
{
    GraphView &v = m_view;
    const qint64 n = m_trace.sampleCount();
    const qint32 interval = m_trace.interval;
    const double margin = std::max((endSec - startSec) * kStretchTimeMargin, double(interval));
    qint64 first = std::max<qint64>(qint64(std::floor((startSec - margin) / interval)), 0);
    qint64 last = std::min<qint64>(qint64(std::ceil((endSec + margin) / interval)), n - 1);
    const qint64 fewest = std::min<qint64>(kRubberMinSamples, n);
    if (last - first + 1 < fewest) {
        first = std::max<qint64>((first + last + 1) / 2 - fewest / 2, 0);
        last = std::min<qint64>(first + fewest - 1, n - 1);
        first = last - fewest + 1;
    }
    v.firstSample = qint32(first);
    v.lastSample = qint32(last);
    v.viewSamples = qint32(last - first + 1);
    v.viewSeconds = (v.viewSamples - 1) * interval;
    v.viewStart = v.firstSample * interval;
    v.viewEnd = v.viewStart + v.viewSeconds;

    const auto from = m_trace.altitudes.begin() + first, to = m_trace.altitudes.begin() + last + 1;
    const auto [low, high] = std::minmax_element(from, to);
    const double altMargin = std::max(double(*high - *low) * kStretchAltMargin, kStretchMinAltMarginM);
    const qint64 bottom = qint64(std::floor(double(*low) - altMargin));
    const qint64 top = qint64(std::ceil(double(*high) + altMargin));
    const qint32 span = qint32(std::clamp<qint64>(top - bottom, std::min(kRubberMinAltSpan, v.axisAltSpan), v.axisAltSpan));
    v.viewAltSpan = span;
    v.viewAltMin = qint32(std::clamp<qint64>(bottom, v.axisAltMin, v.axisAltMax - span));
    v.viewAltMax = v.viewAltMin + span;
    v.updateTicks();
    clampCursor(true, true);
}

bool BarographSession::zoom(ZoomStep step)
{
    GraphView &v = m_view;
    const qint32 n = m_trace.sampleCount();
    const qint32 interval = m_trace.interval;
    switch (step) {
    case ZoomStep::ZoomInH:
        if (v.viewSamples < kButtonZoomInBelowSamples)
            return false;
        v.viewSamples /= 2;
        v.lastSample = v.firstSample + v.viewSamples - 1;
        v.viewSeconds = (v.viewSamples - 1) * interval;
        v.viewEnd = v.viewStart + v.viewSeconds;
        v.updateTicks();
        clampCursor(true, false);
        return true;
    case ZoomStep::ZoomOutH:
        v.viewSamples = qint32(std::min<qint64>(qint64(v.viewSamples) * 2, n));
        v.lastSample = v.firstSample + v.viewSamples - 1;
        if (v.lastSample >= n) {
            v.lastSample = n - 1;
            v.firstSample = n - v.viewSamples;
            v.viewStart = v.firstSample * interval;
        }
        v.viewSeconds = (v.viewSamples - 1) * interval;
        v.viewEnd = (v.firstSample + v.viewSamples - 1) * interval;
        v.updateTicks();
        return true;
    case ZoomStep::ZoomInV:
        if (v.viewAltSpan < kButtonZoomInBelowAltSpan)
            return false;
        v.viewAltSpan /= 2;
        v.viewAltMax = v.viewAltMin + v.viewAltSpan;
        v.updateTicks();
        return true;
    case ZoomStep::ZoomOutV:
        v.viewAltSpan = qint32(std::min<qint64>(qint64(v.viewAltSpan) * 2, v.axisAltSpan));
        v.viewAltMax = v.viewAltMin + v.viewAltSpan;
        // The bottom edge stays unless the doubled span would reach above the axis: then
        // the view keeps its span and moves down to end at the axis top.
        if (v.viewAltMax > v.axisAltMax) {
            v.viewAltMax = v.axisAltMax;
            v.viewAltMin = v.viewAltMax - v.viewAltSpan;
        }
        v.updateTicks();
        return true;
    case ZoomStep::ScrollRight:
        v.lastSample = std::min(v.lastSample + v.viewSamples / 2, n - 1);
        v.firstSample = v.lastSample - v.viewSamples + 1;
        v.viewStart = v.firstSample * interval;
        v.viewEnd = v.viewStart + v.viewSeconds;
        clampCursor(false, true);
        return true;
    case ZoomStep::ScrollLeft:
        v.firstSample = std::max(v.firstSample - v.viewSamples / 2, 0);
        v.lastSample = v.firstSample + v.viewSamples - 1;
        v.viewStart = v.firstSample * interval;
        v.viewEnd = v.viewStart + v.viewSeconds;
        clampCursor(true, false);
        return true;
    case ZoomStep::ScrollUp:
        v.viewAltMax = std::min(v.viewAltMax + v.viewAltSpan / 2, v.axisAltMax);
        v.viewAltMin = v.viewAltMax - v.viewAltSpan;
        return true;
    case ZoomStep::ScrollDown:
        v.viewAltMin = std::max(v.viewAltMin - v.viewAltSpan / 2, v.axisAltMin);
        v.viewAltMax = v.viewAltMin + v.viewAltSpan;
        return true;
    }
    return false;
}

bool BarographSession::beginDrag(QPoint pos, bool rightButton)
{
    if (m_drag.mode != GraphDrag::None || !m_layout.inAltitudePanel(pos.x(), pos.y()))
        return false;
    const GraphLayout &l = m_layout;
    m_drag = GraphDrag();
    m_drag.press = pos;
    m_drag.pressView = m_view;
    if (rightButton) {
        m_drag.mode = GraphDrag::Pan;
        m_drag.pressViewStart = m_view.viewStart;
        m_drag.pressAltMin = m_view.viewAltMin;
    } else {
        m_drag.mode = GraphDrag::Rubber;
        m_drag.xFraction = float(pos.x() - l.plotLeft) / float(l.plotWidth());
        m_drag.yFraction = float(l.plotBottom - pos.y()) / float(l.plotHeight());
        m_drag.pressViewSamples = m_view.viewSamples;
        m_drag.pressAltSpan = m_view.viewAltSpan;
        m_drag.anchorSample = qint32(std::trunc(m_view.timeAtX(pos.x(), l))) / m_trace.interval;
        m_drag.anchorAltitude = qint32(std::trunc(float(m_view.viewAltSpan) * m_drag.yFraction)) + m_view.viewAltMin;
    }
    return true;
}

void BarographSession::endDrag(bool rightButton)
{
    if ((rightButton && m_drag.mode == GraphDrag::Pan) || (!rightButton && m_drag.mode == GraphDrag::Rubber))
        m_drag.mode = GraphDrag::None;
}

bool BarographSession::dragTo(QPoint pos)
{
    const GraphLayout &l = m_layout;
    GraphView &v = m_view;
    pos.setX(std::clamp(pos.x(), l.plotLeft, l.plotRight));
    if (m_drag.mode == GraphDrag::Rubber)
        return rubberStep(pos);
    if (m_drag.mode != GraphDrag::Pan || !l.inAltitudePanel(pos.x(), pos.y()))
        return false;

    const qint32 flightSeconds = m_stats.flightSeconds;
    const qint64 dx = qint64(pos.x()) - m_drag.press.x();
    v.viewStart = qint32(std::max<qint64>(m_drag.pressViewStart - dx * v.viewSeconds / l.plotWidth(), 0));
    v.viewEnd = v.viewStart + v.viewSeconds;
    if (v.viewEnd > flightSeconds) {
        v.viewEnd = flightSeconds;
        v.viewStart = v.viewEnd - v.viewSeconds;
    }
    v.firstSample = v.viewStart / m_trace.interval;
    v.lastSample = v.firstSample + v.viewSamples - 1;

    const qint64 dy = qint64(pos.y()) - m_drag.press.y();
    v.viewAltMin = qint32(std::max<qint64>(dy * v.viewAltSpan / l.plotHeight() + m_drag.pressAltMin, v.axisAltMin));
    v.viewAltMax = v.viewAltMin + v.viewAltSpan;
    if (v.viewAltMax > v.axisAltMax) {
        v.viewAltMax = v.axisAltMax;
        v.viewAltMin = v.viewAltMax - v.viewAltSpan;
    }
    return true;
}

// Each 10 pixels of travel from the press shrink (right, up) or grow (left, down) the view
// at the press by 4/5 or 5/4; the sample or altitude under the press point stays under it.
// Less than 10 pixels gives the view at the press itself: laid around the anchor it would
// move by the anchor's rounding, so that every click nudged the view.
bool BarographSession::rubberStep(QPoint pos)
{
    GraphView &v = m_view;
    const GraphView &at = m_drag.pressView;
    const qint32 n = m_trace.sampleCount();
    const qint32 dx = std::abs(pos.x() - m_drag.press.x());
    const qint32 dy = std::abs(pos.y() - m_drag.press.y());
    if (dy < dx && dx < 10) {
        v.viewSamples = at.viewSamples;
        v.firstSample = at.firstSample;
        v.lastSample = at.lastSample;
        v.viewStart = at.viewStart;
        v.viewEnd = at.viewEnd;
        v.viewSeconds = at.viewSeconds;
    } else if (dy >= dx && dy < 10) {
        v.viewAltMin = at.viewAltMin;
        v.viewAltMax = at.viewAltMax;
        v.viewAltSpan = at.viewAltSpan;
    } else if (dy < dx) {
        qint64 d = m_drag.pressViewSamples;
        if (pos.x() > m_drag.press.x()) {
            for (qint32 k = (pos.x() - m_drag.press.x()) / 10; k > 0 && d >= kRubberMinSamples; --k)
                d = d * 4 / 5;
            d = std::max<qint64>(d, kRubberMinSamples);
        } else {
            for (qint32 k = (m_drag.press.x() - pos.x()) / 10; k > 0 && d < n; --k)
                d = d * 5 / 4;
        }
        d = std::min<qint64>(d, n);
        v.viewSamples = qint32(d);
        v.firstSample = std::max(m_drag.anchorSample - qint32(std::trunc(float(d) * m_drag.xFraction)), 0);
        v.lastSample = v.firstSample + v.viewSamples - 1;
        if (v.lastSample >= n) {
            v.lastSample = n - 1;
            v.firstSample = n - v.viewSamples;
        }
        v.viewSeconds = (v.viewSamples - 1) * m_trace.interval;
        v.viewStart = v.firstSample * m_trace.interval;
        v.viewEnd = v.viewStart + v.viewSeconds;
    } else {
        qint64 d = m_drag.pressAltSpan;
        if (pos.y() > m_drag.press.y()) {
            for (qint32 k = (pos.y() - m_drag.press.y()) / 10; k > 0 && d < v.axisAltSpan; --k)
                d = d * 5 / 4;
        } else {
            for (qint32 k = (m_drag.press.y() - pos.y()) / 10; k > 0 && d >= kRubberMinAltSpan; --k)
                d = d * 4 / 5;
            d = std::max<qint64>(d, kRubberMinAltSpan);
        }
        d = std::min<qint64>(d, v.axisAltSpan);
        v.viewAltSpan = qint32(d);
        v.viewAltMin = std::max(qint32(std::trunc(float(m_drag.anchorAltitude) - float(d) * m_drag.yFraction)),
                                v.axisAltMin);
        v.viewAltMax = v.viewAltMin + v.viewAltSpan;
        if (v.viewAltMax > v.axisAltMax) {
            v.viewAltMax = v.axisAltMax;
            v.viewAltMin = v.viewAltMax - v.viewAltSpan;
        }
    }
    v.updateTicks();
    clampCursor(true, true);
    return true;
}

bool BarographSession::canCutRight() const
{
    return rightCutKeep(m_trace, cursorTime).has_value();
}

bool BarographSession::cutRight()
{
    const std::optional<qint32> keep = rightCutKeep(m_trace, cursorTime);
    if (!keep)
        return false;
    m_trace.cutAfter(*keep);
    recompute();
    markTime.reset();
    cursorOn = true;
    cursorTime = float(m_stats.flightSeconds);
    pushState(baromsg::StepCutRight.toString());
    return true;
}

bool BarographSession::canCutLeft() const
{
    return leftCutRemove(m_trace, cursorTime).has_value();
}

bool BarographSession::cutLeft()
{
    const std::optional<qint32> removed = leftCutRemove(m_trace, cursorTime);
    if (!removed)
        return false;
    m_takeoffSeconds += *removed * m_trace.interval;
    m_trace.cutBefore(*removed);
    recompute();
    markTime.reset();
    cursorOn = true;
    cursorTime = 0;
    pushState(baromsg::StepCutLeft.toString());
    return true;
}

float BarographSession::correctionOffset(CorrectionMode mode, double takeoffAltitudeM, double offsetM) const
{
    switch (mode) {
    case CorrectionMode::Zero:
        return -m_stats.lowAltitude;
    case CorrectionMode::Takeoff:
        return float(takeoffAltitudeM - double(m_trace.altitudes.front()));
    case CorrectionMode::Offset:
        return float(offsetM);
    case CorrectionMode::None:
        break;
    }
    return 0;
}

std::optional<double> readTypedMetres(QStringView typed)
{
    QByteArray ascii;
    ascii.reserve(typed.size());
    for (const QChar c : typed) {
        const char16_t u = c.unicode();
        if (u >= u'０' && u <= u'９')
            ascii += char('0' + (u - u'０'));
        else if (u == u'＋')
            ascii += '+';
        else if (u == u'－' || u == u'\u2212')
            ascii += '-';
        else if (u == u'．')
            ascii += '.';
        else if (u == u'　')
            ascii += ' ';
        else
            ascii += u < 0x80 ? char(u) : '?'; // anything else ends the number
    }
    // The reading below gives 0 for a text without digits: tell that apart first.
    qsizetype i = 0;
    while (i < ascii.size() && std::isspace(static_cast<unsigned char>(ascii[i])))
        ++i;
    const bool negative = i < ascii.size() && ascii[i] == '-';
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-'))
        ++i;
    if (i < ascii.size() && ascii[i] == '.')
        ++i;
    if (i >= ascii.size() || !std::isdigit(static_cast<unsigned char>(ascii[i])))
        return std::nullopt;
    const double beyond = std::numeric_limits<double>::infinity();
    return numtext::toReal(ascii).value_or(negative ? -beyond : beyond);
}

bool BarographSession::correctAltitudes(float offsetM)
{
    // A sample beyond what a barograph file may hold would be saved as a file that can
    // never be opened again.
    const float low = m_stats.lowAltitude + offsetM;
    const float peak = m_stats.peakAltitude + offsetM;
    if (!std::isfinite(offsetM) || !(low >= -barofile::kMaxAbsAltitudeM) || !(peak <= barofile::kMaxAbsAltitudeM))
        return false;
    for (float &a : m_trace.altitudes)
        a += offsetM;
    recompute();
    m_correctionM = m_correctionM.value_or(0.0f) + offsetM;
    pushState(baromsg::StepCorrection.toString());
    return true;
}

BarographSession::SaveResult BarographSession::save(const QString &chosenPath, const QString &workFolder,
                                                    FlightRecord *record, const CompanionFiles &companions)
{
    SaveResult result;
    const bool sameFile = !m_path.isEmpty() && isSameFile(chosenPath, m_path);
    const std::optional<QByteArray> newName = sameFile || !record ? std::nullopt : recordFileName(chosenPath);
    if (record && !sameFile && !newName) {
        result.status = SaveStatus::NameRefused;
        return result;
    }
    // The record as the save leaves it, put in place only once every file is written.
    FlightRecord saved = record ? *record : FlightRecord();
    if (newName) {
        result.renamed = saved.barographFile.toByteArray() != *newName;
        saved.barographFile = *newName;
    }
    // The row takes its figures from the file as it will read back (its altitudes are kept
    // to a tenth of a metre): the row, the file and every later window agree.
    const QByteArray image = buildBarographImage(m_trace.toFile());
    setFiguresFromBarograph(saved, image, m_takeoffSeconds, workFolder);

    std::vector<FileImage> files;
    if (std::optional<FileImage> file = barographImage(chosenPath, m_trace.toFile(), workFolder))
        files.push_back(std::move(*file));
    if (companions) {
        for (FileImage &f : companions(saved))
            files.push_back(std::move(f));
    }
    WriteOptions options;
    options.backup = BackupRule{backupFolder(workFolder), 10, {}};
    if (std::optional<WriteFailure> failure = files.empty() ? std::nullopt : writeFiles(files, options)) {
        result.status = SaveStatus::WriteFailed;
        result.failure = std::move(failure);
        result.renamed = false;
        return result;
    }
    if (record)
        *record = saved;
    adoptSavedImage(image);
    m_savedAt = m_done;
    m_baroModified = false;
    return result;
}

void BarographSession::adoptSavedImage(QByteArrayView image)
{
    std::optional<BarographFile> file = parseBarographFile(image);
    if (!file || file->altitudes == m_trace.altitudes)
        return;
    // The trace becomes what the file holds, in place: the view and the history keep their
    // places, and undo and redo to this state give the saved samples.
    m_trace.altitudes = std::move(file->altitudes);
    m_trace.deriveVarios();
    m_stats = computeFlightStats(m_trace);
    m_analysis = analyseFlight(m_trace);
    m_states[size_t(m_done)].trace = std::make_shared<const BarographTrace>(m_trace);
}

PrintPlacement printPlacement(qint32 surfaceWidth, qint32 surfaceHeight, qint32 pageWidth, qint32 pageHeight)
{
    PrintPlacement p;
    const float w = float(std::max(surfaceWidth, 1));
    const float h = float(std::max(surfaceHeight, 1));
    const float pw = float(pageWidth);
    const float ph = float(pageHeight);
    p.scale = std::min(pw / w * 0.9f, ph / h * 0.9f);
    p.left = qint32((pw - w * p.scale) * 0.5f);
    p.top = qint32((ph - h * p.scale) * 0.5f);
    p.right = qint32((pw + w * p.scale) * 0.5f);
    p.bottom = qint32((ph + h * p.scale) * 0.5f);
    return p;
}
