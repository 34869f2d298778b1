#pragma once

#include <string>

namespace orvane {

// What a person decided about one problem of a document that no check can
// decide: the check it answers, the element it was about (a digest of the
// element's markup and the text judged, so that a changed element is asked
// about again; "page" for warnings that hold for the whole page), the verdict
// in words, and who gave it and when (both may be empty).
struct CSrcJudgement {
    std::string check;
    std::string key;
    std::string verdict;
    std::string by;
    std::string date;  // YYYY-MM-DD
};

// The key of the judgements that hold for a page as a whole.
inline constexpr const char* kWholePageKey = "page";

} // namespace orvane
