#include "library/a11y/language_tag.h"
#include "library/rules/checks.h"

#include <gtest/gtest.h>

namespace orvane::a11y {
namespace {

struct TagCase {
    const char* tag;
    bool wellFormed;
    bool valid;
    const char* primary;  // what the lang rules take as the tag's language; "" for none
    const char* fault;    // the subtag at fault; "" for none
};

// Tags of every part of the grammar, each against the ISO tables where they
// name a language, script or region.
const TagCase kCases[] = {
    {"en", true, true, "en", ""},
    {"EN-us", true, true, "en", ""},
    {"de-CH-1901", true, true, "de", ""},
    {"sr-Latn-RS", true, true, "sr", ""},
    {"zh-Hant-TW", true, true, "zh", ""},
    {"es-419", true, true, "es", ""},
    {"haw", true, true, "haw", ""},       // no two-letter code: the three-letter one is the tag
    {"gsw-CH", true, true, "gsw", ""},
    {"zh-yue-HK", true, true, "zh", ""},  // an extended language
    {"qab", true, true, "qab", ""},       // left to local use
    {"en-a-bbb-x-a-ccc", true, true, "en", ""},
    {"de-x-private", true, true, "de", ""},
    {"sl-rozaj-biske", true, true, "sl", ""},
    {"sgn-BE-FR", true, true, "sgn", ""},  // grandfathered
    {"eng", true, false, "", "eng"},      // English is "en"
    {"em-US", true, false, "", "em"},
    {"english", true, false, "", "english"},
    {"i-lux", true, false, "", "i-lux"},  // grandfathered, no language of ISO 639
    {"x-klingon", true, false, "", "x-klingon"},
    {"en-Qqzz", true, false, "en", "Qqzz"},  // no such script
    {"en-XY", true, false, "en", "XY"},      // no such region
    {"en-999", true, false, "en", "999"},
    {"de-1901-1901", true, false, "de", "1901"},
    {"en-a-bb-a-cc", true, false, "en", "a"},
    {"en-US-GB", false, false, "en", "GB"},  // a second region: the language still counts for the rules
    {"en-a", false, false, "en", "a"},
    {"en-x", false, false, "en", "x"},
    {"en--US", false, false, "", ""},
    {"en-", false, false, "", ""},
    {"", false, false, "", ""},
    {"#!", false, false, "", "#!"},
    {"en_US", false, false, "", "en_US"},
    {"abcdefghi", false, false, "", "abcdefghi"},
    {"1en", false, false, "", "1en"},
};

TEST(LanguageTag, ReadsEveryPartOfBcp47AgainstTheIsoTables)
{
    for (const TagCase& c : kCases) {
        SCOPED_TRACE(c.tag);
        const LanguageTagCheck check = CheckLanguageTag(c.tag);
        EXPECT_EQ(check.wellFormed, c.wellFormed);
        EXPECT_EQ(check.Valid(), c.valid);
        if (*c.fault) {
            EXPECT_EQ(check.fault, c.fault);
        }
        EXPECT_EQ(rules::KnownPrimaryLanguage(c.tag), c.primary);
    }
}

} // namespace
} // namespace orvane::a11y
