// Rows of the log book.
#include "logbook.h"

#include <utility>

LogBook::LogBook()
{
    reset();
}

void LogBook::clear()
{
    m_records.clear();
    m_capacity = 4;
    companion = {};
    barographsToRetire.clear();
}

void LogBook::reset()
{
    clear();
    appendRow(FlightRecord::titleRecord());
    history.reset(*this);
}

void LogBook::growFor(int index)
{
    while (index >= m_capacity)
        m_capacity += 4;
}

FlightRecord &LogBook::appendRow()
{
    return appendRow(FlightRecord{});
}

FlightRecord &LogBook::appendRow(FlightRecord record)
{
    growFor(rowCount());
    record.editorOpen = false;
    record.graphOpen = false;
    record.graphWindow = nullptr;
    record.editorWindow = nullptr;
    record.rowId = ++m_lastRowId;
    m_records.push_back(std::move(record));
    return m_records.back();
}

void LogBook::removeRow(int index)
{
    m_records.erase(m_records.begin() + index);
}

void LogBook::swapRows(int a, int b)
{
    std::swap(m_records.at(size_t(a)), m_records.at(size_t(b)));
}

void LogBook::adoptRows(std::vector<FlightRecord> rows)
{
    m_records = std::move(rows);
    for (FlightRecord &r : m_records)
        r.rowId = ++m_lastRowId;
    m_capacity = 4;
    growFor(rowCount() - 1);
}

void LogBook::restoreRows(std::vector<FlightRecord> rows)
{
    m_records = std::move(rows);
    growFor(rowCount() - 1);
}

int LogBook::rowOfId(quint64 id) const
{
    for (int r = 0; r < rowCount(); ++r) {
        if (m_records[size_t(r)].rowId == id)
            return r;
    }
    return -1;
}

void LogBook::replaceRows(std::vector<FlightRecord> rows)
{
    Q_ASSERT(rows.size() == m_records.size());
    m_records = std::move(rows);
}

void LogBook::renumber()
{
    for (int r = 1; r < rowCount(); ++r)
        m_records[size_t(r)].number = QByteArray::number(r);
}
