#pragma once

// The entries of the file list and the look-in list, how files are told
// apart by their names, and how the columns read and sort.

#include <cstdint>
#include <string>

namespace orvane::selector {

// Kinds of file list items.
namespace itemkind {
constexpr int kHtml = 0, kText = 1, kHtmlLink = 2, kTextLink = 3, kFolder = 4, kOther = 5;
}

// Kinds of look-in entries (besides the mount kinds of selector_files.h).
namespace lookinkind {
constexpr int kPathFolder = 2, kCurrentFolder = 3, kDesktop = 4, kDocuments = 5;
}

// Status marks: state images of the file list.
namespace mark {
constexpr int kNotChecked = 1, kChecked = 2, kPartlyRepaired = 3, kProblemsRemain = 4, kNotCheckable = 5,
              kFolder = 6;
}

struct CListingItem {
    int index = -1;
    int kind = -1;
    std::int64_t size = -1;
    std::int64_t time = 0;
    int indent = 0;
    std::string name;  // file list: the entry's own name; look-in: its text
    std::string type;  // file list: the name of its type, as the type column shows it
    std::string path;  // look-in: the folder the entry opens
};

// HTML, text or other by the extension, without regard to case.
int ClassifyFileName(const std::string& name, bool link);

// "3KB": kilobytes rounded to the nearest, at least 1.
std::string SizeText(std::int64_t bytes);

// "2007-03-25 14:05" in local time: the one form of a date that readers of
// every language read alike, where "03/07/25" reads as three different days.
std::string DateText(std::int64_t time);

// Sort order of two file list items by a column: below 0 when a comes first.
// nameAscending is the name column's flag, ascending the clicked column's.
int CompareItems(const CListingItem& a, const CListingItem& b, int column, bool ascending, bool nameAscending);

} // namespace orvane::selector
