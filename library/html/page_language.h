#pragma once

#include "platform/language_guess.h"

#include <string>
#include <string_view>

namespace orvane {

class CHtmlDocument;

// The language of a page as the page itself says or its text shows.
struct PageLanguage {
    enum class Source {
        XmlLang,          // xml:lang on the html element
        ContentLanguage,  // <meta http-equiv="Content-Language">
        Text,             // identified from the page's text
        None,             // none of them: see why
    };
    Source source = Source::None;
    // A code the language code list knows, lower-cased ("en", "de"); empty with None.
    std::string code;
    // With None: what identifying the text came to.
    platform::LanguageGuessOutcome why = platform::LanguageGuessOutcome::TooLittleText;
};

// The language code a value names with a region or script after it ("en-US",
// "zh_Hant", "EN"): its first part, lower-cased; empty when the code list does
// not know it.
std::string KnownLanguageCode(std::string_view value);

// What the page declares beside the html element's lang (xml:lang there, else
// the first language of a Content-Language meta element), else the language
// its text is identified as with confidence.
PageLanguage FindPageLanguage(const CHtmlDocument& document);

// The language a reader reads the page in, as far as it can be told: the html
// element's lang, else what FindPageLanguage finds; empty when unknown.
std::string ReadersLanguage(const CHtmlDocument& document);

// The text a reader of the page reads, in UTF-8: text outside scripts and
// styles, with character references decoded; a page whose bytes are not UTF-8
// is read as Windows-1252 unless it declares some other encoding (then
// nothing is given: bytes of an unknown encoding would be guessed at as noise).
std::string ReadableText(const CHtmlDocument& document);

} // namespace orvane
