#pragma once

#include <string>

namespace orvane {

// The user's judgement of one table of a document: layout or data table, and
// which header repairs apply to it. The id is the digest of the table's text;
// a table without one is kept for the session but never written.
class CSrcTable {
public:
    CSrcTable() = default;
    explicit CSrcTable(std::string id) : m_id(std::move(id)) {}

    const std::string& Id() const { return m_id; }
    void SetId(std::string id);

    // True for a layout table, false for a data table.
    bool IsLayout() const { return m_layout; }
    void SetLayout(bool layout);
    bool RowHeaders() const { return m_rowHeaders; }
    void SetRowHeaders(bool on);
    bool ColumnHeaders() const { return m_columnHeaders; }
    void SetColumnHeaders(bool on);
    bool RowHeaderAbbreviations() const { return m_rowHeaderAbbreviations; }
    void SetRowHeaderAbbreviations(bool on);
    bool ColumnHeaderAbbreviations() const { return m_columnHeaderAbbreviations; }
    void SetColumnHeaderAbbreviations(bool on);
    bool Linearize() const { return m_linearize; }
    void SetLinearize(bool on);

private:
    std::string m_id;
    bool m_layout = false;
    bool m_rowHeaders = false;
    bool m_columnHeaders = false;
    bool m_rowHeaderAbbreviations = false;
    bool m_columnHeaderAbbreviations = false;
    bool m_linearize = false;
};

} // namespace orvane
