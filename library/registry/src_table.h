#pragma once

#include <memory>
#include <string>

namespace orvane {

// The user's judgement of one table of a document: layout or data table, and
// which header repairs apply to it. The id is the digest of the table's text;
// a table without one is kept for the session but never written. So is a
// table met in a page that nobody has judged yet: written, it would say "data
// table" of a table nobody called one, and the user would never be asked.
class CSrcTable {
public:
    CSrcTable() = default;
    explicit CSrcTable(std::string id) : m_id(std::move(id)) {}
    // A record for a table whose type nobody has given yet; SetLayout judges it.
    static std::unique_ptr<CSrcTable> Unjudged(std::string id);

    const std::string& Id() const { return m_id; }
    void SetId(std::string id);

    bool IsJudged() const { return m_judged; }
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
    bool m_judged = true;
    bool m_layout = false;
    bool m_rowHeaders = false;
    bool m_columnHeaders = false;
    bool m_rowHeaderAbbreviations = false;
    bool m_columnHeaderAbbreviations = false;
    bool m_linearize = false;
};

} // namespace orvane
