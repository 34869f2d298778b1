#include "table_record.h"

#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/registry/md5.h"
#include "library/registry/object_digest.h"

namespace orvane {
namespace {

// Marks an id made from a table's cells. A summary's id is 32 hexadecimal
// digits alone, so the two kinds of id never meet, and the ids of registry
// files written before tables were known by their cells still match.
constexpr std::string_view kCellsIdPrefix = "cells-";

// A cell's text as the user reads it (or, for a registry written before
// texts were compared so, as its bytes stand), with its runs of white space
// read as one blank and none at either end: a page only indented anew keeps
// its tables' ids. True when the text read differs from the bytes.
bool CollapseWhiteSpace(const CTableCell& cell, const CHtmlDocument* document, std::string& text)
{
    text.clear();
    bool decoded = false;
    bool blank = false;
    std::string read;
    for (const CElement* e : cell.Content()) {
        if (e->Kind() != kind::kText || e->IsDeleted())
            continue;
        std::string_view bytes = e->Text();
        // Most cells are plain ASCII: no copy of their text for them.
        if (document && !CHtmlDocument::ReadsAsItsBytes(bytes)) {
            read = document->ComparedText(bytes, TextPlace::ElementText);
            decoded = decoded || read != bytes;
            bytes = read;
        }
        for (char c : bytes) {
            if (IsSpace(c)) {
                blank = !text.empty();
                continue;
            }
            if (blank)
                text += ' ';
            blank = false;
            text += c;
        }
    }
    return decoded;
}

// The digest of the rows and cells as the page now holds them. Every row and
// cell is fed to the digest, however large the table, as a text no two
// different tables share: a row starts with "r", a cell with "h" or "d" and
// the length of its text before the text itself.
std::string CellsDigest(const std::vector<CTableRow*>& rows, const CHtmlDocument* document, bool* decoded)
{
    MD5 md5;
    std::string text;
    for (const CTableRow* row : rows) {
        if (row->IsExcluded())
            continue;
        md5.Update("r");
        for (const CTableCell* cell : row->Cells()) {
            if (cell->IsIgnored())
                continue;
            if (CollapseWhiteSpace(*cell, document, text) && decoded)
                *decoded = true;
            md5.Update(cell->Type() == cell_type::kTh ? "h" : "d");
            md5.Update(std::to_string(text.size()) + ":");
            md5.Update(text);
        }
    }
    md5.Finalize();
    return std::string(kCellsIdPrefix) + md5.HexDigest();
}

} // namespace

std::string CTableRecord::RegistryKey(bool* bytesDiffer) const
{
    const std::string summary = SummaryValue();
    if (summary.empty())
        return CellsDigest(m_rows, m_document, bytesDiffer);
    std::string text = m_document ? m_document->ComparedText(summary) : summary;
    if (bytesDiffer && text != summary)
        *bytesDiffer = true;
    return ObjectDigest(text);
}

std::string CTableRecord::BytesRegistryKey() const
{
    const std::string summary = SummaryValue();
    return summary.empty() ? CellsDigest(m_rows, nullptr, nullptr) : ObjectDigest(summary);
}

} // namespace orvane
