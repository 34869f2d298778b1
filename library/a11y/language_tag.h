#pragma once

#include <string>
#include <string_view>

namespace orvane::a11y {

// A language tag (lang, xml:lang) read as BCP 47 (RFC 5646) describes it:
// language, extended language, script, region, variants, extensions and
// private use, in that order, letter case aside. Languages, scripts and
// regions are looked up in the ISO 639, 15924 and 3166 tables of Debian's
// iso-codes (language_subtags.inc); variants and extensions are judged by
// the grammar alone, as no table of ours lists them.
//
// Limits: the IANA registry's own entries beyond those tables (its variants,
// its deprecated and preferred values, the extended languages' prefixes)
// are not known: any extended language that is a three-letter language code
// is taken, and any variant of the right shape.
struct LanguageTagCheck {
    // Every subtag is one to eight letters or digits (the tag has no empty
    // or foreign part); what the lang rules ask before its language.
    bool subtagsWellFormed = false;
    // The tag follows the grammar: its subtags stand in the order and shape
    // RFC 5646 gives (grandfathered tags count).
    bool wellFormed = false;
    // The primary language subtag, lower-cased; empty when the tag has none
    // (private use "x-...", a grandfathered "i-..." tag).
    std::string primary;
    // The primary language is one the registry takes: an ISO 639-1 code, or a
    // three-letter code of a language without one, or qaa-qtz.
    bool primaryKnown = false;
    // The first subtag out of place, malformed or unknown, as written; empty
    // when the tag is valid.
    std::string fault;

    bool Valid() const { return wellFormed && primaryKnown && fault.empty(); }
};

LanguageTagCheck CheckLanguageTag(std::string_view tag);

} // namespace orvane::a11y
