#include "library/ui/judgement_keys.h"

#include "library/html/element.h"
#include "library/html/html_document.h"
#include "library/html/tag_table.h"
#include "library/html/text_util.h"
#include "library/registry/md5.h"
#include "library/registry/object_digest.h"
#include "library/registry/src_judgement.h"
#include "library/ui/pages/judgements/page_flicker.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvane {
namespace {

constexpr std::size_t kJudgedTextLimit = kDigestTextLimit;

// How the judged text takes each byte. Most are copied as they are; text in
// the page's encoding beyond ASCII, and references, are read as the user
// reads them before the fast key takes them.
enum ByteClass : unsigned char { kCopied, kBlank, kReturn, kToDecode };
using ByteClasses = std::array<ByteClass, 256>;

constexpr ByteClasses MakeByteClasses(bool decoded)
{
    ByteClasses classes{};
    if (decoded) {
        for (int c = 0x80; c < 0x100; ++c)
            classes[static_cast<std::size_t>(c)] = kToDecode;
        classes['&'] = kToDecode;
        classes['\0'] = kToDecode;  // the ASCII of a UTF-16 page
    }
    for (unsigned char c : {' ', '\t', '\n', '\f'})
        classes[c] = kBlank;
    classes['\r'] = kReturn;
    return classes;
}
constexpr ByteClasses kReadClasses = MakeByteClasses(true);
constexpr ByteClasses kByteClasses = MakeByteClasses(false);

// Whether the bytes fold to themselves under the classes that decode: no
// byte to decode, no white space but single blanks between other bytes.
// Most tags and texts do; they are found sixteen bytes at a time.
bool FoldsToItself(std::string_view bytes)
{
    if (bytes.empty() || bytes.front() == ' ' || bytes.back() == ' ')
        return bytes.empty();
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i controls = _mm_set1_epi8(0x20);
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i ampersand = _mm_set1_epi8('&');
    // Each block is read with the byte after it, for two blanks in a row.
    for (; at + 17 <= bytes.size(); at += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at + 1));
        // Signed: bytes from 0x80 on are below 0x20 too.
        const __m128i special = _mm_or_si128(_mm_cmplt_epi8(here, controls), _mm_cmpeq_epi8(here, ampersand));
        const __m128i twoBlanks = _mm_and_si128(_mm_cmpeq_epi8(here, blank), _mm_cmpeq_epi8(next, blank));
        if (_mm_movemask_epi8(_mm_or_si128(special, twoBlanks)) != 0)
            return false;
    }
#endif
    for (; at < bytes.size(); ++at) {
        const char c = bytes[at];
        if (kReadClasses[static_cast<unsigned char>(c)] != kCopied && c != ' ')
            return false;
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
        if (c == ' ' && at + 1 < bytes.size() && bytes[at + 1] == ' ')
            return false;
    }
    return true;
}

// The judged text as the digest takes it: markup written back after a repair
// is laid out anew, so only what it says counts; and no more is gathered
// than the digest reads, however large the element. It is gathered in place,
// piece by piece as the page holds it: as the page's bytes for the keys of
// earlier releases, as the user reads them for the fast key. A piece is
// folded from its bytes at once; only one found to need decoding is folded
// again from what it reads as.
class CJudgedText {
public:
    CJudgedText(const CHtmlDocument& document, JudgementKeyForm form)
        : m_document(document), m_classes(form == JudgementKeyForm::Md5 ? kByteClasses : kReadClasses)
    {
    }

    // A piece whose runs of white space become one blank, with none at its
    // end and none at the start of the text.
    void AppendFolded(std::string_view piece, TextPlace place)
    {
        m_blank = false;
        const Mark mark = Marked();
        if (Fold(piece, nullptr, m_classes) == Stop::ToDecode) {
            Restore(mark);
            Fold(Decoded(piece, place), nullptr, kByteClasses);
        }
    }

    // The texts inside the element as one piece, or folded on as part of the
    // piece before: each text trimmed at its end (the first at its start
    // too), line breaks as a page read in text mode has them, and cut with
    // "..." past limit bytes when there is a limit.
    enum class Piece { New, Joined };
    void AppendTextInside(const CElement& element, std::optional<std::size_t> limit, Piece piece)
    {
        if (piece == Piece::New)
            m_blank = false;
        Length length{0, limit.value_or(std::string_view::npos)};
        for (const CElement* e : m_document.ElementsInside(element)) {
            if (Full())
                return;
            if (e->Kind() != kind::kText || e->IsDeleted())
                continue;
            const Mark mark = Marked();
            const std::size_t before = length.taken;
            Stop stop = Fold(Trimmed(e->Text(), before), &length, m_classes);
            if (stop == Stop::ToDecode) {
                Restore(mark);
                length.taken = before;
                stop = Fold(Trimmed(Decoded(e->Text(), TextPlace::ElementText), before), &length, kByteClasses);
            }
            if (stop == Stop::Cut) {
                Fold("...", nullptr, kByteClasses);
                return;
            }
            if (stop == Stop::Full)
                return;
        }
    }

    void EndLine()
    {
        if (!Full())
            m_text[m_size++] = '\n';
    }
    bool Full() const { return m_size >= kJudgedTextLimit; }

    platform::Hash128 Digest(JudgementKeyForm form) const
    {
        const std::string_view text(m_text.data(), std::min(m_size, kJudgedTextLimit));
        if (form != JudgementKeyForm::Md5)
            return platform::HashBytes128(text);
        MD5 md5;
        md5.Update(text);
        md5.Finalize();
        return Md5AsHash128(*md5.RawDigest());
    }

private:
    // Where a piece began, to fold it again from its decoded text.
    struct Mark {
        std::size_t size;
        bool blank;
    };
    Mark Marked() const { return {m_size, m_blank}; }
    void Restore(const Mark& mark)
    {
        m_size = mark.size;
        m_blank = mark.blank;
    }

    // How much of the inner text is taken, and how much may be, counted as
    // the page's inner text counts it (before white space is folded).
    struct Length {
        std::size_t taken;
        std::size_t limit;
    };

    // An inner text trimmed at its end, and at its start while nothing was taken.
    static std::string_view Trimmed(std::string_view text, std::size_t taken)
    {
        text = TrimRight(text);
        return taken == 0 ? TrimLeft(text) : text;
    }

    std::string_view Decoded(std::string_view bytes, TextPlace place)
    {
        m_read = m_document.UserText(bytes, place);
        return m_read;
    }

    enum class Stop { End, Full, Cut, ToDecode };
    // Folds the bytes on, as the classes take them; with a length, a return
    // before a line feed is part of the line break and the bytes past the
    // limit are cut. Runs of bytes taken as they are, most of a text, are
    // copied at once.
    Stop Fold(std::string_view bytes, Length* length, const ByteClasses& classes)
    {
        const char* at = bytes.data();
        const char* const end = at + bytes.size();
        std::size_t size = m_size;
        bool blank = m_blank;
        Stop stop = Stop::End;
        // A piece that folds to itself goes in whole, after the blank before it.
        if (&classes == &kReadClasses && size + bytes.size() + 2 <= kJudgedTextLimit &&
            (!length || length->taken + bytes.size() <= length->limit) && FoldsToItself(bytes)) {
            if (!bytes.empty()) {
                if (blank && size > 0)
                    m_text[size++] = ' ';
                m_blank = false;
                std::memcpy(m_text.data() + size, bytes.data(), bytes.size());
                m_size = size + bytes.size();
            }
            if (length)
                length->taken += bytes.size();
            return Stop::End;
        }
        // Most pieces can neither fill the text nor reach the limit (a
        // piece gives a byte at most for each of its own, and a blank before
        // them): they go byte by byte without a look at either.
        if (size + bytes.size() + 2 <= kJudgedTextLimit &&
            (!length || length->taken + bytes.size() <= length->limit)) {
            std::size_t skipped = 0;
            for (; at != end; ++at) {
                const char c = *at;
                const ByteClass type = classes[static_cast<unsigned char>(c)];
                if (type == kCopied) {
                    if (blank) {
                        if (size > 0)
                            m_text[size++] = ' ';
                        blank = false;
                    }
                    m_text[size++] = c;
                    continue;
                }
                if (type == kToDecode)
                    return Stop::ToDecode;
                if (type == kReturn && length && at + 1 != end && at[1] == '\n') {
                    ++skipped;
                    continue;
                }
                blank = true;
            }
            if (length)
                length->taken += bytes.size() - skipped;
            m_size = size;
            m_blank = blank;
            return Stop::End;
        }
        while (at != end) {
            const char* const run = at;
            while (at != end && classes[static_cast<unsigned char>(*at)] == kCopied)
                ++at;
            if (at != run) {
                std::size_t count = static_cast<std::size_t>(at - run);
                if (length) {
                    if (count > length->limit - length->taken) {
                        count = length->limit - length->taken;
                        stop = Stop::Cut;
                    }
                    length->taken += count;
                }
                if (count > 0) {
                    if (size >= kJudgedTextLimit) {
                        stop = Stop::Full;
                        break;
                    }
                    // The first byte goes in after the blank before it
                    // whatever room is left; the others while there is room.
                    if (blank && size > 0)
                        m_text[size++] = ' ';
                    blank = false;
                    m_text[size++] = *run;
                    const std::size_t rest = std::min(count - 1, kJudgedTextLimit - std::min(size, kJudgedTextLimit));
                    std::memcpy(m_text.data() + size, run + 1, rest);
                    size += rest;
                    if (rest < count - 1) {
                        stop = Stop::Full;
                        break;
                    }
                }
                if (stop == Stop::Cut || at == end)
                    break;
            }
            const ByteClass type = classes[static_cast<unsigned char>(*at)];
            if (type == kToDecode) {
                stop = Stop::ToDecode;
                break;
            }
            ++at;
            if (type == kReturn && length && at != end && *at == '\n')
                continue;
            if (length && length->taken++ == length->limit) {
                stop = Stop::Cut;
                break;
            }
            blank = true;
        }
        m_size = size;
        m_blank = blank;
        return stop;
    }

    const CHtmlDocument& m_document;
    const ByteClasses& m_classes;
    // A blank and a character may follow the last place short of full.
    std::array<char, kJudgedTextLimit + 2> m_text;
    std::size_t m_size = 0;
    bool m_blank = false;
    std::string m_read;
};

platform::Hash128 DigestOfElement(const CHtmlDocument& document, const CElement& element, JudgementKeyForm form)
{
    CJudgedText judged(document, form);
    // The page's own tags carry settings repairs add to (a language, a
    // title): what the page says is what was judged.
    if (element.Kind() != tag::kHtml && element.Kind() != tag::kBody) {
        if (element.NeedsRebuild())
            judged.AppendFolded(element.MarkupText(), TextPlace::AttributeValue);
        else
            judged.AppendFolded(element.Text(), TextPlace::AttributeValue);
    }
    judged.EndLine();
    judged.AppendTextInside(element, kJudgedTextLimit, CJudgedText::Piece::New);
    return judged.Digest(form);
}

// What may flicker is judged for the page at once, item by item as the
// flicker page lists them.
platform::Hash128 DigestOfWhatMayFlicker(const CHtmlDocument& document, JudgementKeyForm form)
{
    using Flickering = CPageFlicker::Flickering;
    CJudgedText judged(document, form);
    for (const CElement* element : document.Elements()) {
        const Flickering what = CPageFlicker::FlickeringOf(*element);
        if (what == Flickering::Nothing)
            continue;
        if (what == Flickering::AnimatedImage) {
            judged.AppendFolded(CPageFlicker::ImageSourceOf(*element), TextPlace::AttributeValue);
        } else {
            judged.AppendFolded(element->MarkupText(), TextPlace::AttributeValue);
            if (what == Flickering::MovingText)
                judged.AppendTextInside(*element, std::nullopt, CJudgedText::Piece::Joined);
        }
        judged.EndLine();
        if (judged.Full())
            break;
    }
    return judged.Digest(form);
}

} // namespace

bool JudgedForThePageAtOnce(std::string_view check) { return check == "CheckFlicker"; }

CJudgementKeys::CJudgementKeys(const CHtmlDocument& document) : m_document(document) {}

std::string CJudgementKeys::Of(const CElement& element, std::uint32_t bit)
{
    if (!element.IsGrouped(bit))
        return kWholePageKey;
    return FastJudgementKey(DigestOf(element.GetCheckName(bit), element, JudgementKeyForm::Fast));
}

platform::Hash128 CJudgementKeys::DigestOf(std::string_view check, const CElement& element, JudgementKeyForm form)
{
    return JudgedForThePageAtOnce(check) ? FlickerDigest(form) : ElementDigestOf(element, form);
}

platform::Hash128 CJudgementKeys::FlickerDigest(JudgementKeyForm form)
{
    std::optional<platform::Hash128>& digest = m_flicker.In(form);
    if (!digest)
        digest = DigestOfWhatMayFlicker(m_document, form);
    return *digest;
}

platform::Hash128 CJudgementKeys::ElementDigestOf(const CElement& element, JudgementKeyForm form)
{
    if (m_lastElement != &element) {
        m_lastElement = &element;
        m_lastElementDigests = {};
    }
    std::optional<platform::Hash128>& digest = m_lastElementDigests.In(form);
    if (!digest)
        digest = DigestOfElement(m_document, element, form);
    return *digest;
}

std::string JudgementKeyOf(const CHtmlDocument& document, const CElement& element, std::uint32_t bit)
{
    return CJudgementKeys(document).Of(element, bit);
}

std::string Md5JudgementKeyOf(const CHtmlDocument& document, const CElement& element, std::uint32_t bit)
{
    if (!element.IsGrouped(bit))
        return kWholePageKey;
    return Md5JudgementKey(CJudgementKeys(document).DigestOf(element.GetCheckName(bit), element, JudgementKeyForm::Md5));
}

std::string RuleJudgementKeyOf(const CHtmlDocument& document, const CElement* element)
{
    if (!element)
        return kWholePageKey;
    return FastJudgementKey(CJudgementKeys(document).ElementDigestOf(*element, JudgementKeyForm::Fast));
}

} // namespace orvane
