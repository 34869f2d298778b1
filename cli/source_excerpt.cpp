#include "check_report.h"

#include "library/html/page_text.h"

#include <algorithm>

namespace orvane::cli {
namespace {

// Enough of the line to recognise the markup, little enough that a page of
// thousands of problems on one minified line gives a report of sensible size.
constexpr std::size_t kContextBefore = 40;
constexpr std::size_t kWindow = 160;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

} // namespace

SourceExcerpt ExcerptAround(std::string_view page, std::size_t offset, std::size_t length)
{
    SourceExcerpt excerpt;
    if (offset >= page.size())
        return excerpt;
    std::size_t lineStart = offset == 0 ? std::string_view::npos : page.rfind('\n', offset - 1);
    lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
    std::size_t lineEnd = page.find('\n', offset);
    if (lineEnd == std::string_view::npos)
        lineEnd = page.size();
    if (lineEnd > lineStart && page[lineEnd - 1] == '\r')
        --lineEnd;
    offset = std::min(offset, lineEnd);

    // Indentation says nothing about the problem.
    while (lineStart < offset && (page[lineStart] == ' ' || page[lineStart] == '\t'))
        ++lineStart;

    // Cuts fall between characters, so a UTF-8 page is not shown as mojibake.
    std::size_t start = offset - std::min(offset - lineStart, kContextBefore);
    while (start > lineStart && IsContinuationByte(page[start]))
        --start;
    std::size_t end = std::min(lineEnd, std::max(start + kWindow, offset + 1));
    while (end < lineEnd && IsContinuationByte(page[end]))
        ++end;

    excerpt.text.assign(page.substr(start, end - start));
    excerpt.markStart = offset - start;
    excerpt.markLength = std::min(length, end - offset);
    excerpt.cutBefore = start > lineStart;
    excerpt.cutAfter = end < lineEnd;
    return excerpt;
}

SourceExcerpt DecodedExcerpt(SourceExcerpt excerpt, const PageEncoding& encoding)
{
    const std::string_view text = excerpt.text;
    const std::size_t markStart = std::min(excerpt.markStart, text.size());
    const std::size_t markEnd = std::min(text.size(), markStart + excerpt.markLength);
    std::string before = PageBytesToUtf8(text.substr(0, markStart), encoding);
    std::string mark = PageBytesToUtf8(text.substr(markStart, markEnd - markStart), encoding);
    std::string after = PageBytesToUtf8(text.substr(markEnd), encoding);
    excerpt.markStart = before.size();
    excerpt.markLength = mark.size();
    excerpt.text = std::move(before) + mark + after;
    return excerpt;
}

} // namespace orvane::cli
