#pragma once

#include <string>
#include <string_view>

namespace orvane::platform {

// What identifying the language of a text came to.
enum class LanguageGuessOutcome {
    Identified,     // one language clearly ahead of every other
    TooLittleText,  // too few letters to tell languages apart
    Unsure,         // several languages fit about as well
    Unavailable,    // the identifier or its language models are not installed
};

struct LanguageGuess {
    LanguageGuessOutcome outcome = LanguageGuessOutcome::Unavailable;
    // The language's code ("en", "de", "ja"), only when identified.
    std::string code;
};

// Identifies the language a text is written in from its letters (n-gram
// models of some 160 languages). The text is UTF-8; only a guess with one
// language clearly ahead is given as identified, so a caller that writes the
// code into a page never writes a coin toss. Safe to call from any thread.
LanguageGuess GuessLanguage(std::string_view utf8Text);

} // namespace orvane::platform
