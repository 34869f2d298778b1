// The table written back from its record, as the previews show it.

#include "table_record.h"

#include "library/html/attribute.h"
#include "library/html/element.h"
#include "library/html/text_util.h"

#include <new>

namespace orvane {
namespace {

// The start tag under the given name with the element's visible attributes;
// the element's own name (its first attribute) is replaced.
void AppendStartTag(std::string& out, std::string_view name, const CElement& element, int leaveOut,
                    std::string_view extra, unsigned flags = 0)
{
    out.push_back('<');
    out.append(name);
    for (const CAttribute* a = element.AttributesAfterName(); a; a = a->Next()) {
        if (a->IsHidden() || a->Id() == attr::kSlash || (leaveOut != attr::kUnnamed && a->Id() == leaveOut))
            continue;
        if ((flags & CTableRecord::kMarkupFitWidth) && (a->Id() == attr::kWidth || a->Id() == attr::kHeight))
            continue;
        out.push_back(' ');
        a->AppendAttributeText(out);
    }
    out.append(extra);
    out.push_back('>');
}

} // namespace

int CTableRecord::WriteMarkup(std::ostream& out, unsigned flags, const CTableCell* marked) const
{
    if (!m_table)
        return 0;
    try {
        std::string text;
        AppendMarkup(text, flags, marked);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return out.good() ? 1 : 0;
}

void CTableRecord::AppendMarkup(std::string& text, unsigned flags, const CTableCell* marked) const
{
    if (flags & kMarkupShowGrid)
        AppendStartTag(text, "table", *m_table, attr::kBorder, " border=\"1\"", flags);
    else if (flags & kMarkupFitWidth)
        AppendStartTag(text, "table", *m_table, attr::kUnnamed, {}, flags);
    else
        m_table->AppendMarkupText(text);
    text.push_back('\n');

    std::string caption = CaptionText();
    if (!Trim(caption).empty()) {
        text.append("<caption>");
        text.append(caption);
        text.append("</caption>\n");
    }

    for (const auto& row : m_rows) {
        if (row->IsExcluded())
            continue;
        AppendStartTag(text, "tr", row->StartElement(), attr::kUnnamed, {});
        for (const auto& cell : row->Cells()) {
            if (cell->IsIgnored())
                continue;
            std::string_view name = cell->Type() == cell_type::kTh ? "th" : "td";
            if (cell == marked) {
                AppendStartTag(text, name, cell->StartElement(), attr::kBgcolor, " bgcolor=\"#ffe680\"", flags);
                text.append("<b>&#9654;</b> ");
            } else {
                AppendStartTag(text, name, cell->StartElement(), attr::kUnnamed, {}, flags);
            }
            for (const CElement* e : cell->Content()) {
                if (!e->IsDeleted())
                    e->AppendMarkupText(text);
            }
            text.append("</");
            text.append(name);
            text.push_back('>');
        }
        text.append("</tr>\n");
    }
    text.append("</table>");
}

} // namespace orvane
