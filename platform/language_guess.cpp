#include "platform/language_guess.h"

#include <textcat.h>

#include <cctype>
#include <memory>
#include <mutex>

namespace orvane::platform {

namespace {

// Fewer letters than this, and n-gram statistics name a language for a
// heading or two ("Home Contact") as readily as for a paragraph.
constexpr std::size_t kLeastText = 200;
// A few thousand bytes tell a language as well as a book does, at a fraction of the time.
constexpr std::size_t kMostText = 16 * 1024;

// The classifier is loaded once, with its models; its answers share buffers,
// hence the lock.
class CClassifier {
public:
    static CClassifier& Instance()
    {
        static auto* classifier = new CClassifier();
        return *classifier;
    }

    LanguageGuess Guess(std::string_view text)
    {
        std::lock_guard lock(m_mutex);
        LanguageGuess guess;
        if (!m_handle)
            return guess;
        candidate_t* candidates = textcat_GetClassifyFullOutput(m_handle);
        if (!candidates)
            return guess;
        const int found = textcat_ClassifyFull(m_handle, text.data(), text.size(), candidates);
        // The classifier names every language within a few per cent of the
        // best. The models of languages with no two-letter code are small and
        // sit close to a large neighbour (Scots to English, Low German to
        // German) even over paragraphs; such a neighbour does not make the
        // large language doubtful. Two large ones, or two small ones, do.
        std::string major;
        std::string minor;
        int majors = 0;
        int minors = 0;
        for (int i = 0; i < found; ++i) {
            // Names are "en--utf8", "zh-CN-utf8": the language is what comes before the first dash.
            const std::string_view name = candidates[i].name ? candidates[i].name : "";
            const std::string code(name.substr(0, name.find('-')));
            if (code.size() == 2) {
                major = code;
                ++majors;
            } else {
                minor = code;
                ++minors;
            }
        }
        if (majors == 1 || (majors == 0 && minors == 1)) {
            guess.code = majors == 1 ? major : minor;
            guess.outcome = LanguageGuessOutcome::Identified;
        } else {
            guess.outcome = found == TEXTCAT_RESULT_SHORT ? LanguageGuessOutcome::TooLittleText
                                                          : LanguageGuessOutcome::Unsure;
        }
        textcat_ReleaseClassifyFullOutput(m_handle, candidates);
        return guess;
    }

private:
    CClassifier()
    {
        const std::string folder = std::string(ORVANE_TEXTCAT_DATA) + "/";
        m_handle = special_textcat_Init((folder + "fpdb.conf").c_str(), folder.c_str());
        if (m_handle)
            textcat_SetProperty(m_handle, TCPROP_MINIMUM_DOCUMENT_SIZE, static_cast<sint4>(kLeastText));
    }

    std::mutex m_mutex;
    void* m_handle = nullptr;
};

// Letters count; runs of blanks and digits say nothing of a language.
std::size_t Letters(std::string_view text)
{
    std::size_t letters = 0;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalpha(byte) || (byte >= 0x80 && (byte & 0xC0) != 0x80))
            ++letters;
    }
    return letters;
}

} // namespace

LanguageGuess GuessLanguage(std::string_view utf8Text)
{
    if (utf8Text.size() > kMostText) {
        std::size_t cut = kMostText;
        while (cut > 0 && (static_cast<unsigned char>(utf8Text[cut]) & 0xC0) == 0x80)
            --cut;  // not in the middle of a character
        utf8Text = utf8Text.substr(0, cut);
    }
    if (Letters(utf8Text) < kLeastText)
        return {LanguageGuessOutcome::TooLittleText, {}};
    return CClassifier::Instance().Guess(utf8Text);
}

} // namespace orvane::platform
