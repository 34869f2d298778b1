#pragma once

#include "library/html/lang_codes.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// A language of the code list as a list of choices shows it.
struct LanguageChoice {
    const CLanguageRecord* record;
    std::string name; // in the user's language where known, else the list's own name
};

// The languages of the code list named in the user's language ("de", "en"),
// in that language's alphabetical order. For a language without a table of
// names (English among them) the list's own names and order stand.
std::vector<LanguageChoice> LanguageChoices(const CLanguageCodeList& list, std::string_view userLanguage);

} // namespace orvane
